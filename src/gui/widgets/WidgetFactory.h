// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/PanelLook.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>

// The controls every window makes, each with its objectName set first, so that tests,
// style sheets and screen readers find it by that name.
namespace Widgets {

// A graphical button in the panel's look (light grey unless told otherwise).
inline QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                           const QString& tip = QString(),
                           const QColor& colour = PanelLook::ButtonGrey) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    PanelLook::dressButton(*b, colour);
    return b;
}

// A label; points > 0 gives it its own Arial size.
inline QLabel* label(QWidget* parent, const QString& name, const QString& text,
                     double points = 0.0) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    if (points > 0.0)
        l->setFont(PanelLook::arial(points));
    return l;
}

// A list (or a subclass of one) holding items, nothing selected yet unless Qt selects the
// first on its own.
template <typename List = QComboBox>
List* list(QWidget* parent, const QString& name, const QStringList& items) {
    auto* l = new List(parent);
    l->setObjectName(name);
    l->addItems(items);
    return l;
}

// A text entry (or a subclass of one) holding text.
template <typename Entry = QLineEdit>
Entry* entry(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* e = new Entry(text, parent);
    e->setObjectName(name);
    return e;
}

} // namespace Widgets
