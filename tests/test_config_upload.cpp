// SPDX-License-Identifier: GPL-3.0-or-later
// The two uploads of the configuration window on the fake port: exact command bytes, the
// blocking pauses between them, failures that stop the sequence, and the refusal while a
// measurement run is under way.
#include "test_config_helpers.h"

#include <QPushButton>

namespace {
std::vector<int> pauses(int count) {
    return std::vector<int>(static_cast<std::size_t>(count), 100);
}
} // namespace

class ConfigUpload : public QObject {
    Q_OBJECT
private slots:
    void updateTestSends_data();
    void updateTestSends();
    void primaryLeftByAnyPressReachesTheUpload_data();
    void primaryLeftByAnyPressReachesTheUpload();
    void frequencyCheckRunsFirstAndGoesOn();
    void failureStopsTheSequence_data();
    void failureStopsTheSequence();
    void updateSysSends_data();
    void updateSysSends();
    void updateSysFailureIsReported();
    void uploadsAreRefusedDuringARun();
    void windowMadeDuringARunStartsRefusing();
};

void ConfigUpload::updateTestSends_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<int>("waits");

    QTest::newRow("LR40 initial settings")
        << "LR40" << QStringList()
        << QStringList{"syst:trig ext\\r", "test:test 1\\r",    "conf:ppar Auto\\r",
                       "conf:applv 1\\r",  "conf:freq 1000\\r", "conf:bias Off\\r",
                       "conf:range 0\\r",  "conf:mac High\\r",  "conf:tde 0\\r",
                       "conf:aver 1\\r",   "save save\\r"}
        << 8;
    QTest::newRow("PX80 initial settings")
        << "PX80" << QStringList()
        << QStringList{"conf:trig ext\\n",   "conf:ppar A\\n",    "conf:ACTY V\\n",
                       "conf:ACV 1\\n",      "conf:freq 1000\\n", "conf:bias Off\\n",
                       "conf:range Auto\\n", "conf:mac Fast\\n",  "conf:median OFF\\n",
                       "conf:tdel 0\\n",     "conf:aver 1\\n"}
        << 9;
    QTest::newRow("LR40 DC resistance: no frequency, no bias")
        << "LR40" << QStringList{"Ppar=DCR"}
        << QStringList{"syst:trig ext\\r",  "test:test 1\\r",  "conf:ppar DCR\\r",
                       "conf:spar None\\r", "conf:applv 1\\r", "conf:range 0\\r",
                       "conf:mac High\\r",  "conf:tde 0\\r",   "conf:aver 1\\r",
                       "save save\\r"}
        << 7;
    QTest::newRow("LR40 full upload")
        << "LR40"
        << QStringList{"TestNo=7",     "Ppar=Cs",   "Spar=DF",    "Voltage=0.50", "Bias=ACCpl",
                       "Accuracy=Low", "Delay=2.5", "num_avg=16", "listMedian=ON"}
        << QStringList{"syst:trig ext\\r",   "test:test 7\\r",     "conf:ppar Cs\\r",
                       "conf:spar DF\\r",    "conf:applv 0.50\\r", "conf:freq 1000\\r",
                       "conf:bias ACCpl\\r", "conf:range 0\\r",    "conf:mac Low\\r",
                       "conf:tde 2.5\\r",    "conf:aver 16\\r",    "save save\\r"}
        << 9;
    QTest::newRow("PX80 full upload")
        << "PX80" << QStringList{"Ppar=Cs",       "Spar=DF",   "Voltage=2", "Bias=INT",
                                 "Accuracy=Slow", "Delay=250", "num_avg=4", "listMedian=ON"}
        << QStringList{"conf:trig ext\\n",  "conf:ppar Cs\\n",    "conf:spar DF\\n",
                       "conf:ACTY V\\n",    "conf:ACV 2\\n",      "conf:freq 1000\\n",
                       "conf:bias INT\\n",  "conf:range Auto\\n", "conf:mac Slow\\n",
                       "conf:median ON\\n", "conf:tdel 250\\n",   "conf:aver 4\\n"}
        << 10;
    QTest::newRow("LR40 Auto after a choice keeps the secondary out")
        << "LR40" << QStringList{"Ppar=Cs", "Spar=DF", "Ppar=Auto"}
        << QStringList{"syst:trig ext\\r", "test:test 1\\r",    "conf:ppar Auto\\r",
                       "conf:applv 1\\r",  "conf:freq 1000\\r", "conf:bias Off\\r",
                       "conf:range 0\\r",  "conf:mac High\\r",  "conf:tde 0\\r",
                       "conf:aver 1\\r",   "save save\\r"}
        << 8;

    // Single commands of interest: the rest of the sequence as in the initial rows.
    auto only = [](const char* name, const QString& variant, const QStringList& settings,
                   const QString& command) {
        QTest::newRow(name) << variant << settings << QStringList{command} << -1;
    };
    only("LR40 Hold", "LR40", {"Range=Hold"}, "conf:range 1\\r");
    only("PX80 Hold", "PX80", {"Range=Hold"}, "conf:range Hold\\n");
    only("LR40 typed range", "LR40", {"Range=12"}, "conf:range 12\\r");
    only("PX80 typed range", "PX80", {"Range=12"}, "conf:range 12\\n");
    only("LR40 range half to even, down", "LR40", {"Range=12.5"}, "conf:range 12\\r");
    only("PX80 range half to even, up", "PX80", {"Range=13.5"}, "conf:range 14\\n");
    only("LR40 kilo frequency", "LR40", {"freq=1.5k"}, "conf:freq 1500\\r");
    only("PX80 kilo frequency", "PX80", {"freq=1.5k"}, "conf:freq 1500\\n");
    only("PX80 mega frequency", "PX80", {"freq=2M"}, "conf:freq 2000000\\n");
    only("LR40 fractional frequency", "LR40", {"freq=1500.5"}, "conf:freq 1500.5\\r");
    only("LR40 voltage as typed", "LR40", {"Voltage= 0.5"}, "conf:applv  0.5\\r");
    only("LR40 V is an AC primary", "LR40", {"Ppar=V"}, "conf:freq 1000\\r");
}

