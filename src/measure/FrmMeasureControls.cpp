// The measurement window's controls and their placement.
#include "measure/FrmMeasure.h"

#include "app/ProgramRoot.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

// The picture lives in the static library; naming its initialiser links it in.
static void initMeasureResources() {
    Q_INIT_RESOURCE(measure);
}

namespace {
const QColor Green(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor LightGrey(224, 224, 224);
const QColor White(255, 255, 255);
const QColor Grey(192, 192, 192);

QString rgb(const QColor& c) {
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QFont arial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    return font;
}

// A style sheet draws the button itself, so its colour shows under every widget style.
QPushButton* colouredButton(const QString& name, const QString& caption, const QColor& colour,
                            QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black;"
                                         " border: 1px solid rgb(96, 96, 96); border-radius: 3px;"
                                         " padding: 6px 14px; }"
                                         "QPushButton:pressed { background-color: %2; }"
                                         "QPushButton:focus { border: 2px solid black; }"
                                         "QPushButton:disabled { color: rgb(128, 128, 128); }")
                              .arg(rgb(colour), rgb(colour.darker(125))));
    return button;
}

QLineEdit* textBox(const QString& name, const QColor& background, double points, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFont(arial(points));
    // The boxes show what the instrument sent; typing into them would change the log.
    box->setReadOnly(true);
    box->setStyleSheet(
        QStringLiteral("QLineEdit { background-color: %1; color: black; }").arg(rgb(background)));
    return box;
}

// Wide enough for the longest text the box is meant to show.
void fitWidthTo(QLineEdit* box, const QString& sample) {
    const int frame = 2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 12;
    box->setMinimumWidth(QFontMetrics(box->font()).horizontalAdvance(sample) + frame);
}

QLabel* caption(const QString& name, const QString& text, double points, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(arial(points));
    return label;
}
} // namespace

void FrmMeasure::buildControls() {
    initMeasureResources();
    const MeasureProfile& profile = m_root.variant().measure;

    m_start = colouredButton(QStringLiteral("Start"), QStringLiteral("Start"), Green, this);
    m_stopbutton = colouredButton(QStringLiteral("stopbutton"), QStringLiteral("Stop"), Red, this);
    m_cmdExit = colouredButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), LightGrey, this);
    m_cmdLog = colouredButton(QStringLiteral("cmdLog"), QStringLiteral("Log"), LightGrey, this);
    m_stopLog =
        colouredButton(QStringLiteral("StopLog"), QStringLiteral("Stop Logging"), LightGrey, this);
    m_lockout = colouredButton(QStringLiteral("Lockout"), QStringLiteral("Not Locked Out"),
                               LightGrey, this);
    m_config = colouredButton(QStringLiteral("Config"), profile.configCaption, LightGrey, this);
    m_config->setToolTip(QStringLiteral("Copies instrument data to file"));

    const double points = profile.resultFontPoints;
    m_ppar = textBox(QStringLiteral("Ppar"), White, points, this);
    m_pvalue = textBox(QStringLiteral("Pvalue"), White, points, this);
    m_punit = textBox(QStringLiteral("Punit"), White, points, this);
    m_spar = textBox(QStringLiteral("Spar"), White, points, this);
    m_svalue = textBox(QStringLiteral("svalue"), White, points, this);
    m_sunit = textBox(QStringLiteral("Sunit"), White, points, this);

    m_status = textBox(profile.statusBoxName, Grey, 24.0, this);
    if (profile.showsTestNumberAndBin) {
        m_statusLabel = caption(QStringLiteral("lblstatus"), QStringLiteral("Status:"), 24.0, this);
        m_testNumber = textBox(QStringLiteral("Test"), Grey, 26.25, this);
        m_bin = textBox(QStringLiteral("bin"), Grey, 26.25, this);
        m_testLabel = caption(QStringLiteral("Label1"), QStringLiteral("TEST"), 26.25, this);
        m_binLabel = caption(QStringLiteral("Label2"), QStringLiteral("BIN"), 26.25, this);
    } else {
        m_statusLabel = caption(QStringLiteral("Label1"), QStringLiteral("Status:"), 24.0, this);
    }

    // An instrument value such as "-1.23456E-07"; names such as "Rdc" and units such as
    // "Ohm"; the longest status text.
    for (QLineEdit* value : {m_pvalue, m_svalue})
        fitWidthTo(value, QStringLiteral("-8.88888E-88"));
    for (QLineEdit* name : {m_ppar, m_punit, m_spar, m_sunit})
        fitWidthTo(name, QStringLiteral("MMM"));
    fitWidthTo(m_status, QStringLiteral("Stopped by User"));
    if (m_testNumber) {
        fitWidthTo(m_testNumber, QStringLiteral("888"));
        fitWidthTo(m_bin, QStringLiteral("888"));
    }

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setPixmap(QPixmap(QStringLiteral(":/measure/picture1.png")));
}

void FrmMeasure::layOutControls() {
    // Top: the picture, the status and (LR40) the test and bin numbers.
    auto* top = new QHBoxLayout;
    top->addWidget(m_picture);
    top->addSpacing(12);
    top->addWidget(m_statusLabel);
    top->addWidget(m_status, 3);
    if (m_testNumber) {
        top->addSpacing(12);
        top->addWidget(m_testLabel);
        top->addWidget(m_testNumber, 1);
        top->addWidget(m_binLabel);
        top->addWidget(m_bin, 1);
    }

    // Middle: primary above secondary, each as name, value, unit.
    auto* results = new QGridLayout;
    results->addWidget(m_ppar, 0, 0);
    results->addWidget(m_pvalue, 0, 1);
    results->addWidget(m_punit, 0, 2);
    results->addWidget(m_spar, 1, 0);
    results->addWidget(m_svalue, 1, 1);
    results->addWidget(m_sunit, 1, 2);
    results->setColumnStretch(0, 2);
    results->setColumnStretch(1, 4);
    results->setColumnStretch(2, 2);

    // Bottom: the run buttons on the left, the rest on the right.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_stopbutton);
    buttons->addSpacing(24);
    buttons->addWidget(m_config);
    buttons->addWidget(m_lockout);
    buttons->addWidget(m_cmdLog);
    buttons->addWidget(m_stopLog);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdExit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(results);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    setTabOrder(m_start, m_stopbutton);
    setTabOrder(m_stopbutton, m_config);
    setTabOrder(m_config, m_lockout);
    setTabOrder(m_lockout, m_cmdLog);
    setTabOrder(m_cmdLog, m_stopLog);
    setTabOrder(m_stopLog, m_cmdExit);
}

void FrmMeasure::connectHandlers() {
    connect(m_start, &QPushButton::clicked, this, &FrmMeasure::Start_Click);
    connect(m_stopbutton, &QPushButton::clicked, this, &FrmMeasure::stopbutton_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &FrmMeasure::cmdExit_Click);
    connect(m_config, &QPushButton::clicked, this, &FrmMeasure::Config_Click);
    connect(m_lockout, &QPushButton::clicked, this, &FrmMeasure::Lockout_Click);
    connect(m_cmdLog, &QPushButton::clicked, this, &FrmMeasure::cmdLog_Click);
    connect(m_stopLog, &QPushButton::clicked, this, &FrmMeasure::StopLog_Click);
}
