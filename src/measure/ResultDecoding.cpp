#include "measure/ResultDecoding.h"

#include <QStringList>

#include <algorithm>

namespace {
struct FieldToBox {
    int field;
    ResultBox box;
};

DecodedReply distribute(const QStringList& fields, const std::vector<FieldToBox>& map) {
    DecodedReply decoded;
    decoded.fieldCount = static_cast<int>(fields.size());
    for (const FieldToBox& entry : map)
        decoded.fieldsNeeded = std::max(decoded.fieldsNeeded, entry.field + 1);
    for (const FieldToBox& entry : map) {
        if (entry.field >= fields.size())
            break;
        decoded.texts.push_back({entry.box, withoutControlCharacters(fields.at(entry.field))});
    }
    return decoded;
}
} // namespace

QString withoutControlCharacters(QString field) {
    field.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return field;
}

DecodedReply decodeLr40Reply(const QString& reply) {
    QString joined = reply;
    joined.replace(QLatin1String("\r\n"), QLatin1String("\t"));
    // QString::replace works left to right without overlap: three TABs leave two.
    joined.replace(QLatin1String("\t\t"), QLatin1String("\t"));
    // Field 4 is a status code nobody shows.
    static const std::vector<FieldToBox> map = {{0, ResultBox::TestNumber}, {1, ResultBox::Ppar},
                                                {2, ResultBox::Pvalue},     {3, ResultBox::Punit},
                                                {5, ResultBox::Bin},        {6, ResultBox::Spar},
                                                {7, ResultBox::Svalue},     {8, ResultBox::Sunit}};
    return distribute(joined.split(QLatin1Char('\t')), map);
}

DecodedReply decodePx80Reply(const QString& reply) {
    static const std::vector<FieldToBox> map = {{0, ResultBox::Ppar},   {1, ResultBox::Pvalue},
                                                {2, ResultBox::Punit},  {3, ResultBox::Spar},
                                                {4, ResultBox::Svalue}, {5, ResultBox::Sunit}};
    return distribute(reply.split(QLatin1Char('\t')), map);
}
