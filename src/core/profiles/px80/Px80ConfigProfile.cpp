// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileParts.h"

namespace {
// Every entry message of this program carries the instrument's name as its title.
const QString checkTitle = QStringLiteral("PX80");

EntryRule checked(const QString& entry, EntryReading reading, double low, double high,
                  const QString& notNumber, const QString& outOfRange, const QString& reset) {
    return entryRule(entry, reading, low, high, notNumber, outOfRange, reset, checkTitle);
}

std::vector<EntryRule> entryRules() {
    using R = EntryReading;
    const QString frequencyNotNumber = QStringLiteral(" Frequency must be a number");

    EntryRule freq =
        checked(QStringLiteral("freq"), R::Frequency, 10, 2000000, frequencyNotNumber,
                QStringLiteral(" Frequency limits are 10 to 2000000"), QStringLiteral("1000"));
    freq.setsTestFrequency = true;

    EntryRule voltage = checked(
        QStringLiteral("Voltage"), R::Single, 0.02, 5.0, QStringLiteral(" Voltage must be numeric"),
        QStringLiteral(" Voltage limits are 0.020 to 5.0 VRMS"), QStringLiteral("1"));

    const QString rangeLimits = QStringLiteral(" Range limits are 1 to 59");
    EntryRule range =
        checked(QStringLiteral("Range"), R::Single, 1, 59, rangeLimits, rangeLimits, QString());
    range.words = QStringList{QStringLiteral("Auto"), QStringLiteral("Hold")};

    EntryRule delay = checked(QStringLiteral("Delay"), R::Single, 0, 1000,
                              QStringLiteral("Delay must be a number"),
                              QStringLiteral("Delay limits are 0 to 1000"), QStringLiteral("0"));
    delay.zeroAccepted = true;

    EntryRule average = checked(
        QStringLiteral("num_avg"), R::Double, 1, 1000, QStringLiteral("Average must be a number"),
        QStringLiteral("Average limits are 1 to 1000"), QStringLiteral("1"));

    EntryRule start = checked(
        QStringLiteral("StartFreq"), R::Frequency, 10, 2000000, frequencyNotNumber,
        QStringLiteral(" Start Frequency limits are 10 to 2000000"), QStringLiteral("1000"));

    EntryRule stop = checked(
        QStringLiteral("StopFreq"), R::Frequency, 10, 2000000, frequencyNotNumber,
        QStringLiteral(" Stop Frequency limits are 10 to 2000000"), QStringLiteral("100000"));
    stop.notNumberResetText = QStringLiteral("1000");
    stop.mustExceedEntry = QStringLiteral("StartFreq");
    stop.notAboveMessage = QStringLiteral(" StopFreq must be greater than StartFreq");

    EntryRule steps =
        checked(QStringLiteral("SweepSteps"), R::Double, 1, 1000,
                QStringLiteral("sweepsteps must be a number"),
                QStringLiteral("sweepsteps limits are 1 to 1000"), QStringLiteral("10"));

    // Bias is not checked in this program.
    return {freq, voltage, range, delay, average, start, stop, steps};
}

std::vector<UploadStep> testUpload() {
    using A = UploadStep::Argument;
    using W = UploadStep::When;
    UploadStep primary =
        uploadStep(QStringLiteral("conf:ppar "), A::Text, QStringLiteral("Ppar"), 100);
    primary.sentAs = {{QStringLiteral("Auto"), QStringLiteral("A")}};
    UploadStep range =
        uploadStep(QStringLiteral("conf:range "), A::WholeNumber, QStringLiteral("Range"), 100);
    range.sentAs = {{QStringLiteral("Auto"), QStringLiteral("Auto")},
                    {QStringLiteral("Hold"), QStringLiteral("Hold")}};
    return {
        uploadStep(QStringLiteral("conf:trig ext"), A::None, QString(), 100),
        primary,
        uploadStep(QStringLiteral("conf:spar "), A::Text, QStringLiteral("Spar"), 100,
                   W::PrimaryNotAuto),
        uploadStep(QStringLiteral("conf:ACTY V"), A::None, QString(), 0),
        uploadStep(QStringLiteral("conf:ACV "), A::Text, QStringLiteral("Voltage"), 100),
        uploadStep(QStringLiteral("conf:freq "), A::TestFrequency, QString(), 100),
        uploadStep(QStringLiteral("conf:bias "), A::Text, QStringLiteral("Bias"), 100),
        range,
        uploadStep(QStringLiteral("conf:mac "), A::Text, QStringLiteral("Accuracy"), 100),
        uploadStep(QStringLiteral("conf:median "), A::Text, QStringLiteral("listMedian"), 100),
        uploadStep(QStringLiteral("conf:tdel "), A::Text, QStringLiteral("Delay"), 100),
        uploadStep(QStringLiteral("conf:aver "), A::Text, QStringLiteral("num_avg"), 0),
    };
}
} // namespace

ConfigProfile px80ConfigProfile() {
    ConfigProfile p;
    p.hasTestNumber = false;
    p.hasSystemSettings = false;
    p.delayLabel = QStringLiteral("Delay (ms)");
    // The same words in both programs.
    p.updateTip = QStringLiteral("Sends configuration Data to LR40");
    p.exitTip = QStringLiteral("Exits without updating LR40");

    p.accuracyItems = {QStringLiteral("Slow"), QStringLiteral("Medium"), QStringLiteral("Fast")};
    p.biasItems = {QStringLiteral("EXT"), QStringLiteral("INT"), QStringLiteral("Off")};

    const QStringList acParameters = {
        QStringLiteral("Ls"), QStringLiteral("Lp"), QStringLiteral("Rs"), QStringLiteral("Rp"),
        QStringLiteral("Cs"), QStringLiteral("Cp"), QStringLiteral("DF"), QStringLiteral("Q"),
        QStringLiteral("Z"),  QStringLiteral("Y"),  QStringLiteral("P"),  QStringLiteral("ESR"),
        QStringLiteral("Gp"), QStringLiteral("Xs"), QStringLiteral("Bp")};
    p.primaryItems = QStringList{QStringLiteral("Auto")} + acParameters;
    p.initialSecondaryItems = acParameters; // no "None" until the first primary choice
    p.acSecondaryItems = QStringList{QStringLiteral("None")} + acParameters;

    p.accuracyStart = 2; // "Fast"
    p.biasStart = 2;     // "Off"
    p.rangeStart = 0;    // "Auto"

    p.entryRules = entryRules();

    p.testUpload = testUpload();
    p.testUploadReport = {QStringLiteral("Error frmMeasure"), QStringLiteral("Error Occurred")};
    return p;
}
