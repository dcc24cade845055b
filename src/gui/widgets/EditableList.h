// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// A drop-down list that also takes typed text, read exactly as typed: no completion, no
// case folding, typed text is never added to the list.
//
// picked() tells a choice made from the list (mouse, or the arrow keys) apart from typed
// text that merely equals an entry; Qt reports both as activated().
class EditableList : public QComboBox {
    Q_OBJECT
public:
    explicit EditableList(QWidget* parent = nullptr);

signals:
    void picked(int index);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_typedTextEnding = false;
};
