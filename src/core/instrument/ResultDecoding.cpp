// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/ResultDecoding.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace {
struct FieldSource {
    int field; // position in the reply
    ResultField shown;
};

MeasuredPoint distribute(const QStringList& fields, const std::vector<FieldSource>& map) {
    MeasuredPoint point;
    point.fieldCount = static_cast<int>(fields.size());
    for (const FieldSource& entry : map)
        point.fieldsNeeded = std::max(point.fieldsNeeded, entry.field + 1);
    for (const FieldSource& entry : map) {
        if (entry.field >= fields.size())
            break;
        point.set(entry.shown, withoutControlCharacters(fields.at(entry.field)));
    }
    return point;
}
} // namespace

QString withoutControlCharacters(QString field) {
    field.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return field;
}

MeasuredPoint decodeLr40Reply(const QString& reply) {
    QString joined = reply;
    joined.replace(QLatin1String("\r\n"), QLatin1String("\t"));
    // QString::replace works left to right without overlap: three TABs leave two.
    joined.replace(QLatin1String("\t\t"), QLatin1String("\t"));
    // Field 4 is a status code nobody shows.
    using F = ResultField;
    static const std::vector<FieldSource> map = {
        {0, F::TestNumber}, {1, F::PrimaryName},   {2, F::PrimaryValue},   {3, F::PrimaryUnit},
        {5, F::Bin},        {6, F::SecondaryName}, {7, F::SecondaryValue}, {8, F::SecondaryUnit}};
    return distribute(joined.split(QLatin1Char('\t')), map);
}

MeasuredPoint decodePx80Reply(const QString& reply) {
    using F = ResultField;
    static const std::vector<FieldSource> map = {{0, F::PrimaryName},    {1, F::PrimaryValue},
                                                 {2, F::PrimaryUnit},    {3, F::SecondaryName},
                                                 {4, F::SecondaryValue}, {5, F::SecondaryUnit}};
    return distribute(reply.split(QLatin1Char('\t')), map);
}