void ConfigUpload::updateTestSends() {
    QFETCH(QString, variant);
    QFETCH(QStringList, settings);
    QFETCH(QStringList, commands);
    QFETCH(int, waits);
    OpenConfigure c(variant);
    setAllByOperator(c.window, settings);
    QVERIFY(c.program.dialogs->texts().isEmpty());
    c.program.port->clearRecord();
    c.forgetSleeps();

    QTest::mouseClick(c.window->Update(), Qt::LeftButton);

    QVERIFY(c.program.dialogs->texts().isEmpty());
    if (waits < 0) {
        QVERIFY2(c.program.port->commands().contains(commands.first()),
                 qPrintable(c.program.port->commands().join(QLatin1Char(' '))));
        return;
    }
    QCOMPARE(c.program.port->commands(), commands);
    QCOMPARE(c.sleeps(), pauses(waits));
}

void ConfigUpload::primaryLeftByAnyPressReachesTheUpload_data() {
    QTest::addColumn<QString>("press");
    QTest::newRow("mouse click") << "mouse";
    QTest::newRow("keyboard") << "keyboard";
    QTest::newRow("pressed by the program") << "program";
}

void ConfigUpload::primaryLeftByAnyPressReachesTheUpload() {
    QFETCH(QString, press);
    OpenConfigure c(QStringLiteral("LR40"));
    c.window->Ppar()->setFocus(Qt::MouseFocusReason);
    pick(c.window->Ppar(), QStringLiteral("DCV"));
    QVERIFY(!c.window->bDC()); // the focus has not left Ppar yet

    if (press == QLatin1String("mouse")) {
        QTest::mouseClick(c.window->Update(), Qt::LeftButton);
    } else if (press == QLatin1String("keyboard")) {
        for (int tabs = 0; tabs < 20 && QApplication::focusWidget() != c.window->Update(); ++tabs)
            pressTab();
        QCOMPARE(QApplication::focusWidget(), c.window->Update());
        QTest::keyClick(c.window->Update(), Qt::Key_Space);
    } else {
        c.window->Update()->click();
    }

    QVERIFY(c.window->bDC());
    const QStringList sent = c.program.port->commands();
    QVERIFY(sent.contains(QStringLiteral("conf:ppar DCV\\r")));
    for (const QString& command : sent)
        QVERIFY2(!command.startsWith(QLatin1String("conf:freq")) &&
                     !command.startsWith(QLatin1String("conf:bias")),
                 qPrintable(command));
}

