// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting result replies into the display boxes' texts, for both instruments.
#include "instrument/ResultDecoding.h"

#include <QtTest>

namespace {
// "Box=text" per field written, in the order the boxes are written.
QStringList shown(const MeasuredPoint& decoded) {
    static const std::pair<ResultField, const char*> boxes[] = {
        {ResultField::TestNumber, "Test"},
        {ResultField::PrimaryName, "Ppar"},
        {ResultField::PrimaryValue, "Pvalue"},
        {ResultField::PrimaryUnit, "Punit"},
        {ResultField::Bin, "bin"},
        {ResultField::SecondaryName, "Spar"},
        {ResultField::SecondaryValue, "svalue"},
        {ResultField::SecondaryUnit, "Sunit"}};
    QStringList writes;
    for (const auto& [field, box] : boxes)
        if (decoded.has(field))
            writes << QLatin1String(box) + QLatin1Char('=') + decoded.text(field);
    return writes;
}
} // namespace

class DecodeReplyTest : public QObject {
    Q_OBJECT
private slots:
    void lr40_data();
    void lr40();
    void px80_data();
    void px80();
    void lineEndsRemoved_data();
    void lineEndsRemoved();
};

void DecodeReplyTest::lr40_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<bool>("complete");

    const QStringList full = {"Test=1", "Ppar=Cs", "Pvalue=1.0E-9", "Punit=F",
                              "bin=3",  "Spar=D",  "svalue=0.01",   "Sunit=none"};
    QTest::newRow("instrument's own reply") << "1\tCs\t1.0E-9\tF\t0\t3\tD\t0.01\tnone\r\n"
                                            << full << true;
    QTest::newRow("lines separated by CR LF") << "1\tCs\t1.0E-9\tF\r\n0\t3\r\nD\t0.01\tnone\r\n"
                                              << full << true;
    QTest::newRow("two TABs are one separator")
        << "1\t\tCs\t1.0E-9\tF\t0\t3\tD\t0.01\tnone" << full << true;
    QTest::newRow("three TABs leave an empty field")
        << "1\t\t\tCs\t1.0E-9\tF\t0\t3\tD\t0.01"
        << QStringList{"Test=1", "Ppar=",  "Pvalue=Cs", "Punit=1.0E-9",
                       "bin=0",  "Spar=3", "svalue=D",  "Sunit=0.01"}
        << true;
    QTest::newRow("four TABs leave two separators")
        << "1\t\t\t\tCs\t1.0E-9\tF\t0\t3\tD\t0.01"
        << QStringList{"Test=1", "Ppar=",  "Pvalue=Cs", "Punit=1.0E-9",
                       "bin=0",  "Spar=3", "svalue=D",  "Sunit=0.01"}
        << true;
    QTest::newRow("CR LF next to a TAB counts once")
        << "1\tCs\t1.0E-9\tF\t\r\n0\t3\tD\t0.01\tnone\r\n"
        << full << true;
    QTest::newRow("more fields than read")
        << "1\tCs\t1.0E-9\tF\t0\t3\tD\t0.01\tnone\tx\ty" << full << true;
    QTest::newRow("field 4 is read by nobody") << "1\tCs\t1.0E-9\tF\tSTATUS\t3\tD\t0.01\tnone\r\n"
                                               << full << true;
    QTest::newRow("short: stops at missing field 5")
        << "1\tCs\t1.0E-9\tF\t0" << QStringList{"Test=1", "Ppar=Cs", "Pvalue=1.0E-9", "Punit=F"}
        << false;
    QTest::newRow("short: stops at missing field 8")
        << "1\tCs\t1.0E-9\tF\t0\t3\tD\t0.01"
        << QStringList{"Test=1", "Ppar=Cs", "Pvalue=1.0E-9", "Punit=F",
                       "bin=3",  "Spar=D",  "svalue=0.01"}
        << false;
    QTest::newRow("only a line end") << "\r\n" << QStringList{"Test=", "Ppar="} << false;
}

