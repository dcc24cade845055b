// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptSettings.h"

#include "SettingOptions.h"

#include "profiles/InstrumentVariant.h"
#include "settings/EntryJudgement.h"
#include "settings/ParameterChoice.h"

namespace {
// The options that are the LR40's system settings, sent by "Update Sys".
bool isSystemSetting(const InstrumentVariant& variant, const QString& control) {
    if (!variant.config.hasSystemSettings)
        return false;
    for (const UploadStep& step : variant.config.systemUpload)
        if (step.control == control)
            return true;
    return false;
}

void requireListed(const QString& control, const QString& text, const QStringList& items) {
    if (!items.contains(text))
        throw UsageError{QStringLiteral("%1 must be one of %2")
                             .arg(optionForControl(control), items.join(", "))};
}

// The window's messages begin with a blank that a terminal line does not want.
[[noreturn]] void refuse(const EntryRefusal& refusal) {
    throw UsageError{refusal.message.trimmed()};
}

// Runs the entry's check on its text; the test frequency it sets goes into sFreq.
void checkEntry(const EntryRule& rule, TestSettings& settings, float biasLimit) {
    const QString& text = *settings.text(rule.entry);
    const EntryVerdict verdict = judgeEntry(rule, text, biasLimit);
    if (verdict.refusal)
        refuse(*verdict.refusal);
    if (verdict.testFrequency)
        settings.sFreq = *verdict.testFrequency;
    if (verdict.number && !rule.mustExceedEntry.isEmpty())
        if (const auto notAbove = judgeAboveOther(rule, *settings.text(rule.mustExceedEntry), text))
            refuse(*notAbove);
}

bool isBiasWord(const InstrumentVariant& variant, const QString& text) {
    const EntryRule* rule = entryRuleFor(variant.config, QStringLiteral("Bias"));
    return rule && rule->words.contains(text);
}
} // namespace

ScriptSettings readScriptSettings(const Invocation& invocation, const InstrumentVariant& variant) {
    const ConfigProfile& profile = variant.config;
    ScriptSettings script;
    TestSettings& s = script.settings;
    s = initialTestSettings(profile);
    bool secondaryGiven = false;
    for (const auto& [control, text] : invocation.settings) {
        *s.text(control) = text;
        secondaryGiven = secondaryGiven || control == QLatin1String("Spar");
        if (isSystemSetting(variant, control))
            script.uploadSystem = true;
        else
            script.uploadTest = true;
    }
    if (invocation.command == Invocation::Command::Upload && !script.uploadSystem)
        script.uploadTest = true;

    // Lists: the texts the window shows, never the codes they are sent as.
    for (const QString& control :
         {QStringLiteral("Ppar"), QStringLiteral("Accuracy"), QStringLiteral("listMedian"),
          QStringLiteral("ListCable"), QStringLiteral("ListLevel"), QStringLiteral("ListSRC")})
        if (const QStringList items = listItems(profile, control); !items.isEmpty())
            requireListed(control, *s.text(control), items);
    if (s.primary == AutoPrimary) {
        if (secondaryGiven)
            throw UsageError{QStringLiteral("--spar cannot be given with the primary Auto")};
    } else {
        const QStringList secondaries = secondaryItemsFor(profile, s.primary);
        if (!secondaryGiven)
            s.secondary = secondaries.value(0);
        requireListed(QStringLiteral("Spar"), s.secondary, secondaries);
    }
    s.bDC = isDcPrimary(profile, s.primary);
    if (s.bDC)
        for (const auto& [control, text] : invocation.settings)
            if (control == QLatin1String("freq") || control == QLatin1String("Bias"))
                throw UsageError{QStringLiteral("%1 cannot be given with the DC primary %2")
                                     .arg(optionForControl(control), s.primary)};

    // A bias the window checks against the model's limit waits for the identification; a
    // family without such a check takes its list's words only.
    const EntryRule* biasRule = entryRuleFor(variant.config, QStringLiteral("Bias"));
    if (biasRule && biasRule->limitFromModel)
        script.biasNeedsModel = !isBiasWord(variant, s.bias);
    else
        requireListed(QStringLiteral("Bias"), s.bias, profile.biasItems);

    s.run.sweep = invocation.command == Invocation::Command::Sweep;
    // A voltage or bias sweep's --start and --stop are volts, checked by the run; the
    // frequency entries keep their initial texts.
    if (invocation.swept == RunSetting::Frequency) {
        s.run.startText = invocation.start;
        s.run.stopText = invocation.stop;
    }
    s.run.stepsText = invocation.steps;
    s.run.logarithmic = invocation.logarithmic;
    for (const EntryRule& rule : profile.entryRules) {
        if (rule.entry == QLatin1String("Bias") || !s.text(rule.entry) ||
            s.text(rule.entry)->isNull())
            continue;
        checkEntry(rule, s, 0.0f);
    }
    return script;
}

void checkBiasForModel(const ScriptSettings& script, const InstrumentVariant& variant,
                       const InstrumentIdentity& identity) {
    const EntryRule* rule = entryRuleFor(variant.config, QStringLiteral("Bias"));
    if (!script.biasNeedsModel || !rule)
        return;
    TestSettings settings = script.settings;
    checkEntry(*rule, settings, biasLimitFor(variant.config, identity));
}
