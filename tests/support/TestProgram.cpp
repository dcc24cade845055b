// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestProgram.h"

#include "app/Form1.h"

#include <QPushButton>

TestProgram::TestProgram(const InstrumentVariant& variant) {
    auto ownedTiming = std::make_unique<VirtualTiming>();
    auto ownedPort = std::make_unique<FakeSerialPort>(*ownedTiming);
    auto ownedDialogs = std::make_unique<ScriptedDialogs>();
    timing = ownedTiming.get();
    port = ownedPort.get();
    dialogs = ownedDialogs.get();
    root = std::make_unique<ProgramRoot>(variant, std::move(ownedPort), std::move(ownedTiming),
                                         std::move(ownedDialogs));
}

void TestProgram::connect() {
    start();
    root->form1().Measure()->click();
    port->clearRecord();
    dialogs->clear();
}

InstrumentVariant variantNamed(const QString& name) {
    return name == QLatin1String("LR40") ? lr40Profile() : px80Profile();
}
