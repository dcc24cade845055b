// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement window: its controls, load state, button enabling, leaving and Config.
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
#include <QtTest>

namespace {
const QStringList ButtonOrder = {"Start",   "stopbutton", "cmdExit", "Config",
                                 "Lockout", "cmdLog",     "StopLog"};

// "1" or "0" per button, in the order of the enabling table's columns.
QString enabling(FrmMeasure& w) {
    QString bits;
    for (const QString& name : ButtonOrder)
        bits += w.findChild<QPushButton*>(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return bits;
}

const QByteArray Lr40Reply = "1\tCs\t1.0E-9\tF\t0\t3\tD\t0.01\tnone\r\n";
const QByteArray Px80Reply = "Cs\t1.0E-9\tF\tD\t0.01\tnone\r\n";

void answerMeasurements(TestProgram& p) {
    if ((p.root->variant().kind == VariantKind::LR40)) {
        p.port->answer("MEAS:*WAIT:FETC?", Lr40Reply, 0.05);
    } else {
        p.port->answer("*STB?", "0\r\n", 0.05);
        p.port->answer("Fetch?", Px80Reply, 0.05);
    }
}
} // namespace

class MeasureWindowTest : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void variantControls_data();
    void variantControls();
    void configMnemonic_data();
    void configMnemonic();
    void loadState_data();
    void loadState();
    void pictureShown();
    void enablingTable_data();
    void enablingTable();
    void leaving_data();
    void leaving();
    void reopenedWindowStartsAfresh();
    void configOpensConfigurationWithModel_data();
    void configOpensConfigurationWithModel();
    void configOpensEvenWhenSilent();
    void configSerialFailureReported();
};

void MeasureWindowTest::controls_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("tooltip");

    for (const QString variant : {"LR40", "PX80"}) {
        const auto row = [&](const char* name, const QString& caption, const char* colour,
                             const char* tip = "") {
            QTest::addRow("%s %s", qPrintable(variant), name)
                << variant << name << caption << colour << tip;
        };
        row("Start", "Start", "rgb(0, 255, 0)");
        row("stopbutton", "Stop", "rgb(255, 0, 0)");
        row("cmdExit", "Exit", "rgb(224, 224, 224)");
        row("cmdLog", "Log", "rgb(224, 224, 224)");
        row("StopLog", "Stop Logging", "rgb(224, 224, 224)");
        row("Lockout", "Not Locked Out", "rgb(224, 224, 224)");
        row("Config", variant == "LR40" ? "Configure" : "&Configure", "rgb(224, 224, 224)",
            "Copies instrument data to file");
    }
}

void MeasureWindowTest::controls() {
    QFETCH(QString, variant);
    QFETCH(QString, name);
    TestProgram p(variantNamed(variant));
    p.connect();
    auto* button = p.root->frmMeasure().findChild<QPushButton*>(name);
    QVERIFY(button);
    QTEST(button->text(), "caption");
    QTEST(button->toolTip(), "tooltip");
    // The colour comes from a style sheet, so it shows whatever the widget style.
    QFETCH(QString, colour);
    QVERIFY2(button->styleSheet().contains(QStringLiteral("background-color: ") + colour),
             qPrintable(button->styleSheet()));
}