void DecodeReplyTest::lr40() {
    QFETCH(QString, reply);
    const MeasuredPoint decoded = decodeLr40Reply(reply);
    QTEST(shown(decoded), "writes");
    QTEST(decoded.complete(), "complete");
    QCOMPARE(decoded.fieldsNeeded, 9);
}

void DecodeReplyTest::px80_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<bool>("complete");

    const QStringList full = {"Ppar=Ls", "Pvalue=2.2E-3", "Punit=H",
                              "Spar=Q",  "svalue=12.5",   "Sunit=none"};
    QTest::newRow("instrument's own reply") << "Ls\t2.2E-3\tH\tQ\t12.5\tnone\r\n" << full << true;
    QTest::newRow("line feed only") << "Ls\t2.2E-3\tH\tQ\t12.5\tnone\n" << full << true;
    QTest::newRow("two TABs are two separators")
        << "Ls\t\t2.2E-3\tH\tQ\t12.5\r\n"
        << QStringList{"Ppar=Ls", "Pvalue=", "Punit=2.2E-3", "Spar=H", "svalue=Q", "Sunit=12.5"}
        << true;
    QTest::newRow("CR LF is no separator")
        << "Ls\t2.2E-3\tH\r\nQ\t12.5\tnone\r\n"
        << QStringList{"Ppar=Ls", "Pvalue=2.2E-3", "Punit=HQ", "Spar=12.5", "svalue=none"} << false;
    QTest::newRow("more fields than read") << "Ls\t2.2E-3\tH\tQ\t12.5\tnone\textra\r\n"
                                           << full << true;
    QTest::newRow("empty last field")
        << "Ls\t2.2E-3\tH\tNone\t\t\r\n"
        << QStringList{"Ppar=Ls", "Pvalue=2.2E-3", "Punit=H", "Spar=None", "svalue=", "Sunit="}
        << true;
    QTest::newRow("short: stops at missing field 3")
        << "Ls\t2.2E-3\tH\r\n"
        << QStringList{"Ppar=Ls", "Pvalue=2.2E-3", "Punit=H"} << false;
}

void DecodeReplyTest::px80() {
    QFETCH(QString, reply);
    const MeasuredPoint decoded = decodePx80Reply(reply);
    QTEST(shown(decoded), "writes");
    QTEST(decoded.complete(), "complete");
    QCOMPARE(decoded.fieldsNeeded, 6);
}

// No CR or LF reaches a box, wherever it stood in the reply.
void DecodeReplyTest::lineEndsRemoved_data() {
    QTest::addColumn<bool>("lr40");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("lastText");
    QTest::newRow("LR40 lone LF at the end") << true << "1\tCs\t1\tF\t0\t3\tD\t2\tnone\n"
                                             << "Sunit=none";
    QTest::newRow("LR40 lone CR at the end") << true << "1\tCs\t1\tF\t0\t3\tD\t2\tnone\r"
                                             << "Sunit=none";
    QTest::newRow("LR40 LF CR inside") << true << "1\tCs\t1\tF\t0\t3\tD\t2\tno\n\rne"
                                       << "Sunit=none";
    QTest::newRow("PX80 CR LF at the end") << false << "Ls\t1\tH\tQ\t2\tnone\r\n"
                                           << "Sunit=none";
    QTest::newRow("PX80 two replies in one poll") << false << "Ls\t1\tH\tQ\t2\tno\r\nne\r\n"
                                                  << "Sunit=none";
    QTest::newRow("PX80 CR in the middle field") << false << "Ls\t1\r\tH\tQ\t2\tnone"
                                                 << "Sunit=none";
}

void DecodeReplyTest::lineEndsRemoved() {
    QFETCH(bool, lr40);
    QFETCH(QString, reply);
    const QStringList writes = shown(lr40 ? decodeLr40Reply(reply) : decodePx80Reply(reply));
    for (const QString& w : writes) {
        QVERIFY2(!w.contains(QLatin1Char('\r')) && !w.contains(QLatin1Char('\n')), qPrintable(w));
    }
    QTEST(writes.last(), "lastText");
}

QTEST_GUILESS_MAIN(DecodeReplyTest)
#include "test_decode_reply.moc"
