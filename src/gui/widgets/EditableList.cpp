// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/EditableList.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

EditableList::EditableList(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Without a completer Qt matches typed text case-sensitively, so "auto" stays "auto".
    setCompleter(nullptr);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!m_typedTextEnding)
            emit picked(index);
    });
}

void EditableList::focusOutEvent(QFocusEvent* event) {
    // Leaving the field finishes the typed text, which Qt reports as activated() when it
    // equals an entry.
    const QScopedValueRollback ending(m_typedTextEnding, true);
    QComboBox::focusOutEvent(event);
}

void EditableList::keyPressEvent(QKeyEvent* event) {
    const bool finishesTyping = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QScopedValueRollback ending(m_typedTextEnding, m_typedTextEnding || finishesTyping);
    QComboBox::keyPressEvent(event);
}
