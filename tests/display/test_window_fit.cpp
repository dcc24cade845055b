// SPDX-License-Identifier: GPL-3.0-or-later
// The three windows of both programs and their sweep view as laid out under every widget
// style, at the scale the environment sets (ctest runs this at QT_SCALE_FACTOR 1 and 2): no
// control cut off at the edge of its window or frame, none on top of another, every caption
// whole, every box and list wide enough for the longest text it is meant to show. Also the
// keyboard order of the connection and measurement windows. And the sweep view photographed
// with references, markers and a deviation, into $LCRPANEL_SHOTS when set.
#include "app/Form1.h"
#include "config/Configure.h"
#include "measure/FrmMeasure.h"
#include "support/ScriptedDialogs.h"
#include "support/TestProgram.h"
#include "support/VirtualTiming.h"
#include "sweepview/RunRecord.h"
#include "sweepview/SweepView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QtTest>

#include <cmath>
#include <complex>
#include <memory>

namespace {
// The room a line edit has for its text, as QLineEdit paints it: the style's contents
// rectangle less the text margins and the two-pixel margin on either side.
int textRoom(QLineEdit* box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.features = QStyleOptionFrame::None;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2;
}

bool textFits(QLineEdit* box, const QString& text) {
    return QFontMetrics(box->font()).horizontalAdvance(text) < textRoom(box);
}

QString nameOf(const QWidget* w) {
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                     : w->objectName();
}

// The window's own controls that are shown: not the inner parts of lists and not popups.
QList<QWidget*> shownControls(QWidget* window) {
    QList<QWidget*> shown;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isWindow() || !w->isVisibleTo(window))
            continue;
        if (qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        shown << w;
    }
    return shown;
}

// A series RLC part (resonant near 16 kHz) swept from 1 kHz to 100 kHz as the instrument
// reports |Z| and its phase.
void sweepSeriesRlc(RunRecord& record, double ohms, double farads, const QTime& taken) {
    const int points = 51;
    record.begin({true, points, true, 0.6, 1000.0, 100000.0});
    for (int i = 0; i < points; ++i) {
        const double hertz = 1000.0 * std::pow(100.0, i / (points - 1.0));
        const double omega = 2.0 * M_PI * hertz;
        const std::complex<double> z(ohms, omega * 1.0e-3 - 1.0 / (omega * farads));
        MeasuredPoint point;
        point.index = i;
        point.sweepPoint = true;
        point.takenAt = QDateTime(QDate(2026, 12, 8), taken);
        point.frequency = QString::number(std::lround(hertz));
        point.set(ResultField::PrimaryName, QStringLiteral("Z"));
        point.set(ResultField::PrimaryValue, QString::asprintf("%+.5E", std::abs(z)));
        point.set(ResultField::PrimaryUnit, QStringLiteral("Ohm"));
        point.set(ResultField::SecondaryName, QStringLiteral("P"));
        point.set(ResultField::SecondaryValue,
                  QString::asprintf("%+.5E", std::arg(z) * 180.0 / M_PI));
        point.set(ResultField::SecondaryUnit, QStringLiteral("deg"));
        record.add(point);
    }
    record.end();
}

struct ShownWindow {
    std::unique_ptr<TestProgram> program;
    QWidget* window = nullptr;
};

// The window as the operator sees it, with its widest texts where the program writes them.
ShownWindow show(const QString& variant, const QString& which) {
    ShownWindow shown{std::make_unique<TestProgram>(variantNamed(variant)), nullptr};
    TestProgram& p = *shown.program;
    if (which == QLatin1String("connection")) {
        p.start();
        shown.window = &p.root->form1();
    } else if (which == QLatin1String("results")) {
        p.connect();
        shown.window = &p.root->frmMeasure();
    } else if (which == QLatin1String("sweep")) {
        p.connect();
        p.root->frmMeasure().cmdPlot()->click();
        shown.window = p.root->frmMeasure().sweepView();
    } else {
        p.connect();
        Configure& configure = p.root->configure();
        configure.Unit()->setText(QStringLiteral("Model LR42"));
        // The sweep frame shown: the layout with every control.
        const int sweep = configure.SingleorSweep()->findText(QStringLiteral("Sweep"));
        configure.SingleorSweep()->setCurrentIndex(sweep);
        emit configure.SingleorSweep()->activated(sweep);
        configure.show();
        shown.window = &configure;
    }
    shown.window->show();
    QApplication::processEvents();
    return shown;
}
} // namespace

