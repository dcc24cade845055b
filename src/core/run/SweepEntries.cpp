// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/SweepEntries.h"

#include "numbers/FrequencyEntry.h"
#include "numbers/PlainNumber.h"
#include "numbers/Rounding.h"
#include "values/Failure.h"

#include <optional>

namespace {
qint32 wholeNumber(const std::optional<float>& value, const QString& what, const QString& text) {
    if (!value)
        throw Failure(QStringLiteral("%1 \"%2\" is not a number").arg(what, text));
    const std::optional<qint32> rounded = roundHalfEven<qint32>(static_cast<double>(*value));
    if (!rounded)
        throw Failure(QStringLiteral("Overflow: %1 \"%2\"").arg(what, text));
    return *rounded;
}
} // namespace

SweepSettings readSweepEntries(const QString& startText, const QString& stopText,
                               const QString& stepsText, bool logarithmic) {
    SweepSettings settings;
    settings.start =
        wholeNumber(ReadFrequencyEntry(startText), QStringLiteral("Start frequency"), startText);
    settings.stop =
        wholeNumber(ReadFrequencyEntry(stopText), QStringLiteral("Stop frequency"), stopText);
    settings.steps =
        wholeNumber(readPlainSingle(stepsText), QStringLiteral("Step count"), stepsText);
    settings.logarithmic = logarithmic;
    return settings;
}