void MeasureWindowTest::variantControls_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // box or label
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("points");
    QTest::addColumn<QString>("background");

    for (const char* box : {"Ppar", "Pvalue", "Punit", "Spar", "svalue", "Sunit"}) {
        QTest::addRow("LR40 %s", box) << "LR40" << box << "box"
                                      << "" << 36.0 << "rgb(255, 255, 255)";
        QTest::addRow("PX80 %s", box) << "PX80" << box << "box"
                                      << "" << 48.0 << "rgb(255, 255, 255)";
    }
    QTest::newRow("LR40 tbxstatus") << "LR40"
                                    << "tbxstatus"
                                    << "box"
                                    << "" << 24.0 << "rgb(192, 192, 192)";
    QTest::newRow("LR40 Test") << "LR40"
                               << "Test"
                               << "box"
                               << "" << 26.25 << "rgb(192, 192, 192)";
    QTest::newRow("LR40 bin") << "LR40"
                              << "bin"
                              << "box"
                              << "" << 26.25 << "rgb(192, 192, 192)";
    QTest::newRow("LR40 lblstatus") << "LR40"
                                    << "lblstatus"
                                    << "label"
                                    << "Status:" << 24.0 << "";
    QTest::newRow("LR40 Label1") << "LR40"
                                 << "Label1"
                                 << "label"
                                 << "TEST" << 26.25 << "";
    QTest::newRow("LR40 Label2") << "LR40"
                                 << "Label2"
                                 << "label"
                                 << "BIN" << 26.25 << "";
    QTest::newRow("PX80 Test is the status box") << "PX80"
                                                 << "Test"
                                                 << "box"
                                                 << "" << 24.0 << "rgb(192, 192, 192)";
    QTest::newRow("PX80 Label1") << "PX80"
                                 << "Label1"
                                 << "label"
                                 << "Status:" << 24.0 << "";
}

void MeasureWindowTest::variantControls() {
    QFETCH(QString, variant);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(double, points);
    TestProgram p(variantNamed(variant));
    p.connect();
    FrmMeasure& w = p.root->frmMeasure();
    QWidget* control = w.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->font().family(), QStringLiteral("Arial"));
    QCOMPARE(control->font().pointSizeF(), points);
    if (kind == QLatin1String("label")) {
        QTEST(qobject_cast<QLabel*>(control)->text(), "text");
    } else {
        auto* box = qobject_cast<QLineEdit*>(control);
        QVERIFY(box);
        QCOMPARE(box->text(), QString());
        QFETCH(QString, background);
        QVERIFY(box->styleSheet().contains(QStringLiteral("background-color: ") + background));
    }
}

void MeasureWindowTest::configMnemonic_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("LR40 has none") << "LR40" << QKeySequence();
    QTest::newRow("PX80 Alt+C") << "PX80" << QKeySequence(Qt::ALT | Qt::Key_C);
}

void MeasureWindowTest::configMnemonic() {
    QFETCH(QString, variant);
    TestProgram p(variantNamed(variant));
    p.connect();
    QTEST(p.root->frmMeasure().Config()->shortcut(), "shortcut");
}

void MeasureWindowTest::loadState_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("LR40") << "LR40" << QStringList{"bin", "Label2"} << QStringList{};
    QTest::newRow("PX80") << "PX80" << QStringList{}
                          << QStringList{"tbxstatus", "bin", "Label2", "lblstatus"};
}

