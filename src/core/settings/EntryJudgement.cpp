// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/EntryJudgement.h"

#include "numbers/FrequencyEntry.h"
#include "numbers/NumberText.h"
#include "numbers/PlainNumber.h"
#include "values/InstrumentIdentity.h"

namespace {
// Single-precision entries are compared with single-precision limits, so that "0.02" and
// "0.01" pass the limits they name.
bool withinLimits(EntryReading reading, double value, double low, double high) {
    if (reading == EntryReading::Double)
        return value >= low && value <= high;
    const float v = static_cast<float>(value);
    return v >= static_cast<float>(low) && v <= static_cast<float>(high);
}

EntryRefusal refusal(const EntryRule& rule, const QString& message, const QString& resetText) {
    return EntryRefusal{message, rule.title,
                        resetText.isEmpty() ? std::nullopt : std::optional<QString>(resetText),
                        rule.returnsFocus};
}
} // namespace

std::optional<double> readEntryNumber(EntryReading reading, const QString& text) {
    switch (reading) {
    case EntryReading::Frequency:
        if (const std::optional<float> hertz = ReadFrequencyEntry(text))
            return static_cast<double>(*hertz);
        return std::nullopt;
    case EntryReading::Single:
        if (const std::optional<float> value = readPlainSingle(text))
            return static_cast<double>(*value);
        return std::nullopt;
    case EntryReading::Double:
        return readPlainNumber(text);
    }
    return std::nullopt;
}

const EntryRule* entryRuleFor(const ConfigProfile& profile, const QString& entry) {
    for (const EntryRule& rule : profile.entryRules)
        if (rule.entry == entry)
            return &rule;
    return nullptr;
}

float biasLimitFor(const ConfigProfile& profile, const InstrumentIdentity& identity) {
    for (const auto& [modelText, limit] : profile.biasLimitByModel)
        if (identity.Model == modelText)
            return limit;
    return profile.otherModelBiasLimit;
}

EntryVerdict judgeEntry(const EntryRule& rule, const QString& text, float biasLimit) {
    EntryVerdict verdict;
    if (rule.words.contains(text))
        return verdict;

    double high = rule.high;
    QString limitText; // the bias messages end with the limit in force
    if (rule.limitFromModel) {
        high = biasLimit;
        limitText = plainDecimal(biasLimit);
    }

    QString resetText;
    const std::optional<double> value = readEntryNumber(rule.reading, text);
    verdict.number = value.has_value();
    if (!value) {
        resetText = rule.notNumberResetText.isEmpty() ? rule.resetText : rule.notNumberResetText;
        verdict.refusal = refusal(rule, rule.notNumberMessage + limitText, resetText);
    } else if ((rule.zeroAccepted && *value == 0.0) ||
               withinLimits(rule.reading, *value, rule.low, high)) {
        if (rule.setsTestFrequency)
            verdict.testFrequency = static_cast<float>(*value);
        return verdict;
    } else {
        resetText = rule.resetText;
        verdict.refusal = refusal(rule, rule.outOfRangeMessage + limitText, resetText);
    }
    if (rule.setsTestFrequency)
        verdict.testFrequency =
            static_cast<float>(readEntryNumber(rule.reading, resetText).value_or(0.0));
    return verdict;
}

std::optional<EntryRefusal> judgeAboveOther(const EntryRule& rule, const QString& otherText,
                                            const QString& text) {
    if (rule.mustExceedEntry.isEmpty())
        return std::nullopt;
    const std::optional<float> start = ReadFrequencyEntry(otherText);
    const std::optional<float> stop = ReadFrequencyEntry(text);
    // A start that is not a number gives nothing to compare with; its own check deals
    // with it when it loses the focus.
    if (!start || !stop || *stop > *start)
        return std::nullopt;
    return refusal(rule, rule.notAboveMessage, plainDecimal(*start + 1.0f));
}
