// SPDX-License-Identifier: GPL-3.0-or-later
// The identification query: what it sends, how the line is split, and what happens to
// lines that leave nothing sensible to split.
#include "instrument/Instrument.h"
#include "link/Module1.h"
#include "support/TestProgram.h"

#include <QtTest>

namespace {
bool splitIdentity(const QString& variant, const QString& line, InstrumentIdentity& identity) {
    const InstrumentVariant profile = variantNamed(variant);
    return makeInstrument(profile)->splitIdentity(line, identity);
}
} // namespace

class Identification : public QObject {
    Q_OBJECT
private slots:
    void splitsTheLine_data();
    void splitsTheLine();
    void keepsFieldsOfAnUnusableLine_data();
    void keepsFieldsOfAnUnusableLine();
    void querySendsAndReplaces_data();
    void querySendsAndReplaces();
    void silentQueryKeepsFields();
};

void Identification::splitsTheLine_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QVariant>("number");

    QTest::newRow("LR40 example") << "LR40"
                                  << "Marovex, Model LR41, 0123, 1.05 A\r\n"
                                  << "Marovex"
                                  << "Model LR41"
                                  << "0123"
                                  << "1.05" << QVariant(1.05f);
    QTest::newRow("LR40 firmware 2.10") << "LR40"
                                        << "M, Model LR42, 9, 2.10\r\n"
                                        << "M"
                                        << "Model LR42"
                                        << "9"
                                        << "2.10" << QVariant(2.1f);
    QTest::newRow("LR40 digit after a letter dropped") << "LR40"
                                                       << "M, Model LR41, 9, 1.3B2\r\n"
                                                       << "M"
                                                       << "Model LR41"
                                                       << "9"
                                                       << "1.3" << QVariant(1.3f);
    QTest::newRow("PX80 keeps the blank of the model")
        << "PX80"
        << "Marovex, PX80, 77, 2.10\r\n"
        << "Marovex"
        << " PX80"
        << "77"
        << "2.10" << QVariant(QStringLiteral("2.10"));
    QTest::newRow("PX80 firmware text") << "PX80"
                                        << "A, B, C, 1.3B2\n"
                                        << "A"
                                        << " B"
                                        << "C"
                                        << "1.3" << QVariant(QStringLiteral("1.3"));
    QTest::newRow("PX80 firmware not a number stays text") << "PX80"
                                                           << "A, B, C, x9\n"
                                                           << "A"
                                                           << " B"
                                                           << "C"
                                                           << "" << QVariant(QString());
    QTest::newRow("empty fields") << "LR40"
                                  << ", , , 7"
                                  << ""
                                  << ""
                                  << ""
                                  << "7" << QVariant(7.0f);
    QTest::newRow("more commas go to the firmware") << "LR40"
                                                    << "A, B, C, 4.5, extra\r\n"
                                                    << "A"
                                                    << "B"
                                                    << "C"
                                                    << "4.5" << QVariant(4.5f);
}

void Identification::splitsTheLine() {
    QFETCH(QString, variant);
    QFETCH(QString, line);
    InstrumentIdentity identity;
    QVERIFY(splitIdentity(variant, line, identity));
    QTEST(identity.Maker, "maker");
    QTEST(identity.Model, "model");
    QTEST(identity.SerialNumber, "serial");
    QTEST(identity.Firmware, "firmware");
    QTEST(identity.FirmwareNumber, "number");
}

void Identification::keepsFieldsOfAnUnusableLine_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("line");
    QTest::newRow("no comma") << "LR40"
                              << "garbage\r\n";
    QTest::newRow("two commas") << "PX80"
                                << "A, B, C\r\n";
    QTest::newRow("LR40 firmware starts with a letter") << "LR40"
                                                        << "A, B, C, V1.0\r\n";
    QTest::newRow("LR40 firmware of points only") << "LR40"
                                                  << "A, B, C, ..\r\n";
    QTest::newRow("LR40 firmware with two points") << "LR40"
                                                   << "A, B, C, 1.2.3\r\n";
    QTest::newRow("over-long without commas") << "LR40" << QString(100000, QLatin1Char('x'));
}

void Identification::keepsFieldsOfAnUnusableLine() {
    QFETCH(QString, variant);
    QFETCH(QString, line);
    InstrumentIdentity identity{"Maker", "Model LR41", "SN", "1.0", 1.0f};
    QVERIFY(!splitIdentity(variant, line, identity));
    QCOMPARE(identity.Maker, QStringLiteral("Maker"));
    QCOMPARE(identity.Model, QStringLiteral("Model LR41"));
    QCOMPARE(identity.SerialNumber, QStringLiteral("SN"));
    QCOMPARE(identity.Firmware, QStringLiteral("1.0"));
}

void Identification::querySendsAndReplaces_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QByteArray>("query");
    QTest::newRow("LR40") << "LR40" << QStringList{"\\r", "*IDN?\\r"} << QByteArray("*IDN?");
    QTest::newRow("PX80") << "PX80" << QStringList{"*idn?\\n"} << QByteArray("*idn?");
}

void Identification::querySendsAndReplaces() {
    QFETCH(QString, variant);
    QFETCH(QStringList, sent);
    QFETCH(QByteArray, query);
    TestProgram p(variantNamed(variant));
    p.connect();
    Module1& m = p.root->module1();

    p.port->answer(query, "Marovex, Model LR41, 1, 1.05\r\n", 0.2);
    const Reply first = p.root->instrument().identify(p.root->link(), m.Identity);
    QCOMPARE(p.port->commands(), sent);
    QCOMPARE(first.text, QStringLiteral("Marovex, Model LR41, 1, 1.05\r\n"));

    // A second query replaces every field.
    p.port->answer(query, "Other, Model LR42, 2, 3.5\r\n", 0.2);
    p.root->instrument().identify(p.root->link(), m.Identity);
    QCOMPARE(m.Identity.Maker, QStringLiteral("Other"));
    QVERIFY(m.Identity.Model.endsWith(QStringLiteral("Model LR42")));
    QCOMPARE(m.Identity.SerialNumber, QStringLiteral("2"));
    QCOMPARE(m.Identity.Firmware, QStringLiteral("3.5"));
}

void Identification::silentQueryKeepsFields() {
    TestProgram p(lr40Profile());
    p.connect();
    Module1& m = p.root->module1();
    m.Identity.Model = QStringLiteral("Model LR42");
    const Reply silence = p.root->instrument().identify(p.root->link(), m.Identity);
    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    QVERIFY(silence.timedOut);
    QCOMPARE(m.Identity.Model, QStringLiteral("Model LR42"));
}

QTEST_MAIN(Identification)
#include "test_identification.moc"
