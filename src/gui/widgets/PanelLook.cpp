// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PanelLook.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QWidget>

#include <algorithm>

// The arrow images live in the static library; naming their initialiser links them in.
static void initLookResources() {
    Q_INIT_RESOURCE(look);
}

namespace PanelLook {

QFont arial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    // Where Arial itself is missing, a metric-compatible face (Liberation Sans, mapped by
    // fontconfig) keeps the texts the same width.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QString rgb(const QColor& colour) {
    return QStringLiteral("rgb(%1, %2, %3)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue());
}

void dressWindow(QWidget& window) {
    initLookResources();
    // Each control gets the font itself: under a style sheet a window's font does not pass
    // down to its children. Controls with a font of their own keep it.
    const QFont text = arial(TextPoints);
    window.setFont(text);
    for (QWidget* control : window.findChildren<QWidget*>())
        if (!control->testAttribute(Qt::WA_SetFont))
            control->setFont(text);
    window.setAttribute(Qt::WA_StyledBackground, true);
    // Lengths in em follow the font, so the window keeps its proportions at any scale.
    window.setStyleSheet(
        QStringLiteral(
            "#%1 { background-color: %2; }"
            "QLineEdit, QComboBox { background-color: %3; color: black;"
            " border: 1px solid rgb(112, 112, 112); padding: 2px 4px; min-height: 1.3em; }"
            "QComboBox { padding-right: 1.6em; }"
            "QComboBox::drop-down { subcontrol-origin: border; subcontrol-position: top right;"
            " width: 1.4em; border: 1px solid rgb(112, 112, 112); background-color: %4; }"
            "QComboBox::down-arrow { image: url(:/look/down-arrow.png); }"
            "QComboBox::down-arrow:disabled { image: url(:/look/down-arrow-disabled.png); }"
            "QComboBox QAbstractItemView { background-color: %3; color: black;"
            " selection-background-color: rgb(0, 0, 128); selection-color: white; }"
            "QLineEdit:focus, QComboBox:focus { border: 1px solid rgb(0, 0, 128); }"
            "QLineEdit:disabled, QComboBox:disabled { color: rgb(128, 128, 128); }"
            "QCheckBox:disabled { color: rgb(96, 96, 96); }"
            "QGroupBox { border: 1px solid rgb(112, 112, 112); margin-top: 0.7em;"
            " padding: 0.5em 0.3em 0.2em 0.3em; }"
            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
            " left: 0.6em; padding: 0 0.2em; background-color: %2; }")
            .arg(window.objectName(), rgb(WindowGrey), rgb(EntryWhite), rgb(ButtonGrey)));
}

void keepRoomFor(QLineEdit& box, const QStringList& texts) {
    const QFontMetrics metrics(box.font());
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    // Frame, padding, the line edit's own text margins and a little air.
    const int around = 2 * box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 16 +
                       metrics.averageCharWidth();
    box.setMinimumWidth(widest + around);
}

void dressButton(QPushButton& button, const QColor& colour) {
    button.setAutoDefault(true);
    // The focus border is one pixel wider; the padding gives that pixel back, so the
    // caption stays put as the focus moves.
    button.setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: black;"
                       " border: 1px solid rgb(64, 64, 64); border-radius: 3px;"
                       " padding: 5px 12px; min-width: 4.5em; }"
                       "QPushButton:focus { border: 2px solid black; padding: 4px 11px; }"
                       "QPushButton:pressed { background-color: %2; }"
                       "QPushButton:disabled { color: rgb(120, 120, 120);"
                       " border-color: rgb(128, 128, 128); }")
            .arg(rgb(colour), rgb(colour.darker(120))));
}

} // namespace PanelLook
