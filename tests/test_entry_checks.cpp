// SPDX-License-Identifier: GPL-3.0-or-later
// The entry checks of the configuration window, typed into the real window key by key and
// left with the Tab key or a click elsewhere, as the operator does it.
#include "test_config_helpers.h"

#include <QPushButton>

namespace {
const QString none; // no message expected
}

class EntryCheckBehaviour : public QObject {
    Q_OBJECT
private slots:
    void checkOnLeaving_data();
    void checkOnLeaving();
    void frequencyCheckSetsTestFrequency_data();
    void frequencyCheckSetsTestFrequency();
    void biasLimitFollowsTheModelAtEachCheck();
    void nothingIsCheckedWhileTyping();
    void openingAListIsNotLeavingIt();
    void openingThePrimaryListIsNotLeavingIt();
    void returningTheFocusChecksNoOtherEntry();
    void clickingAnotherControlChecksToo();
};

void EntryCheckBehaviour::checkOnLeaving_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("start"); // typed into StartFreq first, when given
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("focusBack");

    const QString lr41 = QStringLiteral("Model LR41");
    const QString lr42 = QStringLiteral("Model LR42");
    const QString other = QStringLiteral("Model LR49");
    auto row = [](const char* name, const QString& variant, const QString& model,
                  const QString& start, const QString& entry, const QString& typed,
                  const QStringList& messages, const QString& result, bool focusBack) {
        const QString title =
            variant == QLatin1String("LR40") ? QStringLiteral("LR40") : QStringLiteral("PX80");
        QTest::newRow(name) << variant << model << start << entry << typed << messages << title
                            << result << focusBack;
    };
    auto lr40 = [&](const char* name, const QString& entry, const QString& typed,
                    const QString& message, const QString& result, bool focusBack) {
        row(name, "LR40", lr42, QString(), entry, typed,
            message.isEmpty() ? QStringList() : QStringList{message}, result, focusBack);
    };
    auto px80 = [&](const char* name, const QString& entry, const QString& typed,
                    const QString& message, const QString& result, bool focusBack) {
        row(name, "PX80", lr42, QString(), entry, typed,
            message.isEmpty() ? QStringList() : QStringList{message}, result, focusBack);
    };

    // freq
    const QString freqNaN = QStringLiteral(" Frequency must be a number");
    const QString lrFreq = QStringLiteral(" Frequency limits are 20 to 1000000");
    const QString pxFreq = QStringLiteral(" Frequency limits are 10 to 2000000");
    lr40("LR40 freq kilo kept as typed", "freq", "10k", none, "10k", false);
    lr40("LR40 freq kilo with unit", "freq", "10 kHz", none, "10 kHz", false);
    lr40("LR40 freq mega too high", "freq", "2m", lrFreq, "1000", true);
    px80("PX80 freq mega", "freq", "2m", none, "2m", false);
    lr40("LR40 freq leading letter", "freq", "k100", freqNaN, "1000", true);
    lr40("LR40 freq unit without letter", "freq", "1000Hz", freqNaN, "1000", true);
    lr40("LR40 freq word before kilo", "freq", "xk", freqNaN, "1000", true);
    lr40("LR40 freq both kilo letters", "freq", "1k5K", freqNaN, "1000", true);
    lr40("LR40 freq lowest", "freq", "20", none, "20", false);
    lr40("LR40 freq highest", "freq", "1000000", none, "1000000", false);
    lr40("LR40 freq below", "freq", "19.9", lrFreq, "1000", true);
    lr40("LR40 freq above", "freq", "1000001", lrFreq, "1000", true);
    px80("PX80 freq lowest", "freq", "10", none, "10", false);
    px80("PX80 freq highest", "freq", "2000000", none, "2000000", false);
    px80("PX80 freq below", "freq", "9", pxFreq, "1000", true);
    px80("PX80 freq not a number", "freq", "abc", freqNaN, "1000", true);

    // Delay
    const QString lrDelay = QStringLiteral("Delay limits are .01 to 10");
    const QString pxDelay = QStringLiteral("Delay limits are 0 to 1000");
    lr40("LR40 Delay zero", "Delay", "0", none, "0", false);
    lr40("LR40 Delay lowest", "Delay", "0.01", none, "0.01", false);
    lr40("LR40 Delay highest", "Delay", "10", none, "10", false);
    lr40("LR40 Delay between 0 and lowest", "Delay", "0.005", lrDelay, "0", true);
    lr40("LR40 Delay negative", "Delay", "-1", lrDelay, "0", true);
    lr40("LR40 Delay above", "Delay", "10.5", lrDelay, "0", true);
    lr40("LR40 Delay not a number", "Delay", "abc", "Delay must be a number", "0", true);
    px80("PX80 Delay zero", "Delay", "0", none, "0", false);
    px80("PX80 Delay highest", "Delay", "1000", none, "1000", false);
    px80("PX80 Delay negative", "Delay", "-0.5", pxDelay, "0", true);
    px80("PX80 Delay above", "Delay", "1001", pxDelay, "0", true);

    // Range
    const QString lrRange = QStringLiteral(" Range limits are 2 to 21");
    const QString pxRange = QStringLiteral(" Range limits are 1 to 59");
    lr40("LR40 Range Auto", "Range", "Auto", none, "Auto", false);
    lr40("LR40 Range Hold", "Range", "Hold", none, "Hold", false);
    lr40("LR40 Range word in lower case", "Range", "auto", lrRange, "Auto", true);
    lr40("LR40 Range lowest", "Range", "2", none, "2", false);
    lr40("LR40 Range highest", "Range", "21", none, "21", false);
    lr40("LR40 Range below", "Range", "1", lrRange, "Auto", true);
    lr40("LR40 Range above", "Range", "22", lrRange, "Auto", true);
    lr40("LR40 Range not a number", "Range", "abc", lrRange, "Auto", true);
    px80("PX80 Range lowest", "Range", "1", none, "1", false);
    px80("PX80 Range highest", "Range", "59", none, "59", false);
    px80("PX80 Range above", "Range", "60", pxRange, "Auto", true);
    px80("PX80 Range word in upper case", "Range", "HOLD", pxRange, "Auto", true);

    // Bias (LR40 only), limit by model; the focus stays where it went.
    row("LR41 Bias inside", "LR40", lr41, QString(), "Bias", "0.5", {}, "0.5", false);
    row("LR41 Bias above", "LR40", lr41, QString(), "Bias", "1.5",
        {QStringLiteral(" Bias limits are 0 to 1")}, "Off", false);
    row("LR42 Bias inside", "LR40", lr42, QString(), "Bias", "1.5", {}, "1.5", false);
    row("LR42 Bias above", "LR40", lr42, QString(), "Bias", "2.5",
        {QStringLiteral(" Bias limits are 0 to 2")}, "Off", false);
    row("LR42 Bias negative", "LR40", lr42, QString(), "Bias", "-0.1",
        {QStringLiteral(" Bias limits are 0 to 2")}, "Off", false);
    row("other model Bias zero", "LR40", other, QString(), "Bias", "0", {}, "0", false);
    row("other model Bias above zero", "LR40", other, QString(), "Bias", "0.1",
        {QStringLiteral(" Bias limits are 0 to 0")}, "Off", false);
    row("model compared exactly", "LR40", "model lr42", QString(), "Bias", "1",
        {QStringLiteral(" Bias limits are 0 to 0")}, "Off", false);
    row("other model Bias Off", "LR40", other, QString(), "Bias", "Off", {}, "Off", false);
    row("other model Bias ACCpl", "LR40", other, QString(), "Bias", "ACCpl", {}, "ACCpl", false);
    row("LR42 Bias not a number", "LR40", lr42, QString(), "Bias", "abc",
        {QStringLiteral(" Bias limits are 0 to 2")}, "Off", false);
    row("LR42 Bias word in lower case", "LR40", lr42, QString(), "Bias", "off",
        {QStringLiteral(" Bias limits are 0 to 2")}, "Off", false);
    px80("PX80 Bias is not checked", "Bias", "abc", none, "abc", false);

    // TestNo (LR40 only)
    const QString testNo = QStringLiteral(" Test number limits are 1 to 25");
    lr40("LR40 TestNo highest", "TestNo", "25", none, "25", false);
    lr40("LR40 TestNo fraction", "TestNo", "2.5", none, "2.5", false);
    lr40("LR40 TestNo above", "TestNo", "26", testNo, "1", true);
    lr40("LR40 TestNo not a number", "TestNo", "abc", testNo, "1", true);

    // Voltage
    const QString lrVoltage = QStringLiteral(" Voltage limits are 0.020 to 1.0");
    lr40("LR40 Voltage lowest as named", "Voltage", "0.02", none, "0.02", false);
    lr40("LR40 Voltage kept as typed", "Voltage", "0.50", none, "0.50", false);
    lr40("LR40 Voltage highest", "Voltage", "1.0", none, "1.0", false);
    lr40("LR40 Voltage below", "Voltage", "0.019", lrVoltage, "1", true);
    lr40("LR40 Voltage above", "Voltage", "1.1", lrVoltage, "1", true);
    lr40("LR40 Voltage not a number", "Voltage", "abc", " Voltage must be numeric", "1", true);
    px80("PX80 Voltage highest", "Voltage", "5", none, "5", false);
    px80("PX80 Voltage above", "Voltage", "5.1", " Voltage limits are 0.020 to 5.0 VRMS", "1",
         true);
    // A voltage or bias sweep's ends and the step values: the setting's own check, reset to
    // its value in the window ("start": the settings chosen first).
    const QString volts = QStringLiteral("SweepParameter=Voltage");
    row("SweepStart inside", "LR40", lr42, volts, "SweepStart", "0.5", {}, "0.5", false);
    row("SweepStop above", "LR40", lr42, volts, "SweepStop", "1.1", {lrVoltage}, "1", true);
    row("SweepStart kilo", "LR40", lr42, volts, "SweepStart", "1k", {" Voltage must be numeric"},
        "1", true);
    row("LR41 bias SweepStop above", "LR40", lr41, "SweepParameter=Bias", "SweepStop", "1.5",
        {QStringLiteral(" Bias limits are 0 to 1")}, "0", false);
    row("StepValues one above", "LR40", lr42, "StepParameter=Voltage", "StepValues", "0.5,1.1",
        {lrVoltage}, "1", true);
    row("eleven StepValues", "LR40", lr42, "StepParameter=Voltage", "StepValues",
        "1,1,1,1,1,1,1,1,1,1,1", {"Up to 10 step values"}, "1", true);
    row("StepParameter the swept one", "LR40", lr42, volts, "StepParameter", "Voltage",
        {"The stepped setting must differ from the swept one"}, "None", false);

    // num_avg and SweepSteps
    lr40("LR40 num_avg below", "num_avg", "0.5", "Average limits are 1 to 1000", "1", true);
    lr40("LR40 num_avg highest", "num_avg", "1000", none, "1000", false);
    px80("PX80 num_avg not a number", "num_avg", "x", "Average must be a number", "1", true);
    lr40("LR40 SweepSteps above", "SweepSteps", "1001", "sweepsteps limits are 1 to 1000", "10",
         true);
    px80("PX80 SweepSteps above", "SweepSteps", "1001", "sweepsteps limits are 1 to 1000", "10",
         true);
    lr40("LR40 SweepSteps not a number", "SweepSteps", "abc", "sweepsteps must be a number", "10",
         true);

    // StartFreq
    lr40("LR40 StartFreq below", "StartFreq", "10", " Start Frequency limits are 20 to 1000000",
         "1000", true);
    px80("PX80 StartFreq below", "StartFreq", "9", " Start Frequency limits are 10 to 2000000",
         "1000", true);
    lr40("LR40 StartFreq not a number", "StartFreq", "abc", freqNaN, "1000", true);
    lr40("LR40 StartFreq kilo kept", "StartFreq", "5k", none, "5k", false);

    // StopFreq and the stop-above-start rule
    const QString notAbove = QStringLiteral(" StopFreq must be greater than StartFreq");
    const QString lrStop = QStringLiteral(" Stop Frequency limits are 20 to 1000000");
    row("StopFreq above start", "LR40", lr42, "5000", "StopFreq", "10000", {}, "10000", false);
    row("StopFreq equal to start", "LR40", lr42, "1000", "StopFreq", "1000", {notAbove}, "1001",
        true);
    row("PX80 StopFreq below start", "PX80", lr42, "1000", "StopFreq", "500", {notAbove}, "1001",
        true);
    row("StopFreq below kilo start", "LR40", lr42, "10k", "StopFreq", "5000", {notAbove}, "10001",
        true);
    row("StopFreq kilo above kilo start", "LR40", lr42, "5k", "StopFreq", "10k", {}, "10k", false);
    row("StopFreq not a number, no second message", "LR40", lr42, "200000", "StopFreq", "abc",
        {freqNaN}, "1000", true);
    row("StopFreq above its limit", "LR40", lr42, "1000", "StopFreq", "2000000", {lrStop}, "100000",
        true);
    row("StopFreq above its limit, reset below start", "LR40", lr42, "500000", "StopFreq",
        "2000000", {lrStop, notAbove}, "500001", true);
    row("StopFreq may exceed its limit after start + 1", "LR40", lr42, "1000000", "StopFreq",
        "1000000", {notAbove}, "1000001", true);
    row("PX80 StopFreq above its limit", "PX80", lr42, "1000", "StopFreq", "3m",
        {QStringLiteral(" Stop Frequency limits are 10 to 2000000")}, "100000", true);
}

