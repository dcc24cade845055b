// SPDX-License-Identifier: GPL-3.0-or-later
// How the uploads write numbers: the test frequency as plain decimal of at most seven
// significant digits, and typed range texts as signed 16-bit whole numbers.
#include "numbers/NumberText.h"

#include <QtTest>

class NumberText : public QObject {
    Q_OBJECT
private slots:
    void plainDecimalWrites_data();
    void plainDecimalWrites();
    void wholeNumberReads_data();
    void wholeNumberReads();
};

void NumberText::plainDecimalWrites_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 1000.0f << "1000";
    QTest::newRow("fraction") << 1500.5f << "1500.5";
    QTest::newRow("mega, no exponent") << 1000000.0f << "1000000";
    QTest::newRow("two mega") << 2000000.0f << "2000000";
    QTest::newRow("beyond seven digits, no exponent") << 12345678.0f << "12345680";
    QTest::newRow("ten mega") << 1.0e7f << "10000000";
    QTest::newRow("seven digits rounded") << 1234.5678f << "1234.568";
    QTest::newRow("float noise hidden") << 0.1f << "0.1";
    QTest::newRow("small, no exponent") << 0.0015f << "0.0015";
    QTest::newRow("tiny") << 1.5e-7f << "0.00000015";
    QTest::newRow("rounding carries") << 9999.9999f << "10000";
    QTest::newRow("eighth digit rounded") << 1234567.5f << "1234568";
    QTest::newRow("negative") << -20.25f << "-20.25";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("start plus one") << 1000001.0f << "1000001";
}

void NumberText::plainDecimalWrites() {
    QFETCH(float, value);
    QTEST(plainDecimal(value), "text");
}

void NumberText::wholeNumberReads_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("number");
    QTest::newRow("whole") << "12" << true << 12;
    QTest::newRow("blanks") << " 12 " << true << 12;
    QTest::newRow("half to even, down") << "12.5" << true << 12;
    QTest::newRow("half to even, up") << "13.5" << true << 14;
    QTest::newRow("below half") << "12.49" << true << 12;
    QTest::newRow("above half") << "12.51" << true << 13;
    QTest::newRow("negative half") << "-12.5" << true << -12;
    QTest::newRow("negative half up") << "-13.5" << true << -14;
    QTest::newRow("half of zero") << "0.5" << true << 0;
    QTest::newRow("exponent") << "1.2e1" << true << 12;
    QTest::newRow("largest") << "32767" << true << 32767;
    QTest::newRow("largest after rounding") << "32767.4" << true << 32767;
    QTest::newRow("smallest") << "-32768" << true << -32768;
    QTest::newRow("too large") << "32768" << false << 0;
    QTest::newRow("too large after rounding") << "32767.5" << false << 0;
    QTest::newRow("too small") << "-32769" << false << 0;
    QTest::newRow("word") << "abc" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("lower-case word") << "auto" << false << 0;
}

void NumberText::wholeNumberReads() {
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QFETCH(int, number);
    const std::optional<qint16> value = wholeNumber16(text);
    QCOMPARE(value.has_value(), fits);
    if (fits)
        QCOMPARE(int(*value), number);
}

QTEST_GUILESS_MAIN(NumberText)
#include "test_config_number_text.moc"
