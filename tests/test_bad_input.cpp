// SPDX-License-Identifier: GPL-3.0-or-later
// Bad input at every checked entry of both programs: the edge cases of each entry check and
// hostile texts, typed (long ones pasted) into the real configuration window, which is then
// left by a click on a control without a check of its own (the "Log Sweep" box), so that
// only this entry's check speaks. Each text gets exactly the message its check calls for,
// or none; and the entry then holds a text its check accepts: leaving it once more shows
// nothing, and an upload sends nothing but plain ASCII.
#include "test_config_helpers.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>

namespace {
// One checked entry of one program and what its check answers.
struct CheckedEntry {
    QString variant;
    QString name;
    QString notNumber;      // the message for a text that is not a number
    QString outOfRange;     // the message for a number outside the limits
    QString notNumberReset; // the text put back after the first ...
    QString rangeReset;     // ... and after the second
    bool zeroPasses;        // "-0" is a number the limits take
    QStringList inside;     // edge texts the check takes as they are
    QStringList outside;    // edge numbers just outside the limits
};

// The limits of Bias in LR40 follow the model; these cases run with an LR42 (0 to 2).
std::vector<CheckedEntry> checkedEntries() {
    const QString frequencyNotNumber = QStringLiteral(" Frequency must be a number");
    const QString lrFreq = QStringLiteral("20 to 1000000");
    const QString pxFreq = QStringLiteral("10 to 2000000");
    return {
        {"LR40",
         "freq",
         frequencyNotNumber,
         " Frequency limits are " + lrFreq,
         "1000",
         "1000",
         false,
         {"20", "1000000", " 20 ", "2e1", "0.02k", "1M", "1000000.0"},
         {"19.99", "1000001", "1.000002M", "-20"}},
        {"LR40",
         "Voltage",
         " Voltage must be numeric",
         " Voltage limits are 0.020 to 1.0",
         "1",
         "1",
         false,
         {"0.02", "1", "1.0", "2e-2", ".5"},
         {"0.0199", "1.001", "0", "-1"}},
        {"LR40",
         "Bias",
         " Bias limits are 0 to 2",
         " Bias limits are 0 to 2",
         "Off",
         "Off",
         true,
         {"0", "2", "1.5", "Off", "ACCpl"},
         {"2.001", "-0.001"}},
        {"LR40",
         "Range",
         " Range limits are 2 to 21",
         " Range limits are 2 to 21",
         "Auto",
         "Auto",
         false,
         {"2", "21", "Auto", "Hold"},
         {"1.99", "21.01", "0"}},
        {"LR40",
         "Delay",
         "Delay must be a number",
         "Delay limits are .01 to 10",
         "0",
         "0",
         true,
         {"0", "0.01", ".01", "10"},
         {"0.009", "10.01", "-0.01"}},
        {"LR40",
         "num_avg",
         "Average must be a number",
         "Average limits are 1 to 1000",
         "1",
         "1",
         false,
         {"1", "1000", "1e3"},
         {"0.999", "1000.5", "-1"}},
        {"LR40",
         "TestNo",
         " Test number limits are 1 to 25",
         " Test number limits are 1 to 25",
         "1",
         "1",
         false,
         {"1", "25", "2.5"},
         {"0.99", "25.01"}},
        {"LR40",
         "StartFreq",
         frequencyNotNumber,
         " Start Frequency limits are " + lrFreq,
         "1000",
         "1000",
         false,
         {"20", "1000000", "1M", "0.02k"},
         {"19.9", "1000001"}},
        {"LR40",
         "StopFreq",
         frequencyNotNumber,
         " Stop Frequency limits are " + lrFreq,
         "1000",
         "100000",
         false,
         {"21", "1000000", "1M"},
         {"19.9", "1000001"}},
        {"LR40",
         "SweepSteps",
         "sweepsteps must be a number",
         "sweepsteps limits are 1 to 1000",
         "10",
         "10",
         false,
         {"1", "1000"},
         {"0.5", "1000.01", "0"}},

        {"PX80",
         "freq",
         frequencyNotNumber,
         " Frequency limits are " + pxFreq,
         "1000",
         "1000",
         false,
         {"10", "2000000", "2M", "2m", "0.01k"},
         {"9.99", "2000001", "-10"}},
        {"PX80",
         "Voltage",
         " Voltage must be numeric",
         " Voltage limits are 0.020 to 5.0 VRMS",
         "1",
         "1",
         false,
         {"0.02", "5", "5.0"},
         {"0.019", "5.01"}},
        {"PX80",
         "Range",
         " Range limits are 1 to 59",
         " Range limits are 1 to 59",
         "Auto",
         "Auto",
         false,
         {"1", "59", "Auto", "Hold"},
         {"0.99", "59.5", "60"}},
        {"PX80",
         "Delay",
         "Delay must be a number",
         "Delay limits are 0 to 1000",
         "0",
         "0",
         true,
         {"0", "0.5", "1000"},
         {"-0.5", "1000.1"}},
        {"PX80",
         "num_avg",
         "Average must be a number",
         "Average limits are 1 to 1000",
         "1",
         "1",
         false,
         {"1", "1000"},
         {"0.999", "1001"}},
        {"PX80",
         "StartFreq",
         frequencyNotNumber,
         " Start Frequency limits are " + pxFreq,
         "1000",
         "1000",
         false,
         {"10", "2000000"},
         {"9.9", "2000001"}},
        {"PX80",
         "StopFreq",
         frequencyNotNumber,
         " Stop Frequency limits are " + pxFreq,
         "1000",
         "100000",
         false,
         {"11", "2000000"},
         {"9.9", "2000001"}},
        {"PX80",
         "SweepSteps",
         "sweepsteps must be a number",
         "sweepsteps limits are 1 to 1000",
         "10",
         "10",
         false,
         {"1", "1000"},
         {"0.5", "1001"}},
    };
}

struct Hostile {
    const char* label;
    QString text;
};

// Texts no check may take for a number, except "-0", which is the number 0.
std::vector<Hostile> hostileTexts() {
    return {
        {"empty", QString()},
        {"blanks only", QStringLiteral("   ")},
        {"40000 nines", QString(40000, QLatin1Char('9'))},
        {"nan", QStringLiteral("nan")},
        {"inf", QStringLiteral("inf")},
        {"1e400", QStringLiteral("1e400")},
        {"-0", QStringLiteral("-0")},
        {"0x10", QStringLiteral("0x10")},
        {"1,5", QStringLiteral("1,5")},
        {"full-width digits", QStringLiteral("\uff11\uff10")},
        {"no-break space before 1", QStringLiteral("\u00a01")},
        {"lone k", QStringLiteral("k")},
        {"lone M", QStringLiteral("M")},
    };
}

// StopFreq is checked against a start at its own lower limit, so that every text its own
// check takes also lies above the start.
QString startFor(const CheckedEntry& entry) {
    if (entry.name != QLatin1String("StopFreq"))
        return QString();
    return entry.variant == QLatin1String("LR40") ? QStringLiteral("20") : QStringLiteral("10");
}

// Types the text key by key as the operator does; a long text is pasted.
void enterText(QWidget* entry, const QString& text) {
    entry->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(entry, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(entry, Qt::Key_Delete);
    if (text.size() > 64) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
        return;
    }
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, entry, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The operator clicks elsewhere: a control that has no check of its own.
void leaveEntry(Configure* window) {
    QTest::mouseClick(window->logsweep(), Qt::LeftButton);
}

// What an entry can hold: a line edit keeps at most 32767 characters.
QString heldText(const QString& typed) {
    return typed.left(32767);
}
} // namespace

class BadInput : public QObject {
    Q_OBJECT
private slots:
    void everyCheckedEntry_data();
    void everyCheckedEntry();
};

void BadInput::everyCheckedEntry_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("start"); // typed into StartFreq first, when given
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("recheck"); // leaving the entry again must show nothing

