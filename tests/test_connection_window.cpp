// SPDX-License-Identifier: GPL-3.0-or-later
// The connection window: start-up, the connect sequence of both programs (including the
// mended failure path) and the exit sequence.
#include "app/Form1.h"
#include "config/Configure.h"
#include "measure/FrmMeasure.h"
#include "support/TestProgram.h"
#include "sweepview/SweepView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

class ConnectionWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpLooks_data();
    void startUpLooks();
    void startUpIgnoresAMissingPort();
    void portListOffersDetectedDevices();
    void connectSendsThePreparation_data();
    void connectSendsThePreparation();
    void connectReadsTheTexts_data();
    void connectReadsTheTexts();
    void failedOpenNamesThePortAndAllowsRetry_data();
    void failedOpenNamesThePortAndAllowsRetry();
    void failedSendIsReported();
    void connectingAgainRepeatsEverything();
    void exitClosesEverything_data();
    void exitClosesEverything();
};

void ConnectionWindow::startUpLooks_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("baudLabel");
    QTest::newRow("LR40") << "LR40"
                          << "Marovex LR40 Vantorel V1.0"
                          << "Version 2.0"
                          << "Baud :";
    QTest::newRow("PX80") << "PX80"
                          << "Marovex PX80 Vantorel V1.0"
                          << "Version 1.01"
                          << "Baud";
}

void ConnectionWindow::startUpLooks() {
    QFETCH(QString, variant);
    TestProgram p(variantNamed(variant));
    p.start();
    Form1& w = p.root->form1();
    QCOMPARE(w.objectName(), QStringLiteral("Form1"));
    QTEST(w.windowTitle(), "caption");
    QVERIFY(w.isVisible());
    QTEST(p.find<QLabel>(&w, "Version")->text(), "version");
    QTEST(p.find<QLabel>(&w, "Label5")->text(), "baudLabel");
    QCOMPARE(p.find<QLabel>(&w, "Label3")->text(), QStringLiteral("ComPort : "));
    QVERIFY(p.find<QLabel>(&w, "Label4") && p.find<QLabel>(&w, "Label6"));

    auto* port = p.find<QComboBox>(&w, "port");
    auto* baud = p.find<QComboBox>(&w, "baud");
    QVERIFY(port->isEditable() && baud->isEditable());
    QCOMPARE(port->currentText(), QStringLiteral("1"));
    QCOMPARE(baud->currentText(), QStringLiteral("9600"));
    QCOMPARE(port->count(), 2);
    QCOMPARE(baud->itemText(1), QStringLiteral("19200"));

    auto* measure = p.find<QPushButton>(&w, "Measure");
    auto* exit = p.find<QPushButton>(&w, "Command3");
    QCOMPARE(measure->text(), QStringLiteral("Finished"));
    QCOMPARE(measure->toolTip(), QStringLiteral("Displays measurement Data"));
    QCOMPARE(exit->text(), QStringLiteral("Exit"));
    QCOMPARE(exit->toolTip(), QStringLiteral("Exits program"));
    QVERIFY(exit->isEnabled());

    QCOMPARE(p.port->operations(), QStringList{"open 1 at 9600"});
    QVERIFY(p.port->PortOpen());
}

void ConnectionWindow::startUpIgnoresAMissingPort() {
    TestProgram p(lr40Profile());
    p.port->failOpenOf(1);
    p.start();
    QVERIFY(!p.port->PortOpen());
    QCOMPARE(p.dialogs->shown().size(), std::size_t(0));
    QCOMPARE(p.root->form1().port()->currentText(), QStringLiteral("1"));
}

void ConnectionWindow::portListOffersDetectedDevices() {
    // Port 1 is /dev/ttyS0 by default, port 2 the device that LCRPANEL_COM2 names.
    const QByteArray com1 = qgetenv("LCRPANEL_COM1"), com2 = qgetenv("LCRPANEL_COM2");
    const auto restore = qScopeGuard([&] {
        qputenv("LCRPANEL_COM1", com1);
        qputenv("LCRPANEL_COM2", com2);
    });
    qunsetenv("LCRPANEL_COM1");
    qputenv("LCRPANEL_COM2", "/dev/ttyACM0");
    TestProgram p(lr40Profile());
    p.port->detect({{"/dev/ttyS0", "", ""},
                    {"/dev/ttyUSB0", "FT232R USB UART", "FTDI"},
                    {"/dev/ttyACM0", "", ""}});
    p.start();
    QComboBox* port = p.root->form1().port();
    const auto items = [port] {
        QStringList shown;
        for (int i = 0; i < port->count(); ++i)
            shown << port->itemText(i) + " | " + port->itemData(i).toString();
        return shown;
    };
    QCOMPARE(port->currentText(), QStringLiteral("1"));
    QCOMPARE(items(), (QStringList{"1 | ", "2 | ", "/dev/ttyS0 - port 1 | /dev/ttyS0",
                                   "/dev/ttyUSB0 - FT232R USB UART (FTDI) | /dev/ttyUSB0",
                                   "/dev/ttyACM0 - port 2 | /dev/ttyACM0"}));

    // An adapter plugged in later shows up when the list opens; the typed text stays.
    p.port->detect({{"/dev/ttyUSB1", "", "FTDI"}});
    port->setEditText(QStringLiteral("/dev/ttyS4"));
    port->showPopup();
    port->hidePopup();
    QCOMPARE(items(), (QStringList{"1 | ", "2 | ", "/dev/ttyUSB1 - FTDI | /dev/ttyUSB1"}));
    QCOMPARE(port->currentText(), QStringLiteral("/dev/ttyS4"));
}

