// SPDX-License-Identifier: GPL-3.0-or-later
// The frequency entry reader on its own: kilo and mega letters, their summed positions,
// the kilo-first rule, and the one number notation underneath.
#include "numbers/FrequencyEntry.h"

#include <QtTest>

class FrequencyEntryReading : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
};

void FrequencyEntryReading::reads_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("hertz");

    QTest::newRow("plain") << "1000" << true << 1000.0;
    QTest::newRow("blanks around") << "  1000 " << true << 1000.0;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("sign and point") << "+20.5" << true << 20.5;
    QTest::newRow("kilo") << "10k" << true << 10000.0;
    QTest::newRow("kilo upper") << "10K" << true << 10000.0;
    QTest::newRow("kilo with unit") << "10 kHz" << true << 10000.0;
    QTest::newRow("text after letter ignored") << "10k5" << true << 10000.0;
    QTest::newRow("fraction kilo") << "1.5k" << true << 1500.0;
    QTest::newRow("leading point kilo") << ".5k" << true << 500.0;
    QTest::newRow("m is mega") << "1.5m" << true << 1500000.0;
    QTest::newRow("M is mega") << "2M" << true << 2000000.0;
    QTest::newRow("mega with unit") << " 1 MHz" << true << 1000000.0;
    QTest::newRow("kilo read first") << "10kM" << true << 10000.0;
    QTest::newRow("negative kilo") << "-5k" << true << -5000.0;

    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("unit without letter") << "1000Hz" << false << 0.0;
    QTest::newRow("leading kilo") << "k100" << false << 0.0;
    QTest::newRow("letter alone") << "M" << false << 0.0;
    QTest::newRow("word before kilo") << "xk" << false << 0.0;
    // Both letters: the summed position puts a letter inside the prefix.
    QTest::newRow("k and K") << "1k5K" << false << 0.0;
    QTest::newRow("mega before kilo") << "5Mk" << false << 0.0;
    QTest::newRow("group separator") << "1,000" << false << 0.0;
    QTest::newRow("decimal comma") << "1,5k" << false << 0.0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("beyond single precision") << "1e39" << false << 0.0;
    QTest::newRow("beyond single precision after kilo") << "1e36k" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
}

void FrequencyEntryReading::reads() {
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, hertz);
    const std::optional<float> value = ReadFrequencyEntry(text);
    QCOMPARE(value.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*value, static_cast<float>(hertz));
}

QTEST_GUILESS_MAIN(FrequencyEntryReading)
#include "test_frequency_entry.moc"
