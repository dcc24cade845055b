// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What a soak run measures of its own process, and what it checks in the log file.

// Resident memory (VmRSS of /proc/self/status) in KiB; -1 when unknown.
long residentKiB();
// Open file descriptors of this process (entries of /proc/self/fd).
int openDescriptors();
// Processor time (user and system) used by this process so far, in seconds.
double processorSeconds();

struct ProcessSample {
    long residentKiB = -1;
    int descriptors = -1;
    bool taken() const { return residentKiB >= 0; }
};
ProcessSample sampleProcess();

// The sweep the run was set to; steps 0 for single measurements.
struct SweepPlan {
    int start = 1000;
    int stop = 100000;
    int steps = 0;
};

struct LogCheck {
    bool wholeLines = false;        // every line ends in CR LF
    int records = 0;                // result records (opening, closing and marker lines left out)
    bool matchesShown = false;      // the records are the results shown, once each, in order
    QString firstDifference;        // where they part, when they do
    int sweeps = 0;                 // sweeps in the log, each starting at the start frequency
    int wholeSweeps = 0;            // those that run from start to stop
    bool frequenciesInOrder = true; // each sweep's frequencies are its points, in order
    QString frequencyProblem;
};

// Reads the log file and compares its result records with the results shown (a file of
// lines of six fields joined with ","). A sweep record's leading frequency is checked
// against the plan.
LogCheck checkLog(const QString& logPath, const QString& shownPath, const SweepPlan& plan);