void MeasureWindowTest::loadState() {
    QFETCH(QString, variant);
    QFETCH(QStringList, hidden);
    QFETCH(QStringList, absent);
    TestProgram p(variantNamed(variant));
    p.connect();
    FrmMeasure& w = p.root->frmMeasure();
    QCOMPARE(w.objectName(), QStringLiteral("frmMeasure"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Results"));
    QVERIFY(w.isVisible());
    QCOMPARE(enabling(w), QStringLiteral("1111110"));
    QVERIFY(!w.bLog());
    QVERIFY(!w.StopRequested());
    for (const QString& name : hidden)
        QVERIFY2(!w.findChild<QWidget*>(name)->isVisible(), qPrintable(name));
    for (const QString& name : absent)
        QVERIFY2(!w.findChild<QWidget*>(name), qPrintable(name));
    for (QLineEdit* box : w.findChildren<QLineEdit*>())
        QVERIFY(box->text().isEmpty());
}

void MeasureWindowTest::pictureShown() {
    TestProgram p(lr40Profile());
    p.connect();
    QLabel* picture = p.root->frmMeasure().findChild<QLabel*>(QStringLiteral("Picture1"));
    QVERIFY(picture);
    QVERIFY(!picture->pixmap().isNull());
}

// The enabling table, row by row: after load, during a run, after a completed run, after
// a stop request, after a time-out; each with and without logging.
void MeasureWindowTest::enablingTable_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("logging");
    QTest::addColumn<QString>("expected");

    for (const QString variant : {"LR40", "PX80"}) {
        const auto row = [&](const char* situation, bool logging, const char* expected) {
            QTest::addRow("%s %s%s", qPrintable(variant), situation, logging ? " logging" : "")
                << variant << situation << logging << expected;
        };
        row("load", false, "1111110");
        row("load", true, "1111101");
        row("running", false, "0100000");
        row("running", true, "0100000");
        row("completed", false, "1011110");
        row("completed", true, "1011101");
        row("stop request", false, "1011110");
        row("stop request", true, "1011101");
        row("time-out", false, "0100000");
        row("time-out then stop", true, "1011101");
        row("failure", false, "0100000");
    }
}

void MeasureWindowTest::enablingTable() {
    QFETCH(QString, variant);
    QFETCH(QString, situation);
    QFETCH(bool, logging);
    QTemporaryDir dir;
    TestProgram p(variantNamed(variant));
    p.connect();
    answerMeasurements(p);
    FrmMeasure& w = p.root->frmMeasure();
    if (logging) {
        p.dialogs->queueFile(dir.filePath(QStringLiteral("log.csv")));
        w.cmdLog()->click();
        QVERIFY(w.bLog());
    }

    QString seen;
    if (situation == QLatin1String("running")) {
        p.timing->at(0, [&] { seen = enabling(w); });
        w.Start()->click();
    } else if (situation == QLatin1String("completed")) {
        w.Start()->click();
        QCOMPARE(w.statusBox()->text(), QStringLiteral("Complete"));
    } else if (situation == QLatin1String("stop request")) {
        w.stopbutton()->click();
    } else if (situation.startsWith(QLatin1String("time-out"))) {
        p.port->stopAnswering("MEAS:*WAIT:FETC?");
        p.port->stopAnswering("Fetch?");
        w.Start()->click();
        if (situation.endsWith(QLatin1String("stop")))
            w.stopbutton()->click();
    } else if (situation == QLatin1String("failure")) {
        p.root->configure().StartFreq()->setText(QStringLiteral("abc"));
        w.Start()->click();
        QCOMPARE(p.dialogs->shown().back().title, QStringLiteral("frmMeasure -> Start_Click"));
    }
    if (seen.isEmpty())
        seen = enabling(w);
    QTEST(seen, "expected");
}

void MeasureWindowTest::leaving_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("titleBar");
    QTest::newRow("LR40 Exit") << "LR40" << false;
    QTest::newRow("LR40 close box") << "LR40" << true;
    QTest::newRow("PX80 Exit") << "PX80" << false;
    QTest::newRow("PX80 close box") << "PX80" << true;
}

void MeasureWindowTest::leaving() {
    QFETCH(QString, variant);
    QFETCH(bool, titleBar);
    TestProgram p(variantNamed(variant));
    p.connect();
    Configure& configure = p.root->configure();
    configure.show();
    p.port->clearRecord();
    FrmMeasure& w = p.root->frmMeasure();
    w.cmdPlot()->click();
    const QPointer<SweepView> view = w.sweepView();
    if (titleBar)
        w.close();
    else
        w.cmdExit()->click();
    QVERIFY(!p.root->existingFrmMeasure());
    QVERIFY(p.root->form1().isVisible());
    QVERIFY(!view || !view->isVisible()); // the view goes with its window
    // Neither the configuration window nor the port is closed.
    QCOMPARE(p.root->existingConfigure(), &configure);
    QVERIFY(configure.isVisible());
    QVERIFY(p.port->PortOpen());
    QVERIFY(p.port->commands().isEmpty());
}