void EntryCheckBehaviour::checkOnLeaving() {
    QFETCH(QString, variant);
    QFETCH(QString, model);
    QFETCH(QString, start);
    QFETCH(QString, entry);
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(QString, title);
    QFETCH(QString, result);
    QFETCH(bool, focusBack);

    OpenConfigure c(variant, model);
    Configure* w = c.window;
    pick(w->SingleorSweep(), QStringLiteral("Sweep"));
    if (start.contains(QLatin1Char('=')))
        setAllByOperator(w, {start});
    else if (!start.isEmpty()) {
        typeInto(w->StartFreq(), start);
        pressTab();
    }
    c.program.dialogs->clear();

    QWidget* control = w->findChild<QWidget*>(entry);
    QVERIFY(control);
    auto* list = qobject_cast<QComboBox*>(control);
    if (list && !list->isEditable()) { // refuses as soon as chosen
        control->setFocus(Qt::MouseFocusReason);
        pick(list, typed);
    } else {
        typeInto(control, typed);
        QCOMPARE(textOf(control), typed);
    }
    pressTab();

    QCOMPARE(c.program.dialogs->texts(), messages);
    for (const ScriptedDialogs::Shown& shown : c.program.dialogs->shown()) {
        QCOMPARE(shown.title, title);
        QCOMPARE(shown.buttons, MessageButtons::Ok);
        QCOMPARE(shown.icon, MessageIcon::None);
    }
    QCOMPARE(textOf(control), result);
    QCOMPARE(QApplication::focusWidget() == control, focusBack);
    if (entry == QLatin1String("Bias") && !messages.isEmpty())
        QCOMPARE(QApplication::focusWidget(), w->Range()); // left where the Tab key put it
    QVERIFY(c.program.port->commands().isEmpty());
}