class WindowFit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void nothingCutOffOrOverlapping_data() { windows(); }
    void nothingCutOffOrOverlapping();
    void longestTextsShowWhole_data() { windows(); }
    void longestTextsShowWhole();
    void keyboardOrder_data();
    void keyboardOrder();
    void sweepViewPhotographed();

private:
    static void windows();
    QString m_originalStyle;
};

void WindowFit::initTestCase() {
    m_originalStyle = QApplication::style()->name();
    qInfo("scale factor %s", qgetenv("QT_SCALE_FACTOR").constData());
}

void WindowFit::cleanup() {
    QApplication::setStyle(QStyleFactory::create(m_originalStyle));
}

void WindowFit::windows() {
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("window");
    for (const QString& style : QStyleFactory::keys())
        for (const char* variant : {"LR40", "PX80"})
            for (const char* window : {"connection", "results", "configuration", "sweep"})
                QTest::addRow("%s %s %s", qPrintable(style), variant, window)
                    << style << variant << window;
}

void WindowFit::nothingCutOffOrOverlapping() {
    QFETCH(QString, style);
    QFETCH(QString, variant);
    QFETCH(QString, window);
    QApplication::setStyle(QStyleFactory::create(style));
    const ShownWindow shown = show(variant, window);

    const QList<QWidget*> controls = shownControls(shown.window);
    QVERIFY(controls.size() > 5);
    for (QWidget* c : controls) {
        const QString name = nameOf(c);
        QVERIFY2(c->parentWidget()->rect().contains(c->geometry()),
                 qPrintable(name + QStringLiteral(" is cut off by its window or frame")));
        // Captions need their whole size; boxes and lists are checked by their texts.
        if (qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c) ||
            qobject_cast<QGroupBox*>(c)) {
            const QSize needed = c->minimumSizeHint();
            QVERIFY2(c->width() >= needed.width() && c->height() >= needed.height(),
                     qPrintable(name + QStringLiteral(" is smaller than its caption")));
        }
        for (QWidget* other : controls) {
            if (other == c || other->parentWidget() != c->parentWidget())
                continue;
            QVERIFY2(!c->geometry().intersects(other->geometry()),
                     qPrintable(name + QStringLiteral(" overlaps ") + nameOf(other)));
        }
    }
}

void WindowFit::longestTextsShowWhole() {
    QFETCH(QString, style);
    QFETCH(QString, variant);
    QFETCH(QString, window);
    QApplication::setStyle(QStyleFactory::create(style));
    const ShownWindow shown = show(variant, window);
    QWidget* w = shown.window;

    // Boxes the program writes into, with the widest texts they get.
    QList<QPair<QString, QString>> boxes;
    if (window == QLatin1String("results")) {
        for (const char* value : {"Pvalue", "svalue"})
            boxes << qMakePair(QString::fromLatin1(value), QStringLiteral("-8.88888E-88"));
        for (const char* parameter : {"Ppar", "Spar"})
            for (const char* text : {"None", "ESR", "DCR", "DCV"})
                boxes << qMakePair(QString::fromLatin1(parameter), QString::fromLatin1(text));
        for (const char* unit : {"Punit", "Sunit"})
            for (const char* text : {"Ohm", "deg"})
                boxes << qMakePair(QString::fromLatin1(unit), QString::fromLatin1(text));
        const QString status =
            variant == QLatin1String("LR40") ? QStringLiteral("tbxstatus") : QStringLiteral("Test");
        for (const char* text : {"Stopped by User", "Measuring 1000", "Complete"})
            boxes << qMakePair(status, QString::fromLatin1(text));
        if (variant == QLatin1String("LR40"))
            boxes << qMakePair(QStringLiteral("Test"), QStringLiteral("25"));
    } else if (window == QLatin1String("configuration")) {
        boxes << qMakePair(QStringLiteral("Unit"), QStringLiteral("Model LR42"));
        for (const char* entry : {"freq", "StartFreq", "StopFreq"})
            boxes << qMakePair(QString::fromLatin1(entry), QStringLiteral("1000000"));
        boxes << qMakePair(QStringLiteral("Voltage"), QStringLiteral("0.020"));
    }
    for (const auto& [name, text] : boxes) {
        auto* box = w->findChild<QLineEdit*>(name);
        QVERIFY2(box, qPrintable(name));
        QVERIFY2(textFits(box, text), qPrintable(name + QStringLiteral(": ") + text));
    }

    // Every list as wide as it needs for its longest entry.
    for (QComboBox* list : w->findChildren<QComboBox*>()) {
        if (!list->isVisibleTo(w))
            continue;
        QVERIFY2(list->width() >= list->sizeHint().width(), qPrintable(nameOf(list)));
    }
}

