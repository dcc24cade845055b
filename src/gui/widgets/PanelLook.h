// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QLineEdit;
class QPushButton;
class QWidget;

// The look the three windows share: Arial text on a grey window, white entries and lists,
// graphical buttons in their own colours. Every colour comes from a style sheet, because
// several widget styles (Windows, GTK, macOS) ignore palette colours on buttons and frames.
namespace PanelLook {
inline const QColor WindowGrey{0xC0, 0xC0, 0xC0};
inline const QColor ButtonGrey{0xE0, 0xE0, 0xE0};
inline const QColor EntryWhite{0xFF, 0xFF, 0xFF};
inline const QColor StartGreen{0, 255, 0};
inline const QColor StopRed{255, 0, 0};

// Ordinary text: labels, entries, lists and buttons.
constexpr double TextPoints = 10.0;

QFont arial(double points);
// "rgb(r, g, b)", the notation of the style sheets.
QString rgb(const QColor& colour);

// Grey background and Arial text for the window and every control already in it that has
// no font of its own; white entries and lists, framed group boxes. Call it once the
// controls exist; the window needs its objectName first.
void dressWindow(QWidget& window);

// Keeps a box at least wide enough for the widest of these texts in its own font, however
// small the window is made or the screen is; call it once the box has its font.
void keepRoomFor(QLineEdit& box, const QStringList& texts);

// A raised button in the given colour whose colour shows under every style; Enter presses
// it when it has the focus, as space does.
void dressButton(QPushButton& button, const QColor& colour = ButtonGrey);
} // namespace PanelLook
