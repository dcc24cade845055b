// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration window itself: its controls, labels, lists and initial values in both
// programs, its layout and colours, its life (creation, Exit, title-bar close) and the
// single-or-sweep choice.
#include "test_config_helpers.h"

#include "measure/FrmMeasure.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleFactory>

namespace {
QRect placeOf(QWidget* control, QWidget* window) {
    return QRect(control->mapTo(window, QPoint(0, 0)), control->size());
}

QColor colourInside(QWidget* widget, QPoint point) {
    return widget->grab().toImage().pixelColor(point);
}

// Some styles shade a list's face by a hair.
bool nearly(const QColor& seen, const QColor& wanted) {
    return qAbs(seen.red() - wanted.red()) <= 2 && qAbs(seen.green() - wanted.green()) <= 2 &&
           qAbs(seen.blue() - wanted.blue()) <= 2;
}
} // namespace

class ConfigWindow : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void controlsOnlyLr40Has();
    void buttonsFramesAndUnit_data();
    void buttonsFramesAndUnit();
    void layout_data();
    void layout();
    void coloursShowUnderEveryStyle_data();
    void coloursShowUnderEveryStyle();
    void tabOrder_data();
    void tabOrder();
    void creationSendsItsCommandOnce_data();
    void creationSendsItsCommandOnce();
    void failedCreationCommandIsReported();
    void openedByTheConfigButton();
    void sweepFrameFollowsPicksOnly();
};

void ConfigWindow::controls_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("initial");

    const QStringList noItems;
    const QStringList onOff = {"OFF", "ON"};
    const QStringList range = {"Auto", "Hold"};
    const QStringList sweep = {"Single Measurement", "Sweep"};
    for (const char* variant : {"LR40", "PX80"}) {
        const bool lr40 = QLatin1String(variant) == QLatin1String("LR40");
        auto row = [&](const char* name, const char* kind, const QString& label,
                       const QStringList& items, const QString& initial) {
            QTest::addRow("%s %s", variant, name)
                << variant << name << kind << label << items << initial;
        };
        row("freq", "text", "Frequency (Hz)", noItems, "1000");
        row("Voltage", "text", "Voltage (VRMS)", noItems, "1");
        row("Bias", "editable", "Bias",
            lr40 ? QStringList{"Off", "ACCpl"} : QStringList{"EXT", "INT", "Off"}, "Off");
        row("Range", "editable", "Range", range, "Auto");
        row("Accuracy", "list", "Accuracy",
            lr40 ? QStringList{"High", "Medium", "Low"} : QStringList{"Slow", "Medium", "Fast"},
            lr40 ? "High" : "Fast");
        row("Delay", "text", lr40 ? "Delay" : "Delay (ms)", noItems, "0");
        row("num_avg", "text", "Number to Average", noItems, "1");
        row("listMedian", "list", "Median", onOff, "OFF");
        row("SingleorSweep", "editable", QString(), sweep, "Single Measurement");
        row("logsweep", "check", QString(), noItems, "Log Sweep");
        row("StartFreq", "text", "Start Frequency (Hz)", noItems, "1000");
        row("StopFreq", "text", "Stop Frequency (Hz)", noItems, "100000");
        row("SweepSteps", "text", "Sweep Steps", noItems, "10");
        if (!lr40)
            continue;
        row("TestNo", "text", "Test Number", noItems, "1");
        row("ListCable", "list", "Cable Comp.", {"1", "2", "0"}, "1");
        row("ListLevel", "list", "Leveling", onOff, "OFF");
        row("ListSRC", "list", "Source Res.", {"5", "25", "50", "100"}, "5");
    }
    QTest::newRow("LR40 Ppar") << "LR40"
                               << "Ppar"
                               << "list"
                               << "Primary Parameter" << QStringList() << "Auto";
    QTest::newRow("PX80 Spar") << "PX80"
                               << "Spar"
                               << "list"
                               << "Secondary Parameter" << QStringList() << "Ls";
}

