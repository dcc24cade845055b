#include "link/OpenFailureReason.h"

#include <QFile>
#include <QtGlobal>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {
QString busy() {
    return QStringLiteral("busy, held by another program");
}

QString deniedOrBusy(const QString& device) {
#ifdef Q_OS_WIN
    // Windows refuses a port that another program has open as access denied.
    Q_UNUSED(device)
    return busy();
#else
    // QSerialPort reports a port locked by another program as a permission error too;
    // only the device's own access rights tell the two apart.
    if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0)
        return busy();
#ifdef Q_OS_LINUX
    return QStringLiteral("permission denied, add your user to the dialout group");
#else
    return QStringLiteral("permission denied");
#endif
#endif
}
} // namespace

QString openFailureReason(QSerialPort::SerialPortError error, const QString& device,
                          const QString& systemText) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("no such device");
    case QSerialPort::PermissionError:
        return deniedOrBusy(device);
    default:
        return systemText;
    }
}
