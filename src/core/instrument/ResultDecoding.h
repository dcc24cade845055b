// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/MeasuredPoint.h"

#include <QString>

// Result replies split into the fields the boxes show. When a reply runs out of fields,
// the fields before the first missing one are kept and the point is incomplete: the run
// shows them and then fails. Index, frequency and time are the run's to fill in.

// LR40: CR LF pairs become TABs, pairs of TABs become one (a single pass from the left),
// then fields 0, 1, 2, 3, 5, 6, 7, 8 are the test number, primary, bin and secondary.
MeasuredPoint decodeLr40Reply(const QString& reply);

// PX80: a plain split at TAB; fields 0 to 5 are the primary and the secondary.
MeasuredPoint decodePx80Reply(const QString& reply);

// The field without control characters: line ends, and the NUL, escape and other control
// bytes of a noisy line, never reach a display box or the log.
QString withoutControlCharacters(QString field);