void ConfigWindow::controls() {
    QFETCH(QString, variant);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, label);
    QFETCH(QStringList, items);
    QFETCH(QString, initial);
    OpenConfigure c(variant);
    QWidget* control = c.window->findChild<QWidget*>(name);
    QVERIFY(control);

    if (kind == QLatin1String("check")) {
        auto* box = qobject_cast<QCheckBox*>(control);
        QVERIFY(box);
        QCOMPARE(box->text(), initial);
        QVERIFY(!box->isChecked());
        return;
    }
    if (kind == QLatin1String("text")) {
        QVERIFY(qobject_cast<QLineEdit*>(control));
    } else {
        auto* list = qobject_cast<QComboBox*>(control);
        QVERIFY(list);
        QCOMPARE(list->isEditable(), kind == QLatin1String("editable"));
        if (!items.isEmpty()) {
            QStringList shown;
            for (int i = 0; i < list->count(); ++i)
                shown << list->itemText(i);
            QCOMPARE(shown, items);
        }
    }
    QCOMPARE(textOf(control), initial);

    QLabel* beside = nullptr;
    for (QLabel* l : c.window->findChildren<QLabel*>())
        if (l->buddy() == control)
            beside = l;
    if (label.isEmpty()) {
        QVERIFY(!beside);
        return;
    }
    QVERIFY(beside);
    QCOMPARE(beside->text(), label);
    QCOMPARE(beside->objectName(), QStringLiteral("lbl") + name);
    QVERIFY(!beside->isHidden());
}

void ConfigWindow::controlsOnlyLr40Has() {
    OpenConfigure c(QStringLiteral("PX80"));
    for (const char* name : {"TestNo", "ListCable", "ListLevel", "ListSRC", "CmdUpSys", "Frame1"})
        QVERIFY2(!c.window->findChild<QWidget*>(name), name);
    QVERIFY(!c.window->TestNo() && !c.window->CmdUpSys() && !c.window->Frame1());
}

void ConfigWindow::buttonsFramesAndUnit_data() {
    QTest::addColumn<QString>("variant");
    QTest::newRow("LR40") << "LR40";
    QTest::newRow("PX80") << "PX80";
}