void EntryCheckBehaviour::frequencyCheckSetsTestFrequency_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<float>("hertz");
    QTest::newRow("kilo") << "LR40"
                          << "10k" << 10000.0f;
    QTest::newRow("kilo with unit") << "LR40"
                                    << "10 kHz" << 10000.0f;
    QTest::newRow("fraction kilo") << "PX80"
                                   << "1.5k" << 1500.0f;
    QTest::newRow("PX80 mega") << "PX80"
                               << "2m" << 2000000.0f;
    QTest::newRow("LR40 mega refused") << "LR40"
                                       << "2m" << 1000.0f;
    QTest::newRow("not a number") << "LR40"
                                  << "abc" << 1000.0f;
    QTest::newRow("fraction") << "LR40"
                              << "1500.5" << 1500.5f;
}

void EntryCheckBehaviour::frequencyCheckSetsTestFrequency() {
    QFETCH(QString, variant);
    QFETCH(QString, typed);
    OpenConfigure c(variant);
    QCOMPARE(c.window->sFreq(), 0.0f); // until the first check
    typeInto(c.window->freq(), typed);
    pressTab();
    QTEST(c.window->sFreq(), "hertz");
}

void EntryCheckBehaviour::biasLimitFollowsTheModelAtEachCheck() {
    OpenConfigure c(QStringLiteral("LR40"), QStringLiteral("Model LR41"));
    typeInto(c.window->Bias(), QStringLiteral("1.5"));
    pressTab();
    QCOMPARE(c.program.dialogs->texts(), QStringList{" Bias limits are 0 to 1"});

    // A new identification changes the limit without any other step.
    c.program.root->module1().Identity.Model = QStringLiteral("Model LR42");
    c.program.dialogs->clear();
    typeInto(c.window->Bias(), QStringLiteral("1.5"));
    pressTab();
    QVERIFY(c.program.dialogs->texts().isEmpty());
    QCOMPARE(c.window->Bias()->currentText(), QStringLiteral("1.5"));
}

