// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileParts.h"

namespace {
std::vector<EntryRule> entryRules() {
    using R = EntryReading;
    const QString frequencyNotNumber = QStringLiteral(" Frequency must be a number");
    const QString sweepTitle = QStringLiteral("LR40");

    EntryRule freq =
        entryRule(QStringLiteral("freq"), R::Frequency, 20, 1000000, frequencyNotNumber,
                  QStringLiteral(" Frequency limits are 20 to 1000000"), QStringLiteral("1000"));
    freq.setsTestFrequency = true;

    EntryRule voltage = entryRule(
        QStringLiteral("Voltage"), R::Single, 0.02, 1.0, QStringLiteral(" Voltage must be numeric"),
        QStringLiteral(" Voltage limits are 0.020 to 1.0"), QStringLiteral("1"));

    const QString biasLimits = QStringLiteral(" Bias limits are 0 to ");
    EntryRule bias =
        entryRule(QStringLiteral("Bias"), R::Single, 0, 0, biasLimits, biasLimits, QString());
    bias.words = QStringList{QStringLiteral("Off"), QStringLiteral("ACCpl")};
    bias.limitFromModel = true;
    bias.returnsFocus = false;

    const QString rangeLimits = QStringLiteral(" Range limits are 2 to 21");
    EntryRule range =
        entryRule(QStringLiteral("Range"), R::Single, 2, 21, rangeLimits, rangeLimits, QString());
    range.words = QStringList{QStringLiteral("Auto"), QStringLiteral("Hold")};

    EntryRule delay = entryRule(QStringLiteral("Delay"), R::Single, 0.01, 10,
                                QStringLiteral("Delay must be a number"),
                                QStringLiteral("Delay limits are .01 to 10"), QStringLiteral("0"));
    delay.zeroAccepted = true;

    EntryRule average = entryRule(
        QStringLiteral("num_avg"), R::Double, 1, 1000, QStringLiteral("Average must be a number"),
        QStringLiteral("Average limits are 1 to 1000"), QStringLiteral("1"));

    const QString testLimits = QStringLiteral(" Test number limits are 1 to 25");
    EntryRule testNo = entryRule(QStringLiteral("TestNo"), R::Single, 1, 25, testLimits, testLimits,
                                 QStringLiteral("1"));

    EntryRule start =
        entryRule(QStringLiteral("StartFreq"), R::Frequency, 20, 1000000, frequencyNotNumber,
                  QStringLiteral(" Start Frequency limits are 20 to 1000000"),
                  QStringLiteral("1000"), sweepTitle);

    EntryRule stop =
        entryRule(QStringLiteral("StopFreq"), R::Frequency, 20, 1000000, frequencyNotNumber,
                  QStringLiteral(" Stop Frequency limits are 20 to 1000000"),
                  QStringLiteral("100000"), sweepTitle);
    stop.notNumberResetText = QStringLiteral("1000");
    stop.mustExceedEntry = QStringLiteral("StartFreq");
    stop.notAboveMessage = QStringLiteral(" StopFreq must be greater than StartFreq");

    EntryRule steps = entryRule(QStringLiteral("SweepSteps"), R::Double, 1, 1000,
                                QStringLiteral("sweepsteps must be a number"),
                                QStringLiteral("sweepsteps limits are 1 to 1000"),
                                QStringLiteral("10"), sweepTitle);

    return {freq, voltage, bias, range, delay, average, testNo, start, stop, steps};
}

std::vector<UploadStep> testUpload() {
    using A = UploadStep::Argument;
    using W = UploadStep::When;
    UploadStep range =
        uploadStep(QStringLiteral("conf:range "), A::WholeNumber, QStringLiteral("Range"), 100);
    range.sentAs = {{QStringLiteral("Auto"), QStringLiteral("0")},
                    {QStringLiteral("Hold"), QStringLiteral("1")}};
    return {
        uploadStep(QStringLiteral("syst:trig ext"), A::None, QString(), 0),
        uploadStep(QStringLiteral("test:test "), A::Text, QStringLiteral("TestNo"), 100),
        uploadStep(QStringLiteral("conf:ppar "), A::Text, QStringLiteral("Ppar"), 100),
        uploadStep(QStringLiteral("conf:spar "), A::Text, QStringLiteral("Spar"), 100,
                   W::PrimaryNotAuto),
        uploadStep(QStringLiteral("conf:applv "), A::Text, QStringLiteral("Voltage"), 100),
        uploadStep(QStringLiteral("conf:freq "), A::TestFrequency, QString(), 100, W::NotDC),
        uploadStep(QStringLiteral("conf:bias "), A::Text, QStringLiteral("Bias"), 100, W::NotDC),
        range,
        uploadStep(QStringLiteral("conf:mac "), A::Text, QStringLiteral("Accuracy"), 100),
        uploadStep(QStringLiteral("conf:tde "), A::Text, QStringLiteral("Delay"), 100),
        uploadStep(QStringLiteral("conf:aver "), A::Text, QStringLiteral("num_avg"), 0),
        uploadStep(QStringLiteral("save save"), A::None, QString(), 0),
    };
}

std::vector<UploadStep> systemUpload() {
    using A = UploadStep::Argument;
    return {
        uploadStep(QStringLiteral("syst:median "), A::Text, QStringLiteral("listMedian"), 100),
        // A blank, not a colon, after "syst": the instrument's own spelling.
        uploadStep(QStringLiteral("syst cabl "), A::Position, QStringLiteral("ListCable"), 100),
        uploadStep(QStringLiteral("syst:level "), A::Text, QStringLiteral("ListLevel"), 100),
        uploadStep(QStringLiteral("syst:srci "), A::Position, QStringLiteral("ListSRC"), 0),
    };
}
} // namespace

