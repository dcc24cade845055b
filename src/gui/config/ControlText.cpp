// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/ControlText.h"

#include <QComboBox>
#include <QLineEdit>

QString controlText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* list = qobject_cast<const QComboBox*>(control))
        return list->currentText();
    return QString();
}

void setControlText(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* list = qobject_cast<QComboBox*>(control); list && list->isEditable())
        list->setEditText(text);
}

void selectFirstItem(QWidget* control) {
    auto* list = qobject_cast<QComboBox*>(control);
    if (!list || list->count() == 0)
        return;
    // The index may already be 0 under typed text, so the text is set as well.
    list->setCurrentIndex(0);
    if (list->isEditable())
        list->setEditText(list->itemText(0));
}

int controlPosition(const QWidget* control) {
    const auto* list = qobject_cast<const QComboBox*>(control);
    return list ? list->currentIndex() : -1;
}
