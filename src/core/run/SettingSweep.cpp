// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/SettingSweep.h"

#include "link/InstrumentLink.h"
#include "numbers/Rounding.h"
#include "platform/Timing.h"
#include "settings/EntryJudgement.h"
#include "settings/UploadSequence.h"
#include "values/Failure.h"

#include <cmath>

namespace {
constexpr int MaxStepValues = 10;

const EntryRule* ruleOf(const ConfigProfile& profile, RunSetting setting) {
    const QString control = settingControl(setting);
    for (const EntryRule& rule : profile.entryRules)
        if (rule.entry == control)
            return &rule;
    return nullptr;
}

const UploadStep* uploadStepOf(const ConfigProfile& profile, RunSetting setting) {
    const QString control = settingControl(setting);
    for (const UploadStep& step : profile.testUpload)
        if (step.control == control && step.argument == UploadStep::Argument::Text)
            return &step;
    return nullptr;
}

// The value of an entry its check accepts; a number is required (no "Off").
double checkedValue(const EntryRule& rule, const QString& text, float biasLimit) {
    EntryRule numbersOnly = rule;
    numbersOnly.words.clear();
    const EntryVerdict verdict = judgeEntry(numbersOnly, text, biasLimit);
    if (verdict.refusal)
        throw Failure(verdict.refusal->message.trimmed());
    return readEntryNumber(rule.reading, text).value_or(0.0);
}

QString frequencyStepText(double hertz, const QString& text) {
    const std::optional<qint32> whole =
        roundHalfEven<qint32>(static_cast<double>(static_cast<float>(hertz)));
    if (!whole)
        throw Failure(QStringLiteral("Overflow: step frequency \"%1\"").arg(text));
    return QString::number(*whole);
}
} // namespace

bool isSettingRun(const RunSettings& settings) {
    return settings.sweep &&
           (settings.swept != RunSetting::Frequency || settings.stepped != RunSetting::None);
}

QString runSettingName(RunSetting setting) {
    switch (setting) {
    case RunSetting::Frequency:
        return QStringLiteral("Frequency");
    case RunSetting::Voltage:
        return QStringLiteral("Voltage");
    case RunSetting::Bias:
        return QStringLiteral("Bias");
    case RunSetting::None:
        break;
    }
    return QStringLiteral("None");
}

bool isVolts(RunSetting setting) {
    return setting == RunSetting::Voltage || setting == RunSetting::Bias;
}

QString settingControl(RunSetting setting) {
    if (setting == RunSetting::None)
        return QString();
    return setting == RunSetting::Frequency ? QStringLiteral("freq") : runSettingName(setting);
}

QString voltsText(double volts) {
    // Millivolts of a few volts: 'g' with these digits never turns to an exponent.
    const QString text = QString::number(std::round(volts * 1000.0) / 1000.0, 'g', 12);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

std::vector<double> settingPoints(double start, double stop, qint32 steps, bool logarithmic) {
    if (logarithmic && (start <= 0.0 || stop <= 0.0))
        throw Failure(QStringLiteral("A logarithmic sweep cannot start or stop at 0"));
    if (steps < 1)
        throw Failure(QStringLiteral("Division by zero: the step count is 0"));
    sweepLastIndex(steps);
    std::vector<double> points;
    for (qint32 i = 0; i <= steps; ++i) {
        const double fraction = static_cast<double>(i) / steps;
        const double value = logarithmic ? start * std::pow(stop / start, fraction)
                                         : start + (stop - start) * fraction;
        points.push_back(std::round(value * 1000.0) / 1000.0);
    }
    return points;
}

SettingRunPlan planSettingRun(const RunSettings& settings, const SweepSettings& frequencies,
                              const SettingRunContext& context) {
    if (!context.profile)
        throw Failure(QStringLiteral("Update Test first: the sweep returns the instrument to the "
                                     "uploaded settings"));
    const ConfigProfile& profile = *context.profile;
    SettingRunPlan plan;
    plan.swept = settings.swept;
    plan.stepped = settings.stepped;
    if (plan.stepped == plan.swept)
        throw Failure(QStringLiteral("The stepped setting must differ from the swept one"));
    for (const RunSetting setting : {plan.swept, plan.stepped})
        if (setting == RunSetting::Bias && !ruleOf(profile, setting))
            throw Failure(QStringLiteral("This instrument's bias cannot be swept"));
    if (!context.uploaded)
        throw Failure(QStringLiteral("Update Test first: the sweep returns the instrument to the "
                                     "uploaded settings"));
    if ((isVolts(plan.swept) || isVolts(plan.stepped)) &&
        profile.dcPrimaries.contains(context.uploaded->primary))
        throw Failure(QStringLiteral("A voltage or bias sweep needs an AC primary parameter"));

    if (plan.stepped != RunSetting::None) {
        const QStringList texts = settings.stepValuesText.split(QLatin1Char(','));
        if (texts.size() > MaxStepValues)
            throw Failure(QStringLiteral("Up to 10 step values"));
        const EntryRule* rule = ruleOf(profile, plan.stepped);
        if (!rule)
            throw Failure(QStringLiteral("The stepped setting has no check"));
        for (const QString& raw : texts) {
            const QString text = raw.trimmed();
            const double value = checkedValue(*rule, text, context.biasLimit);
            plan.stepValues << (plan.stepped == RunSetting::Frequency
                                    ? frequencyStepText(value, text)
                                    : voltsText(value));
        }
        plan.steppedStep = uploadStepOf(profile, plan.stepped);
        if (isVolts(plan.stepped) && !plan.steppedStep)
            throw Failure(QStringLiteral("The stepped setting has no upload step"));
    }

    if (isVolts(plan.swept)) {
        const EntryRule* rule = ruleOf(profile, plan.swept);
        plan.sweptStep = uploadStepOf(profile, plan.swept);
        if (!rule || !plan.sweptStep)
            throw Failure(QStringLiteral("The swept setting has no check"));
        plan.startValue = checkedValue(*rule, settings.settingStartText, context.biasLimit);
        plan.stopValue = checkedValue(*rule, settings.settingStopText, context.biasLimit);
        for (const double point : settingPoints(plan.startValue, plan.stopValue, frequencies.steps,
                                                frequencies.logarithmic))
            plan.sweptValues.push_back(voltsText(point));
    }
    return plan;
}

QString settingCommand(const UploadStep& step, const QString& value) {
    return step.keyword + value;
}

void restoreUploaded(const SettingRunPlan& plan, const SettingRunContext& context,
                     InstrumentLink& link, Timing& timing) {
    if (!context.profile || !context.uploaded)
        return;
    const UploadSource source{*context.uploaded, *context.profile};
    for (const UploadStep* step : {plan.sweptStep, plan.steppedStep}) {
        if (!step)
            continue;
        if (const std::optional<QString> command = uploadCommand(*step, source)) {
            link.SendCommand(*command);
            if (step->waitMs > 0)
                timing.sleepMs(step->waitMs);
        }
    }
}
