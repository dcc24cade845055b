// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/UploadSequence.h"

#include "link/InstrumentLink.h"
#include "numbers/NumberText.h"
#include "platform/Timing.h"
#include "settings/TestSettings.h"

namespace {
const QString& textOf(const UploadSource& source, const QString& control) {
    const QString* text = source.settings.text(control);
    if (!text)
        throw Failure(QStringLiteral("The test settings have no %1").arg(control));
    return *text;
}

int positionOf(const UploadSource& source, const QString& control) {
    return static_cast<int>(listItems(source.profile, control).indexOf(textOf(source, control)));
}

bool holds(UploadStep::When when, const UploadSource& source) {
    switch (when) {
    case UploadStep::When::Always:
        return true;
    case UploadStep::When::PrimaryNotAuto:
        return source.settings.primary != QLatin1String("Auto");
    case UploadStep::When::NotDC:
        return !source.settings.bDC;
    }
    return true;
}

QString argumentOf(const UploadStep& step, const UploadSource& source) {
    using A = UploadStep::Argument;
    switch (step.argument) {
    case A::None:
        return QString();
    case A::TestFrequency:
        return plainDecimal(source.settings.sFreq);
    case A::Position:
        return QString::number(positionOf(source, step.control));
    case A::Text:
    case A::WholeNumber:
        break;
    }
    const QString& text = textOf(source, step.control);
    if (const auto word = step.sentAs.constFind(text); word != step.sentAs.cend())
        return word.value();
    if (step.argument == A::Text)
        return text;
    const std::optional<qint16> number = wholeNumber16(text);
    if (!number)
        throw Failure(QStringLiteral("%1 \"%2\" is not a whole number from -32768 to 32767")
                          .arg(step.control, text));
    return QString::number(*number);
}
} // namespace

std::optional<QString> uploadCommand(const UploadStep& step, const UploadSource& source) {
    if (!holds(step.when, source))
        return std::nullopt;
    return step.keyword + argumentOf(step, source);
}

void sendUpload(const std::vector<UploadStep>& steps, const UploadSource& source,
                InstrumentLink& link, Timing& timing, const UploadSent& sent) {
    for (const UploadStep& step : steps) {
        const std::optional<QString> command = uploadCommand(step, source);
        if (!command)
            continue;
        link.SendCommand(*command);
        if (sent)
            sent(step, *command);
        if (step.waitMs > 0)
            timing.sleepMs(step.waitMs);
    }
}