    const auto row = [](const CheckedEntry& e, const QString& label, const QString& typed,
                        const QStringList& messages, const QString& result) {
        const QString name = QStringLiteral("%1 %2 %3").arg(e.variant, e.name, label);
        QTest::newRow(qPrintable(name))
            << e.variant << e.name << startFor(e) << typed << messages << result << true;
    };
    for (const CheckedEntry& e : checkedEntries()) {
        for (const QString& text : e.inside)
            row(e, QLatin1Char('"') + text + QLatin1Char('"'), text, {}, text);
        for (const QString& text : e.outside)
            row(e, QLatin1Char('"') + text + QLatin1Char('"'), text, {e.outOfRange}, e.rangeReset);
        for (const Hostile& h : hostileTexts()) {
            const bool zero = h.text == QLatin1String("-0");
            if (zero && e.zeroPasses)
                row(e, QString::fromLatin1(h.label), h.text, {}, h.text);
            else if (zero)
                row(e, QString::fromLatin1(h.label), h.text, {e.outOfRange}, e.rangeReset);
            else
                row(e, QString::fromLatin1(h.label), h.text, {e.notNumber}, e.notNumberReset);
        }
    }

    // The stop must lie above the start: start + 1 is put back.
    const QString notAbove = QStringLiteral(" StopFreq must be greater than StartFreq");
    QTest::newRow("LR40 StopFreq equal to start") << "LR40"
                                                  << "StopFreq"
                                                  << "20"
                                                  << "20" << QStringList{notAbove} << "21" << true;
    QTest::newRow("PX80 StopFreq equal to start") << "PX80"
                                                  << "StopFreq"
                                                  << "10"
                                                  << "10" << QStringList{notAbove} << "11" << true;
    // Start + 1 is put back without a second check, so it may lie above the limit.
    QTest::newRow("LR40 StopFreq start + 1 above the limit")
        << "LR40"
        << "StopFreq"
        << "1000000"
        << "1000000" << QStringList{notAbove} << "1000001" << false;
    QTest::newRow("PX80 StopFreq start + 1 above the limit")
        << "PX80"
        << "StopFreq"
        << "2000000"
        << "2000000" << QStringList{notAbove} << "2000001" << false;
}