ConfigProfile lr40ConfigProfile() {
    ConfigProfile p;
    p.hasTestNumber = true;
    p.hasSystemSettings = true;
    p.delayLabel = QStringLiteral("Delay");
    // The same words in both programs.
    p.updateTip = QStringLiteral("Sends configuration Data to LR40");
    p.exitTip = QStringLiteral("Exits without updating LR40");

    p.accuracyItems = {QStringLiteral("High"), QStringLiteral("Medium"), QStringLiteral("Low")};
    p.biasItems = {QStringLiteral("Off"), QStringLiteral("ACCpl")};
    p.cableItems = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("0")};
    p.levelItems = {QStringLiteral("OFF"), QStringLiteral("ON")};
    p.sourceResistanceItems = {QStringLiteral("5"), QStringLiteral("25"), QStringLiteral("50"),
                               QStringLiteral("100")};

    const QStringList acParameters = {
        QStringLiteral("Ls"), QStringLiteral("Lp"), QStringLiteral("Rs"), QStringLiteral("Rp"),
        QStringLiteral("Cs"), QStringLiteral("Cp"), QStringLiteral("DF"), QStringLiteral("Q"),
        QStringLiteral("Z"),  QStringLiteral("Y"),  QStringLiteral("P"),  QStringLiteral("ESR"),
        QStringLiteral("Gp"), QStringLiteral("Xs"), QStringLiteral("Bp"), QStringLiteral("V"),
        QStringLiteral("I")};
    const QStringList dcParameters = {QStringLiteral("DCV"), QStringLiteral("DCR"),
                                      QStringLiteral("DCI")};
    p.primaryItems = QStringList{QStringLiteral("Auto")} + acParameters + dcParameters;
    p.initialSecondaryItems = QStringList{QStringLiteral("None")} + acParameters + dcParameters;
    p.acSecondaryItems = QStringList{QStringLiteral("None")} + acParameters;
    // DCI before DCV here, the reverse of the primary list.
    p.dcSecondaryItems = {QStringLiteral("None"), QStringLiteral("DCR"), QStringLiteral("DCI"),
                          QStringLiteral("DCV")};
    p.dcPrimaries = dcParameters;

    p.accuracyStart = 0; // "High"
    p.biasStart = 0;     // "Off"
    p.rangeStart = 0;    // "Auto"

    p.creationCommand = QStringLiteral("option 00 08 "); // the trailing blank is sent
    p.creationWaitMs = 100;

    p.entryRules = entryRules();
    p.biasLimitByModel = {{QStringLiteral("Model LR41"), 1.0f},
                          {QStringLiteral("Model LR42"), 2.0f}};
    p.otherModelBiasLimit = 0.0f;

    p.testUpload = testUpload();
    p.testUploadReport = {QStringLiteral("Configure -> update_click"), QString()};
    p.systemUpload = systemUpload();
    p.systemUploadReport = {QStringLiteral("Configure -> CmdUpSys_Click"), QString()};
    return p;
}
