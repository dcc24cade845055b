#include "config/PlainNumber.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

std::optional<double> readPlainNumber(const QString& text) {
    static const QRegularExpression plain(
        QStringLiteral("^[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?$"));
    const QString trimmed = text.trimmed();
    if (!plain.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok); // QString::toDouble ignores the locale
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> readPlainSingle(const QString& text) {
    const std::optional<double> value = readPlainNumber(text);
    if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(*value);
}