void ConfigWindow::buttonsFramesAndUnit() {
    QFETCH(QString, variant);
    OpenConfigure c(variant);
    Configure* w = c.window;
    QCOMPARE(w->objectName(), QStringLiteral("Configure"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Configuration"));

    QCOMPARE(w->Update()->objectName(), QStringLiteral("Update"));
    QCOMPARE(w->Update()->text(), QStringLiteral("Update Test"));
    QCOMPARE(w->Update()->toolTip(), QStringLiteral("Sends configuration Data to LR40"));
    QCOMPARE(w->Exit()->objectName(), QStringLiteral("Exit"));
    QCOMPARE(w->Exit()->text(), QStringLiteral("Exit"));
    QCOMPARE(w->Exit()->toolTip(), QStringLiteral("Exits without updating LR40"));
    if (variant == QLatin1String("LR40")) {
        QCOMPARE(w->CmdUpSys()->objectName(), QStringLiteral("CmdUpSys"));
        QCOMPARE(w->CmdUpSys()->text(), QStringLiteral("Update Sys"));
        QVERIFY(w->CmdUpSys()->toolTip().isEmpty());
        QCOMPARE(w->Frame1()->objectName(), QStringLiteral("Frame1"));
    }

    QGroupBox* frame = w->fraSweepControls();
    QCOMPARE(frame->objectName(), QStringLiteral("fraSweepControls"));
    QCOMPARE(frame->title(), QStringLiteral("Sweep Controls"));
    QVERIFY(!frame->isVisible());
    for (QWidget* inside :
         {static_cast<QWidget*>(w->logsweep()), static_cast<QWidget*>(w->StartFreq()),
          static_cast<QWidget*>(w->StopFreq()), static_cast<QWidget*>(w->SweepSteps())})
        QCOMPARE(inside->parentWidget(), frame);

    QCOMPARE(w->Unit()->objectName(), QStringLiteral("Unit"));
    QCOMPARE(w->Unit()->font().family(), QStringLiteral("Arial"));
    QVERIFY(qAbs(w->Unit()->font().pointSizeF() - 20.0) < 2.0);
    QVERIFY(w->Unit()->isReadOnly());
    QVERIFY(placeOf(w->Unit(), w).width() > w->width() * 3 / 4); // across the top
    QVERIFY(placeOf(w->Unit(), w).bottom() < placeOf(w->Ppar(), w).top());
}

void ConfigWindow::layout_data() {
    QTest::addColumn<QString>("variant");
    QTest::newRow("LR40") << "LR40";
    QTest::newRow("PX80") << "PX80";
}

void ConfigWindow::layout() {
    QFETCH(QString, variant);
    OpenConfigure c(variant);
    Configure* w = c.window;
    pick(w->SingleorSweep(), QStringLiteral("Sweep"));
    auto at = [w](QWidget* control) { return placeOf(control, w); };

    // The left column top to bottom.
    QList<QWidget*> left = {w->Ppar(),  w->Spar(),     w->freq(),  w->Voltage(), w->Bias(),
                            w->Range(), w->Accuracy(), w->Delay(), w->num_avg()};
    if (w->TestNo())
        left.prepend(w->TestNo());
    else
        left.append(w->listMedian());
    for (int i = 1; i < left.size(); ++i) {
        QVERIFY2(at(left[i]).top() > at(left[i - 1]).top(), qPrintable(left[i]->objectName()));
        QCOMPARE(at(left[i]).left(), at(left[0]).left());
    }
    // The sweep choice and its frame on the right, the frame below the choice.
    QVERIFY(at(w->SingleorSweep()).left() > at(w->freq()).right());
    QVERIFY(at(w->fraSweepControls()).top() > at(w->SingleorSweep()).bottom());

    if (variant == QLatin1String("LR40")) {
        const QRect divider = at(w->Frame1());
        QVERIFY(divider.width() <= 10);
        QVERIFY(divider.left() > at(w->freq()).right());
        QVERIFY(divider.right() < at(w->listMedian()).left());
        QVERIFY(divider.top() <= at(w->TestNo()).top());
        QVERIFY(divider.bottom() >= at(w->Exit()).top());
        QList<QWidget*> right = {w->listMedian(),       w->ListCable(), w->ListLevel(),
                                 w->ListSRC(),          w->CmdUpSys(),  w->SingleorSweep(),
                                 w->fraSweepControls(), w->Exit()};
        for (int i = 1; i < right.size(); ++i)
            QVERIFY2(at(right[i]).top() > at(right[i - 1]).bottom(),
                     qPrintable(right[i]->objectName()));
        QVERIFY(at(w->Update()).top() > at(w->num_avg()).bottom());
        QVERIFY(at(w->Update()).right() < divider.left());
        QVERIFY(at(w->Exit()).right() >= at(w->fraSweepControls()).right() - 1); // bottom right
    } else {
        QCOMPARE(at(w->Update()).top(), at(w->Exit()).top()); // side by side at the bottom
        QVERIFY(at(w->Update()).right() < at(w->Exit()).left());
        QVERIFY(at(w->Update()).top() > at(w->listMedian()).bottom());
        QVERIFY(at(w->Update()).top() > at(w->fraSweepControls()).bottom());
    }
}

void ConfigWindow::coloursShowUnderEveryStyle_data() {
    QTest::addColumn<QString>("style");
    for (const QString& key : QStyleFactory::keys())
        QTest::newRow(qPrintable(key)) << key;
}

void ConfigWindow::coloursShowUnderEveryStyle() {
    QFETCH(QString, style);
    QStyle* previous = QApplication::style();
    const QString previousName = previous->name();
    QApplication::setStyle(QStyleFactory::create(style));
    {
        OpenConfigure c(QStringLiteral("LR40"));
        Configure* w = c.window;
        QCOMPARE(colourInside(w, QPoint(2, w->height() - 3)), QColor(0xC0, 0xC0, 0xC0));
        QPushButton* update = w->Update();
        QCOMPARE(colourInside(update, QPoint(4, update->height() / 2)), QColor(0xE0, 0xE0, 0xE0));
        QCOMPARE(colourInside(w->freq(), QPoint(w->freq()->width() - 5, w->freq()->height() / 2)),
                 QColor(Qt::white));
        const QColor list =
            colourInside(w->Ppar(), QPoint(w->Ppar()->width() * 3 / 5, w->Ppar()->height() / 2));
        QVERIFY2(nearly(list, Qt::white), qPrintable(list.name()));
    }
    QApplication::setStyle(QStyleFactory::create(previousName));
}

void ConfigWindow::tabOrder_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("LR40") << "LR40"
                          << QStringList{"TestNo",    "Ppar",      "freq",       "Voltage",
                                         "Bias",      "Range",     "Accuracy",   "Delay",
                                         "num_avg",   "Update",    "listMedian", "ListCable",
                                         "ListLevel", "ListSRC",   "CmdUpSys",   "SingleorSweep",
                                         "logsweep",  "StartFreq", "StopFreq",   "SweepSteps",
                                         "Exit"};
    QTest::newRow("PX80") << "PX80"
                          << QStringList{"Ppar",       "freq",          "Voltage",  "Bias",
                                         "Range",      "Accuracy",      "Delay",    "num_avg",
                                         "listMedian", "SingleorSweep", "logsweep", "StartFreq",
                                         "StopFreq",   "SweepSteps",    "Update",   "Exit"};
}

void ConfigWindow::tabOrder() {
    QFETCH(QString, variant);
    QFETCH(QStringList, order);
    OpenConfigure c(variant);
    pick(c.window->SingleorSweep(), QStringLiteral("Sweep"));
    c.window->findChild<QWidget*>(order.first())->setFocus(Qt::MouseFocusReason);
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < order.size(); ++i) {
        pressTab();
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order); // Spar is passed over while disabled
    QVERIFY(c.program.dialogs->texts().isEmpty());
}