void ConfigUpload::frequencyCheckRunsFirstAndGoesOn() {
    OpenConfigure c(QStringLiteral("LR40"));
    QStringList sentWhenShown;
    c.program.dialogs->onMessage(
        [&](const ScriptedDialogs::Shown&) { sentWhenShown = c.program.port->commands(); });
    c.window->freq()->setText(QStringLiteral("abc")); // never left by the focus

    QTest::mouseClick(c.window->Update(), Qt::LeftButton);

    QCOMPARE(c.program.dialogs->texts(), QStringList{" Frequency must be a number"});
    QCOMPARE(c.program.dialogs->shown().front().title, QStringLiteral("LR40"));
    QVERIFY(sentWhenShown.isEmpty()); // the check comes before any command
    QCOMPARE(c.window->freq()->text(), QStringLiteral("1000"));
    QCOMPARE(c.window->sFreq(), 1000.0f);
    QCOMPARE(c.program.port->commands().size(), 11);
    QVERIFY(c.program.port->commands().contains(QStringLiteral("conf:freq 1000\\r")));
}

void ConfigUpload::failureStopsTheSequence_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");

    QTest::newRow("LR40 port closed")
        << "LR40"
        << "closed" << QStringList() << "Error occurred: Port is not open (Output)"
        << "Configure -> update_click";
    QTest::newRow("PX80 port closed") << "PX80"
                                      << "closed" << QStringList() << "Error Occurred"
                                      << "Error frmMeasure";
    QTest::newRow("LR40 line lost at the fourth command")
        << "LR40"
        << "lost" << QStringList{"syst:trig ext\\r", "test:test 1\\r", "conf:ppar Auto\\r"}
        << "Error occurred: The serial line was lost"
        << "Configure -> update_click";
    QTest::newRow("PX80 line lost at the fourth command")
        << "PX80"
        << "lost" << QStringList{"conf:trig ext\\n", "conf:ppar A\\n", "conf:ACTY V\\n"}
        << "Error Occurred"
        << "Error frmMeasure";
    QTest::newRow("LR40 range beyond 16 bits")
        << "LR40"
        << "range" << QStringList{"syst:trig ext\\r", "test:test 1\\r",    "conf:ppar Auto\\r",
                                  "conf:applv 1\\r",  "conf:freq 1000\\r", "conf:bias Off\\r"}
        << "Error occurred: Range \"40000\" is not a whole number from -32768 to 32767"
        << "Configure -> update_click";
    QTest::newRow("PX80 range beyond 16 bits")
        << "PX80"
        << "range" << QStringList{"conf:trig ext\\n", "conf:ppar A\\n",    "conf:ACTY V\\n",
                                  "conf:ACV 1\\n",    "conf:freq 1000\\n", "conf:bias Off\\n"}
        << "Error Occurred"
        << "Error frmMeasure";
}

