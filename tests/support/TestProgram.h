// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramRoot.h"
#include "support/FakeSerialPort.h"
#include "support/ScriptedDialogs.h"
#include "support/VirtualTiming.h"

#include <QWidget>

#include <memory>

// A whole program on a fake port, a virtual clock and scripted dialogs.
struct TestProgram {
    explicit TestProgram(const InstrumentVariant& variant);

    // The program as the operator finds it: Form1 loaded and shown.
    void start() { root->start(); }
    // start() and a successful press of Measure; the record of both is then cleared.
    void connect();

    template <typename T> T* find(QWidget* window, const QString& name) const {
        return window ? window->findChild<T*>(name) : nullptr;
    }

    VirtualTiming* timing;
    FakeSerialPort* port;
    ScriptedDialogs* dialogs;
    std::unique_ptr<ProgramRoot> root;
};

InstrumentVariant variantNamed(const QString& name); // "LR40" or "PX80"