void WindowFit::keyboardOrder_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    for (const char* variant : {"LR40", "PX80"}) {
        QTest::addRow("%s connection", variant)
            << variant << "connection" << QStringList{"port", "baud", "Measure", "Command3"};
        // The result boxes are passed over: the keys work the buttons.
        QTest::addRow("%s results", variant)
            << variant << "results" << QStringList{"Start",  "stopbutton", "Config",  "Lockout",
                                                   "cmdLog", "cmdPlot",    "cmdExit", "Start"};
    }
}

void WindowFit::keyboardOrder() {
    QFETCH(QString, variant);
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    const ShownWindow shown = show(variant, window);
    QWidget* w = shown.window;
    QApplication::setActiveWindow(w);
    w->findChild<QWidget*>(order.first())->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < order.size(); ++i) {
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        // An editable list holds the focus in its text field.
        if (qobject_cast<QComboBox*>(focused->parentWidget()))
            focused = focused->parentWidget();
        visited << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QCOMPARE(visited, order); // StopLog, disabled after load, is passed over
}

void WindowFit::sweepViewPhotographed() {
    const QString shots = qEnvironmentVariable("LCRPANEL_SHOTS");
    if (shots.isEmpty())
        QSKIP("LCRPANEL_SHOTS names no folder for the photographs");
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    const QString suffix = scale == QLatin1String("1") ? QString() : QStringLiteral("-200pct");
    VirtualTiming timing;
    ScriptedDialogs dialogs;
    RunRecord record(timing);
    SweepView view(record, dialogs);
    view.show();
    // Two parts held as references, a third part measured, its peak and minimum marked.
    sweepSeriesRlc(record, 10.0, 100e-9, QTime(9, 12));
    view.holdReference();
    sweepSeriesRlc(record, 12.0, 104e-9, QTime(9, 31));
    view.holdReference();
    sweepSeriesRlc(record, 11.0, 98e-9, QTime(10, 5));
    QApplication::processEvents();
    view.placePeak();
    view.placeMinimum();
    QDir().mkpath(shots);
    view.chart()->replot();
    QVERIFY(view.grab().save(shots + QStringLiteral("/sweep-references") + suffix + ".png"));
    view.deviation()->click();
    QVERIFY(view.deviation()->isChecked());
    view.chart()->replot();
    QVERIFY(view.grab().save(shots + QStringLiteral("/sweep-deviation") + suffix + ".png"));

    // A resonator fitted: the series RLC model over the data, its elements in the results.
    RunRecord fitted(timing);
    SweepView fitView(fitted, dialogs);
    fitView.show();
    sweepSeriesRlc(fitted, 10.0, 100e-9, QTime(11, 40));
    QApplication::processEvents();
    fitView.fitModel()->setCurrentText(QStringLiteral("series-rlc"));
    fitView.fitButton()->click();
    fitView.chart()->replot();
    QVERIFY(fitView.grab().save(shots + QStringLiteral("/sweep-fit") + suffix + ".png"));
}

QTEST_MAIN(WindowFit)
#include "test_window_fit.moc"