void ConfigWindow::creationSendsItsCommandOnce_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<int>("waits");
    QTest::newRow("LR40") << "LR40" << QStringList{"option 00 08 \\r"} << 1;
    QTest::newRow("PX80") << "PX80" << QStringList() << 0;
}

void ConfigWindow::creationSendsItsCommandOnce() {
    QFETCH(QString, variant);
    QFETCH(QStringList, commands);
    QFETCH(int, waits);
    TestProgram p(variantNamed(variant));
    p.connect();
    const std::size_t sleptBefore = p.timing->sleeps().size();

    Configure* first = &p.root->configure();
    QCOMPARE(p.port->commands(), commands);
    QCOMPARE(p.timing->sleeps().size() - sleptBefore, std::size_t(waits));
    if (waits)
        QCOMPARE(p.timing->sleeps().back(), 100);
    QCOMPARE(first->sFreq(), 0.0f);
    QVERIFY(!first->bDC());
    first->show();
    QApplication::setActiveWindow(first);

    // Changed settings survive Exit, and reopening sends nothing.
    first->freq()->setText(QStringLiteral("2k"));
    pick(first->Range(), QStringLiteral("Hold"));
    pick(first->SingleorSweep(), QStringLiteral("Sweep"));
    first->logsweep()->setChecked(true);
    p.port->clearRecord();
    QTest::mouseClick(first->Exit(), Qt::LeftButton);
    QVERIFY(!first->isVisible());
    QVERIFY(p.root->existingFrmMeasure()->isVisible());
    QVERIFY(p.port->commands().isEmpty());

    Configure* again = &p.root->configure();
    again->show();
    QCOMPARE(again, first);
    QVERIFY(p.port->commands().isEmpty());
    QCOMPARE(again->freq()->text(), QStringLiteral("2k"));
    QCOMPARE(again->Range()->currentText(), QStringLiteral("Hold"));
    QVERIFY(again->fraSweepControls()->isVisible());
    QVERIFY(again->logsweep()->isChecked());

    // The title bar's close discards it: the next touch starts from the defaults again.
    again->close();
    QVERIFY(!p.root->existingConfigure());
    Configure* fresh = &p.root->configure();
    QVERIFY(fresh != first);
    QCOMPARE(p.port->commands(), commands);
    QCOMPARE(fresh->freq()->text(), QStringLiteral("1000"));
    QCOMPARE(fresh->Range()->currentText(), QStringLiteral("Auto"));
    QCOMPARE(fresh->Spar()->isEnabled(), false);
    QVERIFY(!fresh->logsweep()->isChecked());
    fresh->show();
    QVERIFY(!fresh->fraSweepControls()->isVisible());
    QVERIFY(p.dialogs->texts().isEmpty());
}

