// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement window's controls and their placement.
#include "measure/FrmMeasure.h"

#include "profiles/InstrumentVariant.h"
#include "widgets/PanelLook.h"
#include "widgets/WidgetFactory.h"

#include <QColor>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

// The picture lives in the static library; naming its initialiser links it in.
static void initMeasureResources() {
    Q_INIT_RESOURCE(measure);
}

namespace {
using PanelLook::arial;

// Graphical buttons: the style sheet draws them, so their colours show under every style.
QPushButton* colouredButton(const QString& name, const QString& caption, const QColor& colour,
                            QWidget* parent) {
    return Widgets::button(parent, name, caption, QString(), colour);
}

QLineEdit* textBox(const QString& name, const QColor& background, double points, QWidget* parent) {
    auto* box = Widgets::entry(parent, name);
    box->setFont(arial(points));
    // The boxes show what the instrument sent; typing into them would change the log.
    box->setReadOnly(true);
    // A click selects the text for copying; Tab passes over the boxes to the buttons.
    box->setFocusPolicy(Qt::ClickFocus);
    box->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; color: black; }")
                           .arg(PanelLook::rgb(background)));
    return box;
}

enum class Width { Fixed, Growing };

// Wide enough for the widest of the texts the box is meant to show; a growing box also
// takes the room the window has to spare.
void fitWidthTo(QLineEdit* box, const QStringList& samples, Width width = Width::Fixed) {
    PanelLook::keepRoomFor(*box, samples);
    if (width == Width::Fixed)
        box->setMaximumWidth(box->minimumWidth());
}

QLabel* caption(const QString& name, const QString& text, double points, QWidget* parent) {
    return Widgets::label(parent, name, text, points);
}
} // namespace

void FrmMeasure::buildControls() {
    initMeasureResources();
    const MeasureProfile& profile = m_services.variant.measure;

    using PanelLook::ButtonGrey;
    m_start = colouredButton(QStringLiteral("Start"), QStringLiteral("Start"),
                             PanelLook::StartGreen, this);
    m_stopbutton = colouredButton(QStringLiteral("stopbutton"), QStringLiteral("Stop"),
                                  PanelLook::StopRed, this);
    m_cmdExit = colouredButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), ButtonGrey, this);
    m_cmdLog = colouredButton(QStringLiteral("cmdLog"), QStringLiteral("Log"), ButtonGrey, this);
    m_stopLog =
        colouredButton(QStringLiteral("StopLog"), QStringLiteral("Stop Logging"), ButtonGrey, this);
    m_lockout = colouredButton(QStringLiteral("Lockout"), QStringLiteral("Not Locked Out"),
                               ButtonGrey, this);
    m_config = colouredButton(QStringLiteral("Config"), profile.configCaption, ButtonGrey, this);
    m_config->setToolTip(QStringLiteral("Copies instrument data to file"));
    m_cmdPlot = colouredButton(QStringLiteral("cmdPlot"), QStringLiteral("Plot"), ButtonGrey, this);
    m_cmdPlot->setToolTip(QStringLiteral("Shows the run as a chart and a table"));

    const double points = profile.resultFontPoints;
    m_ppar = textBox(QStringLiteral("Ppar"), PanelLook::EntryWhite, points, this);
    m_pvalue = textBox(QStringLiteral("Pvalue"), PanelLook::EntryWhite, points, this);
    m_punit = textBox(QStringLiteral("Punit"), PanelLook::EntryWhite, points, this);
    m_spar = textBox(QStringLiteral("Spar"), PanelLook::EntryWhite, points, this);
    m_svalue = textBox(QStringLiteral("svalue"), PanelLook::EntryWhite, points, this);
    m_sunit = textBox(QStringLiteral("Sunit"), PanelLook::EntryWhite, points, this);

    m_status = textBox(profile.statusBoxName, PanelLook::WindowGrey, 24.0, this);
    if (profile.showsTestNumberAndBin) {
        m_statusLabel = caption(QStringLiteral("lblstatus"), QStringLiteral("Status:"), 24.0, this);
        m_testNumber = textBox(QStringLiteral("Test"), PanelLook::WindowGrey, 26.25, this);
        m_bin = textBox(QStringLiteral("bin"), PanelLook::WindowGrey, 26.25, this);
        m_testLabel = caption(QStringLiteral("Label1"), QStringLiteral("TEST"), 26.25, this);
        m_binLabel = caption(QStringLiteral("Label2"), QStringLiteral("BIN"), 26.25, this);
    } else {
        m_statusLabel = caption(QStringLiteral("Label1"), QStringLiteral("Status:"), 24.0, this);
    }

    // Instrument values such as "-1.23456E-07", parameter names such as "ESR" or "None",
    // units such as "Ohm", the longest status text, test and bin numbers up to 999.
    for (QLineEdit* value : {m_pvalue, m_svalue}) {
        fitWidthTo(value, {QStringLiteral("-8.88888E-88")}, Width::Growing);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (QLineEdit* name : {m_ppar, m_spar})
        fitWidthTo(name, {QStringLiteral("None"), QStringLiteral("ESR"), QStringLiteral("DCR")});
    for (QLineEdit* unit : {m_punit, m_sunit})
        fitWidthTo(unit, {QStringLiteral("Ohm"), QStringLiteral("deg")});
    fitWidthTo(m_status, {QStringLiteral("Stopped by User"), QStringLiteral("Measuring 1000")},
               Width::Growing);
    if (m_testNumber) {
        fitWidthTo(m_testNumber, {QStringLiteral("888")});
        fitWidthTo(m_bin, {QStringLiteral("888")});
    }

    // Which frequency the shown result was taken at: the instrument keeps the last one set.
    m_frequency = caption(QStringLiteral("lblFrequency"), QString(), PanelLook::TextPoints, this);
    m_frequency->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setPixmap(QPixmap(QStringLiteral(":/measure/picture1.png")));
}

