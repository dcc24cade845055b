// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Measurement window values that differ between the two programs.
// Filled in by profiles/lr40 and profiles/px80.
struct MeasureProfile {
    // Point size of the six result boxes.
    double resultFontPoints = 36.0;
    // Name of the box that shows the run's status texts.
    QString statusBoxName;
    // LR40 shows the test number and keeps a hidden bin box, each with a caption.
    bool showsTestNumberAndBin = false;
    // Caption of the Config button ("&Configure" gives it Alt+C).
    QString configCaption;
    // Ends the sweep's "conf:freq " command; LR40 uses a line feed here, not its usual CR.
    QByteArray frequencyCommandTerminator;
    // A single measurement first lets pending window events run once.
    bool singleLetsEventsRunFirst = false;
    // Title of the messages about the log file; empty means the application's title.
    QString logFailureTitle;
};