void EntryCheckBehaviour::nothingIsCheckedWhileTyping() {
    OpenConfigure c(QStringLiteral("LR40"));
    typeInto(c.window->freq(), QStringLiteral("abc"));
    typeInto(c.window->Voltage(), QStringLiteral("9")); // the click into Voltage leaves freq
    QCOMPARE(c.program.dialogs->texts(), QStringList{" Frequency must be a number"});
    QCOMPARE(QApplication::focusWidget(), c.window->freq());
    // Voltage was typed into while freq had the focus back: its text waits for its own
    // focus loss, which only comes once the operator leaves it.
    QCOMPARE(c.window->Voltage()->text(), QStringLiteral("9"));
}

void EntryCheckBehaviour::openingAListIsNotLeavingIt() {
    OpenConfigure c(QStringLiteral("LR40"));
    typeInto(c.window->Range(), QStringLiteral("abc"));
    c.window->Range()->showPopup();
    QCoreApplication::processEvents();
    c.window->Range()->hidePopup();
    QCoreApplication::processEvents();
    QVERIFY(c.program.dialogs->texts().isEmpty());
    QCOMPARE(c.window->Range()->currentText(), QStringLiteral("abc"));
}

void EntryCheckBehaviour::openingThePrimaryListIsNotLeavingIt() {
    OpenConfigure c(QStringLiteral("LR40"));
    c.window->Ppar()->setFocus(Qt::MouseFocusReason);
    pick(c.window->Ppar(), QStringLiteral("DCR"));
    c.window->Ppar()->showPopup();
    QCoreApplication::processEvents();
    c.window->Ppar()->hidePopup();
    QCoreApplication::processEvents();
    QVERIFY(!c.window->bDC()); // set only when the focus really leaves
    pressTab();
    QVERIFY(c.window->bDC());
}