void ConfigWindow::failedCreationCommandIsReported() {
    TestProgram p(lr40Profile());
    p.connect();
    p.port->setPortOpen(false);
    Configure& w = p.root->configure();
    QCOMPARE(p.dialogs->shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown& shown = p.dialogs->shown().front();
    QCOMPARE(shown.text, QStringLiteral("Error occurred: Port is not open (Output)"));
    QCOMPARE(shown.title, QStringLiteral("Configure -> Form_Load"));
    QCOMPARE(shown.icon, MessageIcon::Exclamation);
    // The window is made all the same, with its initial values.
    QCOMPARE(p.root->existingConfigure(), &w);
    QCOMPARE(w.Voltage()->text(), QStringLiteral("1"));
    QCOMPARE(w.Spar()->currentText(), QStringLiteral("None"));
}

void ConfigWindow::sweepFrameFollowsPicksOnly() {
    OpenConfigure c(QStringLiteral("PX80"));
    Configure* w = c.window;
    QComboBox* choice = w->SingleorSweep();

    // Typed text is no pick, even when it equals the entry, left by Tab or Enter.
    typeInto(choice, QStringLiteral("Sweep"));
    pressTab();
    QVERIFY(!w->fraSweepControls()->isVisible());
    typeInto(choice, QStringLiteral("Sweep"));
    QTest::keyClick(choice, Qt::Key_Return);
    QVERIFY(!w->fraSweepControls()->isVisible());
    QCOMPARE(choice->currentText(), QStringLiteral("Sweep"));

    pick(choice, QStringLiteral("Sweep"));
    QVERIFY(w->fraSweepControls()->isVisible());
    typeInto(w->StartFreq(), QStringLiteral("2k"));
    pick(choice, QStringLiteral("Single Measurement"));
    QVERIFY(!w->fraSweepControls()->isVisible());
    QCOMPARE(w->StartFreq()->text(), QStringLiteral("2k"));

    // Arrow keys on the closed list pick too.
    choice->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(choice, Qt::Key_Down);
    QCOMPARE(choice->currentText(), QStringLiteral("Sweep"));
    QVERIFY(w->fraSweepControls()->isVisible());
    QCOMPARE(w->StartFreq()->text(), QStringLiteral("2k"));
    QVERIFY(c.program.port->commands().isEmpty());
}

void ConfigWindow::openedByTheConfigButton() {
    TestProgram p(lr40Profile());
    p.connect();
    p.port->answer("*IDN?", "Marovex, Model LR41, 1, 1.05\r\n", 0.2);
    QPushButton* config = p.root->frmMeasure().Config();

    QTest::mouseClick(config, Qt::LeftButton);
    QCOMPARE(p.port->commands(), (QStringList{"\\r", "*IDN?\\r", "option 00 08 \\r"}));
    Configure* w = p.root->existingConfigure();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->Unit()->text(), QStringLiteral("Model LR41"));

    // The bias limit comes from the model the query found.
    QApplication::setActiveWindow(w);
    typeInto(w->Bias(), QStringLiteral("1.5"));
    pressTab();
    QCOMPARE(p.dialogs->texts(), QStringList{" Bias limits are 0 to 1"});

    QTest::mouseClick(w->Exit(), Qt::LeftButton);
    p.port->clearRecord();
    QTest::mouseClick(config, Qt::LeftButton);
    QCOMPARE(p.port->commands(), (QStringList{"\\r", "*IDN?\\r"}));
    QCOMPARE(p.root->existingConfigure(), w);
}

QTEST_MAIN(ConfigWindow)
#include "test_config_window.moc"
