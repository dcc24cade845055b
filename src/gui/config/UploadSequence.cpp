#include "config/UploadSequence.h"

#include "config/ControlText.h"
#include "link/InstrumentLink.h"
#include "numbers/NumberText.h"
#include "platform/Timing.h"

#include <QWidget>

namespace {
const QWidget& sourceControl(const UploadSource& source, const QString& name) {
    const QWidget* control = source.window.findChild<const QWidget*>(name);
    if (!control)
        throw Failure(QStringLiteral("The window has no control %1").arg(name));
    return *control;
}

bool holds(UploadStep::When when, const UploadSource& source) {
    switch (when) {
    case UploadStep::When::Always:
        return true;
    case UploadStep::When::PrimaryNotAuto:
        return controlText(&sourceControl(source, QStringLiteral("Ppar"))) != QLatin1String("Auto");
    case UploadStep::When::NotDC:
        return !source.dc;
    }
    return true;
}

QString argumentOf(const UploadStep& step, const UploadSource& source) {
    using A = UploadStep::Argument;
    switch (step.argument) {
    case A::None:
        return QString();
    case A::TestFrequency:
        return plainDecimal(source.testFrequency);
    case A::Position:
        return QString::number(controlPosition(&sourceControl(source, step.control)));
    case A::Text:
    case A::WholeNumber:
        break;
    }
    QString text = controlText(&sourceControl(source, step.control));
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
