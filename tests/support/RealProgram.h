// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramRoot.h"
#include "link/SerialPort.h"
#include "support/ScriptedDialogs.h"

#include <QString>
#include <QStringList>

#include <memory>

class Configure;
class FrmMeasure;

// A whole program on the real serial layer (QtSerialPortComponent, whose port numbers are
// the devices named by LCRPANEL_COM1 and LCRPANEL_COM2), the real clock and scripted
// dialogs: the end-to-end tests run it against the simulator on a pseudo-terminal.
class SimulatorProcess;

struct RealProgram {
    explicit RealProgram(const InstrumentVariant& variant);

    // Start-up, then a press of Measure with the port and baud rate preselected.
    void connect();
    // Port 1 pointed at the simulator's line, then connect(); returns results().
    FrmMeasure* connectTo(const SimulatorProcess& simulator);
    // The measurement window, null when it does not exist.
    FrmMeasure* results() const;
    // The configuration window set to sweep from start to stop in steps (created, with its
    // creation command, on first touch).
    Configure& chooseSweep(const QString& start, const QString& stop, const QString& steps);
    // Starts logging into path; the file must not exist yet (no overwrite question).
    void startLogging(const QString& path);

    ScriptedDialogs* dialogs;
    std::unique_ptr<ProgramRoot> root;
};

// The measurement window's buttons that are enabled, in the order Start, stopbutton,
// cmdExit, Config, Lockout, cmdLog, StopLog.
QStringList enabledButtons(const FrmMeasure& window);
// The buttons after a completed run or a stop, with or without logging.
QStringList idleButtons(bool logging);
// The six result boxes as shown: Ppar, Pvalue, Punit, Spar, svalue, Sunit.
QStringList shownResult(const FrmMeasure& window);

// True when another program could open the serial device now, i.e. nobody holds it.
bool deviceIsFree(const QString& device);