void ConfigUpload::failureStopsTheSequence() {
    QFETCH(QString, variant);
    QFETCH(QString, failure);
    QFETCH(QStringList, sent);
    OpenConfigure c(variant);
    if (failure == QLatin1String("closed"))
        c.program.port->setPortOpen(false);
    else if (failure == QLatin1String("lost"))
        c.program.port->loseLineAfterWrites(3);
    else
        c.window->Range()->setEditText(QStringLiteral("40000")); // never left by the focus
    c.program.port->clearRecord();

    QTest::mouseClick(c.window->Update(), Qt::LeftButton);

    QCOMPARE(c.program.port->commands(), sent);
    QCOMPARE(c.program.dialogs->shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown& shown = c.program.dialogs->shown().front();
    QTEST(shown.text, "text");
    QTEST(shown.title, "title");
    QCOMPARE(shown.icon, MessageIcon::Exclamation);
    QCOMPARE(shown.buttons, MessageButtons::Ok);
    QVERIFY(c.window->isVisible());

    // Nothing is left half-done: the operator may press again once the cause is gone.
    if (failure == QLatin1String("range")) {
        c.window->Range()->setEditText(QStringLiteral("Auto"));
        c.program.port->clearRecord();
        c.window->Update()->click();
        QCOMPARE(c.program.port->commands().size(), 11);
    }
}

void ConfigUpload::updateSysSends_data() {
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("initial settings") << QStringList()
                                      << QStringList{"syst:median OFF\\r", "syst cabl 0\\r",
                                                     "syst:level OFF\\r", "syst:srci 0\\r"};
    QTest::newRow("positions, not texts") << QStringList{"ListCable=0", "ListSRC=100"}
                                          << QStringList{"syst:median OFF\\r", "syst cabl 2\\r",
                                                         "syst:level OFF\\r", "syst:srci 3\\r"};
    QTest::newRow("every setting changed")
        << QStringList{"listMedian=ON", "ListCable=2", "ListLevel=ON", "ListSRC=25"}
        << QStringList{"syst:median ON\\r", "syst cabl 1\\r", "syst:level ON\\r", "syst:srci 1\\r"};
    QTest::newRow("fifty ohms") << QStringList{"ListSRC=50"}
                                << QStringList{"syst:median OFF\\r", "syst cabl 0\\r",
                                               "syst:level OFF\\r", "syst:srci 2\\r"};
}

void ConfigUpload::updateSysSends() {
    QFETCH(QStringList, settings);
    QFETCH(QStringList, commands);
    OpenConfigure c(QStringLiteral("LR40"));
    setAllByOperator(c.window, settings);
    c.program.port->clearRecord();
    c.forgetSleeps();

    QTest::mouseClick(c.window->CmdUpSys(), Qt::LeftButton);

    QCOMPARE(c.program.port->commands(), commands);
    QCOMPARE(c.sleeps(), pauses(3));
    QVERIFY(c.program.dialogs->texts().isEmpty());
}

void ConfigUpload::updateSysFailureIsReported() {
    OpenConfigure c(QStringLiteral("LR40"));
    c.program.port->loseLineAfterWrites(2);
    c.program.port->clearRecord();

    QTest::mouseClick(c.window->CmdUpSys(), Qt::LeftButton);

    QCOMPARE(c.program.port->commands(), (QStringList{"syst:median OFF\\r", "syst cabl 0\\r"}));
    QCOMPARE(c.program.dialogs->shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown& shown = c.program.dialogs->shown().front();
    QCOMPARE(shown.text, QStringLiteral("Error occurred: The serial line was lost"));
    QCOMPARE(shown.title, QStringLiteral("Configure -> CmdUpSys_Click"));
    QCOMPARE(shown.icon, MessageIcon::Exclamation);
    QCOMPARE(shown.buttons, MessageButtons::Ok);
}

void ConfigUpload::uploadsAreRefusedDuringARun() {
    OpenConfigure c(QStringLiteral("LR40"));
    c.program.root->setRunInProgress(true);
    QVERIFY(!c.window->Update()->isEnabled());
    QVERIFY(!c.window->CmdUpSys()->isEnabled());
    // Even when reached another way than the disabled buttons.
    c.window->Update_Click();
    c.window->CmdUpSys_Click();
    QVERIFY(c.program.port->commands().isEmpty());

    c.program.root->setRunInProgress(false);
    QVERIFY(c.window->Update()->isEnabled());
    QVERIFY(c.window->CmdUpSys()->isEnabled());
    QTest::mouseClick(c.window->Update(), Qt::LeftButton);
    QCOMPARE(c.program.port->commands().size(), 11);
}

void ConfigUpload::windowMadeDuringARunStartsRefusing() {
    TestProgram p(px80Profile());
    p.connect();
    p.root->setRunInProgress(true);
    Configure& w = p.root->configure();
    QVERIFY(!w.Update()->isEnabled());
    QVERIFY(w.Exit()->isEnabled());
    p.root->setRunInProgress(false);
    QVERIFY(w.Update()->isEnabled());
}

QTEST_MAIN(ConfigUpload)
#include "test_config_upload.moc"
