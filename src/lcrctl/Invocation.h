// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RowWriter.h"
#include "link/PortChoice.h"
#include "profiles/InstrumentVariant.h"
#include "values/RunSettings.h"

#include <QString>

#include <utility>
#include <vector>

// One lcrctl command line, read and checked as far as it can be without the instrument.
struct Invocation {
    enum class Command { Ports, Identify, Measure, Sweep, Lock, Unlock, Upload, Fit };

    Command command = Command::Ports;
    VariantKind family = VariantKind::LR40;
    PortChoice port;
    QString baud = QStringLiteral("9600");
    QString traceFile;

    // The settings options as given, each as the objectName of the configuration window's
    // control it stands for and the text the operator would have put there.
    std::vector<std::pair<QString, QString>> settings;

    // The sweep: the texts of the window's sweep entries.
    QString start = QStringLiteral("1000");
    QString stop = QStringLiteral("100000");
    QString steps = QStringLiteral("10");
    bool logarithmic = false;
    // --sweep voltage|bias (start and stop then in volts) and --step setting=v1,v2,...
    RunSetting swept = RunSetting::Frequency;
    RunSetting stepped = RunSetting::None;
    QString stepValues;

    RowWriter::Format format = RowWriter::Format::Csv;
    QString output; // empty: stdout
    bool append = false;

    // fit: the model's name, the trace from 1 (0: the last), the file.
    QString model;
    int fitTrace = 0;
    bool spice = false;
    QString file;
};

// The command line could not be used: exit 2 with this message.
struct UsageError {
    QString message;
};