void EntryCheckBehaviour::returningTheFocusChecksNoOtherEntry() {
    // Voltage holds a bad text (set without the operator) and is next in the Tab order:
    // the freq check's message and its return of the focus must not check Voltage, and
    // nothing may loop.
    OpenConfigure c(QStringLiteral("LR40"));
    c.window->Voltage()->setText(QStringLiteral("abc"));
    int shownWhileFocusMoves = 0;
    c.program.dialogs->onMessage([&](const ScriptedDialogs::Shown&) {
        // A real message box takes the focus while it is shown.
        ++shownWhileFocusMoves;
        c.window->Update()->setFocus(Qt::OtherFocusReason);
    });
    typeInto(c.window->freq(), QStringLiteral("abc"));
    pressTab();
    QCOMPARE(shownWhileFocusMoves, 1);
    QCOMPARE(c.program.dialogs->texts(), QStringList{" Frequency must be a number"});
    QCOMPARE(QApplication::focusWidget(), c.window->freq());
    QCOMPARE(c.window->freq()->text(), QStringLiteral("1000"));
    QCOMPARE(c.window->Voltage()->text(), QStringLiteral("abc"));
}

void EntryCheckBehaviour::clickingAnotherControlChecksToo() {
    OpenConfigure c(QStringLiteral("PX80"));
    typeInto(c.window->num_avg(), QStringLiteral("0"));
    QTest::mouseClick(c.window->Voltage(), Qt::LeftButton);
    QCOMPARE(c.program.dialogs->texts(), QStringList{"Average limits are 1 to 1000"});
    QCOMPARE(c.window->num_avg()->text(), QStringLiteral("1"));
    QCOMPARE(QApplication::focusWidget(), c.window->num_avg());
}

QTEST_MAIN(EntryCheckBehaviour)
#include "test_entry_checks.moc"
