// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/MeasuredPoint.h"

#include <QString>

// How a run ended when it did not throw (a failure throws after runEnded(Failed)).
enum class RunEnd {
    Completed,
    Stopped, // the stop request was seen at the top of a point
    Silent,  // a read heard nothing and the silence policy chose to go on
    Failed,  // a failure is about to be thrown
};

// What a run tells whoever watches it: the Results window, a command line.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // The run is about to take its first point.
    virtual void runBegins(const RunOutline& outline) = 0;
    // A sweep point's frequency has been sent to the instrument, as sent.
    virtual void frequencySent(const QString& hertz) = 0;
    // "Measuring 3", "Complete", "Stopped by User".
    virtual void statusChanged(const QString& text) = 0;
    // A point's fields as the reply gave them, complete or not (an incomplete one then
    // fails the run).
    virtual void pointShown(const MeasuredPoint& point) = 0;
    // A complete point, after it was shown: only these reach a log or a table.
    virtual void pointRecorded(const MeasuredPoint& point) = 0;
    virtual void runEnded(RunEnd how) = 0;
    // A failed voltage or bias sweep could not return that setting to its uploaded value
    // either; the run's own failure is what is thrown.
    virtual void restoreFailed(const QString& description) { Q_UNUSED(description) }
};
