// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "traces/Trace.h"

#include <QByteArray>
#include <QString>

#include <vector>

// What a reference file held: its traces, or what is wrong and where (nothing is read then).
struct ReferenceFile {
    std::vector<Trace> traces;
    QString problem; // empty when read
    int line = 0;    // the line the problem is on, 0 for the file as a whole
};

// Reads reference traces from the files this system writes:
// - a table as "Save data..." writes it (its eight header names first, more columns may
//   follow); a "Step" column splits it into one trace per step value;
// - a result log ("Start Log ," first): each run of consecutive sweep records with the same
//   names and units whose frequencies keep one direction is a trace;
// - JSON lines as the command-line program writes them ("{" first).
// Every row must hold a number in a value column; a file over 16 MiB or 100,000 rows is
// refused.
namespace ReferenceReader {

ReferenceFile read(const QString& path);
// The same for bytes already read; name names the traces.
ReferenceFile parse(const QByteArray& bytes, const QString& name);

} // namespace ReferenceReader
