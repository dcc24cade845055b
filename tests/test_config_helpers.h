// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the configuration window's tests: a connected program with the window open
// and active, and the operator's ways of using its controls.

#include "config/Configure.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

// A connected program with the configuration window created, shown and active, and the
// records of port, clock and dialogs cleared after its creation.
struct OpenConfigure {
    explicit OpenConfigure(const QString& variant,
                           const QString& model = QStringLiteral("Model LR42"))
        : program(variantNamed(variant)) {
        program.connect();
        program.root->module1().Identity.Model = model;
        window = &program.root->configure();
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        program.port->clearRecord();
        program.dialogs->clear();
        sleepsBefore = program.timing->sleeps().size();
    }

    // Blocking sleeps since the window was opened (or since forgetSleeps()).
    std::vector<int> sleeps() const {
        const std::vector<int>& all = program.timing->sleeps();
        return std::vector<int>(all.begin() + static_cast<std::ptrdiff_t>(sleepsBefore), all.end());
    }
    void forgetSleeps() { sleepsBefore = program.timing->sleeps().size(); }

    TestProgram program;
    Configure* window = nullptr;
    std::size_t sleepsBefore = 0;
};

// Chooses an entry from a list as the operator does with the mouse: Qt selects it and
// reports the activation.
inline void pick(QComboBox* list, const QString& text) {
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// Puts the focus into an entry and types over its text, key by key.
inline void typeInto(QWidget* entry, const QString& text) {
    entry->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(entry, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(entry, Qt::Key_Delete);
    QTest::keyClicks(entry, text);
}

// Leaves the entry that has the focus with the Tab key.
inline void pressTab() {
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QTest::keyClick(focused, Qt::Key_Tab);
}

inline QString textOf(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* list = qobject_cast<QComboBox*>(control))
        return list->currentText();
    return QString();
}

// Sets a control as the operator does: into it, pick the entry from its list (or type the
// text), and leave it with the Tab key, so its focus-loss rule or check runs.
inline void setByOperator(Configure* window, const QString& control, const QString& value) {
    QWidget* target = window->findChild<QWidget*>(control);
    QVERIFY2(target, qPrintable(control));
    auto* list = qobject_cast<QComboBox*>(target);
    if (list && list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) {
        target->setFocus(Qt::MouseFocusReason);
        pick(list, value);
    } else {
        typeInto(target, value);
    }
    pressTab();
}

// "Control=value" settings in order, as a data column can hold them.
inline void setAllByOperator(Configure* window, const QStringList& settings) {
    for (const QString& setting : settings) {
        const qsizetype equals = setting.indexOf(QLatin1Char('='));
        setByOperator(window, setting.left(equals), setting.mid(equals + 1));
    }
}
