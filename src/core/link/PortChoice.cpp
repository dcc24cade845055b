// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PortChoice.h"

#include "link/PortOpenError.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

namespace {
PortChoice numbered(int number) {
    return {number, {}};
}

PortChoice named(const QString& device) {
    return {2, device};
}

bool isWindowsPortName(const QString& text) {
    static const QRegularExpression comPort(QStringLiteral("^COM[0-9]+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return comPort.match(text).hasMatch();
}
} // namespace

QString numberedPortDevice(int number) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QByteArray variable = "LCRPANEL_COM" + QByteArray::number(number);
    QString named = qEnvironmentVariable(variable.constData());
    if (!named.isEmpty())
        return named;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

int numberOfPortDevice(const QString& device) {
    for (int number : {1, 2})
        if (device == numberedPortDevice(number))
            return number;
    return 0;
}

PortChoice choosePort(const QString& text, const QString& listedDevice, PortNaming naming) {
    if (text == QLatin1String("1"))
        return numbered(1);
    if (text == QLatin1String("2"))
        return numbered(2);
    if (!listedDevice.isEmpty())
        return named(listedDevice);
    const QString trimmed = text.trimmed();
    if (naming == PortNaming::Unix && trimmed.startsWith(QLatin1Char('/')))
        return named(trimmed);
    if (naming == PortNaming::Windows && isWindowsPortName(trimmed))
        return named(trimmed.toUpper());
    return numbered(2);
}

QString portNotAvailableText(const PortChoice& choice, const Failure& failure) {
    QStringList lines{QStringLiteral("Comm port %1 not available").arg(choice.name())};
    const auto* openFailure = dynamic_cast<const PortOpenError*>(&failure);
    if (openFailure && !openFailure->reason().isEmpty())
        lines << openFailure->device() + QStringLiteral(": ") + openFailure->reason();
    return lines.join(QLatin1Char('\n'));
}
