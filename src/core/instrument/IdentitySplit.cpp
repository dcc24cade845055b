// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/IdentitySplit.h"

#include "values/InstrumentIdentity.h"

#include <algorithm>

namespace {
// Characters from a 1-based position, never reaching outside the text.
QString midFrom(const QString& text, int position1, int count) {
    if (count <= 0 || position1 < 1)
        return QString();
    return text.mid(position1 - 1, count);
}

// 1-based position of the first comma at or after position1, 0 when there is none.
int commaFrom(const QString& text, int position1) {
    return static_cast<int>(text.indexOf(QLatin1Char(','), std::max(0, position1 - 1))) + 1;
}

QString leadingDigitsAndPoints(const QString& text) {
    int end = 0;
    while (end < text.size() && (text.at(end).isDigit() || text.at(end) == QLatin1Char('.')) &&
           text.at(end).unicode() < 128)
        ++end;
    return text.left(end);
}
} // namespace

bool splitIdentity(const QString& line, const IdentityLayout& layout,
                   InstrumentIdentity& identity) {
    const int c1 = commaFrom(line, 1);
    if (c1 == 0)
        return false;
    int s = c1 + 1;
    const int c2 = commaFrom(line, s);
    if (c2 == 0)
        return false;
    const QString maker = midFrom(line, 1, c1 - 1);
    const QString model = layout.modelSkipsFirstCharacter ? midFrom(line, s + 1, c2 - s - 1)
                                                          : midFrom(line, s, c2 - s);
    s = c2 + 1;
    const int c3 = commaFrom(line, s);
    if (c3 == 0)
        return false;
    const QString serial = midFrom(line, s + 1, c3 - s - 1);
    const QString firmware = leadingDigitsAndPoints(line.mid(c3 + 1));

    QVariant number;
    if (layout.firmwareIsNumber) {
        bool ok = false;
        const float value = firmware.toFloat(&ok);
        if (!ok)
            return false;
        number = value;
    } else {
        number = firmware;
    }
    identity.Maker = maker;
    identity.Model = model;
    identity.SerialNumber = serial;
    identity.Firmware = firmware;
    identity.FirmwareNumber = number;
    return true;
}
