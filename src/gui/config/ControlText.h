// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The configuration window's entries are text boxes and (editable) lists; these read and
// write them alike.

// The text shown: a text box's text, a list's current (or typed) text; empty otherwise.
QString controlText(const QWidget* control);

// Puts text into a text box or an editable list.
void setControlText(QWidget* control, const QString& text);

// Selects a list's first item and shows its text, also over text typed into it.
void selectFirstItem(QWidget* control);

// The position of a list's selected item, from 0; -1 for anything else.
int controlPosition(const QWidget* control);