void MeasureWindowTest::reopenedWindowStartsAfresh() {
    QTemporaryDir dir;
    TestProgram p(lr40Profile());
    p.connect();
    answerMeasurements(p);
    FrmMeasure& first = p.root->frmMeasure();
    p.dialogs->queueFile(dir.filePath(QStringLiteral("log.csv")));
    first.cmdLog()->click();
    first.Start()->click();
    first.Lockout()->click();
    QVERIFY(!first.Ppar()->text().isEmpty());
    first.cmdExit()->click();

    p.root->form1().Measure()->click();
    FrmMeasure& second = p.root->frmMeasure();
    QVERIFY(&second != &first);
    QCOMPARE(enabling(second), QStringLiteral("1111110"));
    QCOMPARE(second.Lockout()->text(), QStringLiteral("Not Locked Out"));
    QCOMPARE(second.windowTitle(), QStringLiteral("Results"));
    QVERIFY(!second.bLog());
    for (QLineEdit* box : second.findChildren<QLineEdit*>())
        QVERIFY(box->text().isEmpty());
    // The log file stays open, no longer written, until the next start of logging.
    QVERIFY(p.root->resultLog().isOpen());
}

void MeasureWindowTest::configOpensConfigurationWithModel_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QByteArray>("identity");
    QTest::addColumn<QByteArray>("idLine");
    QTest::addColumn<QString>("model");
    QTest::newRow("LR40") << "LR40" << QByteArray("*IDN?")
                          << QByteArray("Marovex, LR42, 12345, 2.10\r\n") << "LR42";
    QTest::newRow("PX80") << "PX80" << QByteArray("*idn?")
                          << QByteArray("Marovex,PX80,54321,1.01\r\n") << "PX80";
}

void MeasureWindowTest::configOpensConfigurationWithModel() {
    QFETCH(QString, variant);
    QFETCH(QByteArray, identity);
    QFETCH(QByteArray, idLine);
    TestProgram p(variantNamed(variant));
    p.connect();
    p.port->answer(identity, idLine, 0.05);
    FrmMeasure& w = p.root->frmMeasure();
    w.Config()->click();
    QVERIFY(p.port->commands().join(QString()).contains(QString::fromLatin1(identity)));
    Configure* configure = p.root->existingConfigure();
    QVERIFY(configure);
    QVERIFY(configure->isVisible());
    QVERIFY(w.isVisible());
    QTEST(configure->Unit()->text(), "model");
    QVERIFY(p.dialogs->shown().empty());
}

void MeasureWindowTest::configOpensEvenWhenSilent() {
    TestProgram p(px80Profile());
    p.connect();
    p.root->frmMeasure().Config()->click();
    QCOMPARE(p.dialogs->shown().size(), std::size_t{1});
    QVERIFY(p.dialogs->shown().front().text.startsWith(QStringLiteral("PX80 not responding")));
    QVERIFY(p.root->existingConfigure());
    QVERIFY(p.root->existingConfigure()->isVisible());
}

void MeasureWindowTest::configSerialFailureReported() {
    TestProgram p(lr40Profile());
    p.connect();
    p.port->loseLineAfterWrites(0);
    p.root->frmMeasure().Config()->click();
    QCOMPARE(p.dialogs->shown().size(), std::size_t{1});
    const ScriptedDialogs::Shown& shown = p.dialogs->shown().front();
    QCOMPARE(shown.text, QStringLiteral("Error occurred: The serial line was lost"));
    QCOMPARE(shown.title, QStringLiteral("frmMeasure -> Config_Click"));
    QCOMPARE(shown.icon, MessageIcon::Exclamation);
    // The window stays usable.
    QVERIFY(p.root->frmMeasure().Config()->isEnabled());
}

QTEST_MAIN(MeasureWindowTest)
#include "test_measure_window.moc"