void FrmMeasure::layOutControls() {
    PanelLook::dressWindow(*this);

    // Top: the picture, the status and (LR40) the test and bin numbers.
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(m_picture);
    top->addSpacing(8);
    top->addWidget(m_statusLabel);
    top->addWidget(m_status, 1);
    top->addWidget(m_frequency);
    if (m_testNumber) {
        top->addSpacing(16);
        top->addWidget(m_testLabel);
        top->addWidget(m_testNumber);
        top->addSpacing(8);
        top->addWidget(m_binLabel);
        top->addWidget(m_bin);
    }

    // Middle: primary above secondary, each as name, value, unit; the value takes the room.
    auto* results = new QGridLayout;
    results->setSpacing(6);
    results->addWidget(m_ppar, 0, 0);
    results->addWidget(m_pvalue, 0, 1);
    results->addWidget(m_punit, 0, 2);
    results->addWidget(m_spar, 1, 0);
    results->addWidget(m_svalue, 1, 1);
    results->addWidget(m_sunit, 1, 2);
    results->setColumnStretch(1, 1);

    // Bottom: the run buttons on the left, the others in the middle, Exit on the right.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_start);
    buttons->addWidget(m_stopbutton);
    buttons->addSpacing(24);
    buttons->addWidget(m_config);
    buttons->addWidget(m_lockout);
    buttons->addWidget(m_cmdLog);
    buttons->addWidget(m_stopLog);
    buttons->addStretch(1);
    buttons->addSpacing(24);
    buttons->addWidget(m_cmdPlot);
    buttons->addWidget(m_cmdExit);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(top);
    layout->addSpacing(10);
    layout->addLayout(results);
    layout->addSpacing(10);
    layout->addLayout(buttons);

    setTabOrder(m_start, m_stopbutton);
    setTabOrder(m_stopbutton, m_config);
    setTabOrder(m_config, m_lockout);
    setTabOrder(m_lockout, m_cmdLog);
    setTabOrder(m_cmdLog, m_stopLog);
    setTabOrder(m_stopLog, m_cmdPlot);
    setTabOrder(m_cmdPlot, m_cmdExit);
}

void FrmMeasure::connectHandlers() {
    connect(m_start, &QPushButton::clicked, this, &FrmMeasure::Start_Click);
    connect(m_stopbutton, &QPushButton::clicked, this, &FrmMeasure::stopbutton_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &FrmMeasure::cmdExit_Click);
    connect(m_config, &QPushButton::clicked, this, &FrmMeasure::Config_Click);
    connect(m_lockout, &QPushButton::clicked, this, &FrmMeasure::Lockout_Click);
    connect(m_cmdLog, &QPushButton::clicked, this, &FrmMeasure::cmdLog_Click);
    connect(m_stopLog, &QPushButton::clicked, this, &FrmMeasure::StopLog_Click);
    connect(m_cmdPlot, &QPushButton::clicked, this, &FrmMeasure::cmdPlot_Click);
}