void ConnectionWindow::connectSendsThePreparation_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("operations");
    QTest::newRow("LR40") << "LR40"
                          << QStringList{"syst:trig ext\\r", "syst:disp dmeas\\r",
                                         "syst:fres sci\\r"}
                          << QStringList{"close", "port 1",        "open 1 at 9600",
                                         "close", "settings 9600", "open 1 at 9600"};
    QTest::newRow("PX80") << "PX80" << QStringList{"conf:disp m\\n", "conf:fres sci\\n"}
                          << QStringList{"close", "port 1",        "open 1 at 9600",
                                         "close", "settings 9600", "open 1 at 9600",
                                         "dtr 1", "rts 1",         "inbuffer 0"};
}

void ConnectionWindow::connectSendsThePreparation() {
    QFETCH(QString, variant);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, operations);
    TestProgram p(variantNamed(variant));
    p.start();
    p.port->clearRecord();
    // Bytes already waiting: PX80 discards them before its commands, LR40 leaves them.
    p.port->arrive("stale\r\n", p.timing->now());

    QTest::mouseClick(p.root->form1().Measure(), Qt::LeftButton);

    QCOMPARE(p.port->commands(), commands);
    QCOMPARE(p.port->operations(), operations);
    QCOMPARE(p.port->pendingInput().isEmpty(), variant == QLatin1String("PX80"));
    QVERIFY(!p.root->form1().isVisible());
    QVERIFY(p.root->existingFrmMeasure() && p.root->existingFrmMeasure()->isVisible());
    QCOMPARE(p.root->existingFrmMeasure()->windowTitle(), QStringLiteral("Results"));
    QCOMPARE(p.dialogs->shown().size(), std::size_t(0));
}

void ConnectionWindow::connectReadsTheTexts_data() {
    QTest::addColumn<QString>("portText");
    QTest::addColumn<QString>("baudText");
    QTest::addColumn<QString>("opened");
    QTest::newRow("picked 2 and 19200") << "2"
                                        << "19200"
                                        << "open 2 at 19200";
    QTest::newRow("typed 3 means port 2") << "3"
                                          << "9600"
                                          << "open 2 at 9600";
    QTest::newRow("1 with a blank means port 2") << "1 "
                                                 << "9600"
                                                 << "open 2 at 9600";
    QTest::newRow("19200 with a blank means 9600") << "1"
                                                   << "19200 "
                                                   << "open 1 at 9600";
    QTest::newRow("anything else means 9600") << "1"
                                              << "38400"
                                              << "open 1 at 9600";
    QTest::newRow("typed path") << " /dev/ttyUSB0 "
                                << "19200"
                                << "open /dev/ttyUSB0 at 19200";
    QTest::newRow("listed device") << "/dev/ttyUSB1 - FT232R USB UART (FTDI)"
                                   << "9600"
                                   << "open /dev/ttyUSB1 at 9600";
    // Never completed in place to the listed /dev/ttyS0.
    QTest::newRow("typed start of a listed device") << "/dev/tty"
                                                    << "9600"
                                                    << "open /dev/tty at 9600";
}

void ConnectionWindow::connectReadsTheTexts() {
    QFETCH(QString, portText);
    QFETCH(QString, baudText);
    QFETCH(QString, opened);
    TestProgram p(lr40Profile());
    p.port->detect({{"/dev/ttyUSB1", "FT232R USB UART", "FTDI"}, {"/dev/ttyS0", "", ""}});
    p.start();
    Form1& w = p.root->form1();
    // Typed key by key, as the operator does.
    w.port()->lineEdit()->clear();
    QTest::keyClicks(w.port()->lineEdit(), portText);
    w.baud()->setEditText(baudText);
    w.Measure()->click();
    QCOMPARE(p.port->operations().constLast(), opened);
    QVERIFY(p.port->PortOpen());
}