void BadInput::everyCheckedEntry() {
    QFETCH(QString, variant);
    QFETCH(QString, entry);
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(QString, result);
    QFETCH(bool, recheck);

    OpenConfigure c(variant, QStringLiteral("Model LR42"));
    Configure* w = c.window;
    pick(w->SingleorSweep(), QStringLiteral("Sweep"));
    if (!start.isEmpty()) {
        typeInto(w->StartFreq(), start);
        leaveEntry(w);
        QCOMPARE(c.program.dialogs->texts(), QStringList());
    }

    QWidget* control = w->findChild<QWidget*>(entry);
    QVERIFY(control);
    enterText(control, typed);
    QCOMPARE(textOf(control), heldText(typed));
    leaveEntry(w);

    QCOMPARE(c.program.dialogs->texts(), messages);
    for (const ScriptedDialogs::Shown& shown : c.program.dialogs->shown()) {
        QCOMPARE(shown.title, variant); // both programs title every entry message by name
        QCOMPARE(shown.buttons, MessageButtons::Ok);
    }
    QCOMPARE(textOf(control), result);

    if (recheck) {
        c.program.dialogs->clear();
        control->setFocus(Qt::MouseFocusReason);
        leaveEntry(w);
        QCOMPARE(c.program.dialogs->texts(), QStringList());
        QCOMPARE(textOf(control), result);
    }
    QVERIFY(c.program.port->commands().isEmpty());

    // What the entry now holds goes to the instrument as plain text the line can carry.
    c.program.dialogs->clear();
    w->Update()->click();
    QVERIFY(!c.program.port->written().isEmpty());
    for (const char byte : c.program.port->written())
        QVERIFY2(byte == '\r' || byte == '\n' || (byte >= ' ' && byte < 0x7f),
                 qPrintable(QString::number(static_cast<unsigned char>(byte), 16)));
}

QTEST_MAIN(BadInput)
#include "test_bad_input.moc"
