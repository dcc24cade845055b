// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/Failure.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// How an entry's text is read into a number.
enum class EntryReading {
    Frequency, // with the kilo and mega letters, single precision
    Single,
    Double,
};

// The check one entry of the configuration window gets when it loses the focus.
struct EntryRule {
    QString entry; // objectName of the checked control
    EntryReading reading = EntryReading::Single;
    QStringList words; // texts accepted exactly as they stand (case-sensitive, whole text)
    double low = 0.0;  // accepted range, both ends included
    double high = 0.0;
    bool zeroAccepted = false;   // 0 passes whatever the range says
    bool limitFromModel = false; // high comes from the instrument model, and both messages
                                 // end with it
    QString notNumberMessage;
    QString outOfRangeMessage;
    QString title;              // empty: the program's own title
    QString resetText;          // empty: the first item of the control's list
    QString notNumberResetText; // empty: resetText
    bool returnsFocus = true;
    bool setsTestFrequency = false; // the value read is the window's sFreq
    // Stop above start: when set, the value must also exceed that of this entry.
    QString mustExceedEntry;
    QString notAboveMessage;
};

// One command of an upload: keyword + argument, sent when its condition holds, then a
// blocking pause.
struct UploadStep {
    enum class Argument {
        None,
        Text,          // the control's text as it stands
        Position,      // the position of the control's selected entry, from 0
        TestFrequency, // the window's sFreq
        WholeNumber,   // the control's text as a signed 16-bit whole number
    };
    enum class When { Always, PrimaryNotAuto, NotDC };

    QString keyword;
    Argument argument = Argument::None;
    QString control; // objectName of the control the argument comes from
    // Texts that travel as another word instead of being sent or converted.
    QMap<QString, QString> sentAs;
    When when = When::Always;
    int waitMs = 0;
};

// Configuration window values that differ between the two programs.
// Filled in by profiles/lr40 and profiles/px80.
struct ConfigProfile {
    // Controls only one program has.
    bool hasTestNumber = false;
    bool hasSystemSettings = false; // ListCable, ListLevel, ListSRC and "Update Sys"

    QString delayLabel;
    QString updateTip; // tooltips of Update and Exit
    QString exitTip;

    // Lists, position 0 first.
    QStringList accuracyItems;
    QStringList biasItems;
    QStringList cableItems;
    QStringList levelItems;
    QStringList sourceResistanceItems;
    QStringList primaryItems;
    QStringList initialSecondaryItems;
    QStringList acSecondaryItems;
    QStringList dcSecondaryItems;
    QStringList dcPrimaries; // primary entries that are DC measurements

    // Positions selected when the window is created.
    int accuracyStart = 0;
    int biasStart = 0;
    int rangeStart = 0;

    // Sent once when the window is created, followed by a pause; empty: nothing is sent.
    QString creationCommand;
    int creationWaitMs = 0;

    std::vector<EntryRule> entryRules;
    // The bias limit by the instrument's Model text (whole text, case-sensitive).
    std::vector<std::pair<QString, float>> biasLimitByModel;
    float otherModelBiasLimit = 0.0f;

    std::vector<UploadStep> testUpload;
    FailureReport testUploadReport;       // how a failed upload is told
    std::vector<UploadStep> systemUpload; // empty when the program has no system settings
    FailureReport systemUploadReport;
};