void ConnectionWindow::failedOpenNamesThePortAndAllowsRetry_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("portText");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("startUpFailed");
    QTest::newRow("LR40 port 1 missing since start-up") << "LR40"
                                                        << "1" << 1 << true;
    QTest::newRow("PX80 port 2 missing") << "PX80"
                                         << "2" << 2 << false;
}

void ConnectionWindow::failedOpenNamesThePortAndAllowsRetry() {
    QFETCH(QString, variant);
    QFETCH(QString, portText);
    QFETCH(int, number);
    QFETCH(bool, startUpFailed);
    TestProgram p(variantNamed(variant));
    p.port->failOpenOf(number);
    if (!startUpFailed)
        p.port->allowOpenOf(1);
    p.start();
    Form1& w = p.root->form1();
    w.port()->setEditText(portText);
    p.port->clearRecord();

    w.Measure()->click();

    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown& box = p.dialogs->shown().front();
    QCOMPARE(box.text, QStringLiteral("Comm port %1 not available").arg(number));
    QCOMPARE(box.buttons, MessageButtons::Ok);
    QCOMPARE(box.title, p.root->variant().applicationTitle);
    QVERIFY(!p.port->PortOpen());
    QVERIFY(w.isVisible());
    QVERIFY(p.root->existingFrmMeasure() == nullptr);
    QVERIFY(p.port->commands().isEmpty());

    // Once the line is back, the next press connects.
    p.port->allowOpenOf(number);
    p.dialogs->clear();
    w.Measure()->click();
    QCOMPARE(p.dialogs->shown().size(), std::size_t(0));
    QVERIFY(p.port->PortOpen());
    QCOMPARE(p.port->commPort(), number);
    QVERIFY(p.root->existingFrmMeasure() && p.root->existingFrmMeasure()->isVisible());
}

void ConnectionWindow::failedSendIsReported() {
    TestProgram p(lr40Profile());
    p.start();
    p.port->loseLineAfterWrites(1);
    p.root->form1().Measure()->click();
    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown& box = p.dialogs->shown().front();
    QCOMPARE(box.text, QStringLiteral("Error occurred: The serial line was lost"));
    QCOMPARE(box.icon, MessageIcon::Exclamation);
    QCOMPARE(box.title, QStringLiteral("Form1 -> Measure_Click"));
    QVERIFY(p.root->form1().isVisible());
    QCOMPARE(p.port->commands(), QStringList{"syst:trig ext\\r"});
}

void ConnectionWindow::connectingAgainRepeatsEverything() {
    TestProgram p(px80Profile());
    p.connect();
    p.root->frmMeasure().cmdExit()->click();
    QVERIFY(p.root->form1().isVisible());
    QVERIFY(p.root->existingFrmMeasure() == nullptr);
    QVERIFY(p.port->PortOpen());

    p.root->form1().Measure()->click();
    QCOMPARE(p.port->commands(), (QStringList{"conf:disp m\\n", "conf:fres sci\\n"}));
    QCOMPARE(p.port->operations().mid(0, 3), (QStringList{"close", "port 1", "open 1 at 9600"}));
    QVERIFY(p.root->existingFrmMeasure()->isVisible());
}

void ConnectionWindow::exitClosesEverything_data() {
    QTest::addColumn<bool>("byTitleBar");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("resultsOpen"); // with their sweep view
    QTest::newRow("Exit button at start") << false << false << false;
    QTest::newRow("title bar at start") << true << false << false;
    QTest::newRow("Exit button after visiting the results") << false << true << false;
    QTest::newRow("Exit button with the results open") << false << true << true;
}

void ConnectionWindow::exitClosesEverything() {
    QFETCH(bool, byTitleBar);
    QFETCH(bool, connected);
    QFETCH(bool, resultsOpen);
    TestProgram p(lr40Profile());
    bool ended = false;
    QObject::connect(p.root.get(), &ProgramRoot::programEnded, [&] { ended = true; });
    QPointer<SweepView> view;
    if (connected) {
        p.connect();
        p.root->configure().show();
        p.root->frmMeasure().cmdPlot()->click();
        view = p.root->frmMeasure().sweepView();
        if (!resultsOpen)
            p.root->frmMeasure().cmdExit()->click();
    } else {
        p.start();
    }

    if (byTitleBar)
        p.root->form1().close();
    else
        QTest::mouseClick(p.root->form1().Command3(), Qt::LeftButton);

    QVERIFY(ended);
    QVERIFY(p.root->ended());
    QVERIFY(!p.port->PortOpen());
    QVERIFY(!p.root->form1().isVisible());
    QVERIFY(p.root->existingConfigure() == nullptr);
    QVERIFY(p.root->existingFrmMeasure() == nullptr);
    QVERIFY(!view || !view->isVisible());
    QCOMPARE(p.dialogs->shown().size(), std::size_t(0));
}

QTEST_MAIN(ConnectionWindow)
#include "test_connection_window.moc"
