// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration window's controls, their places and colours.
#include "config/Configure.h"

#include "config/ControlText.h"
#include "config/FocusReporting.h"
#include "widgets/EditableList.h"
#include "widgets/PanelLook.h"
#include "widgets/WidgetFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Entries report their focus loss to the window, which checks them.
QLineEdit* textEntry(const QString& name, const QString& text, QWidget* parent) {
    return Widgets::entry<ReportsFocusLoss<QLineEdit>>(parent, name, text);
}

template <typename List = QComboBox>
List* listOf(const QString& name, const QStringList& items, QWidget* parent) {
    return Widgets::list<List>(parent, name, items);
}

// The label beside a control, named after it and its buddy, so Alt+letter and screen
// readers find the control.
void label(QWidget* control, const QString& text) {
    Widgets::label(control->parentWidget(), QStringLiteral("lbl") + control->objectName(), text)
        ->setBuddy(control);
}

QLabel* labelOf(QWidget* control) {
    return control->parentWidget()->findChild<QLabel*>(QStringLiteral("lbl") +
                                                       control->objectName());
}

// One row per control, its label on the left; absent controls are left out.
QGridLayout* labelledColumn(const QList<QWidget*>& controls) {
    auto* grid = new QGridLayout;
    int row = 0;
    for (QWidget* control : controls) {
        if (!control)
            continue;
        grid->addWidget(labelOf(control), row, 0);
        grid->addWidget(control, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

void chainTabOrder(const QList<QWidget*>& order) {
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}
} // namespace

void Configure::createControls(const ConfigProfile& profile) {
    m_unit = Widgets::entry(this, QStringLiteral("Unit"));
    m_unit->setReadOnly(true); // shows the instrument model, given by the program
    m_unit->setFocusPolicy(Qt::NoFocus);
    m_unit->setFont(PanelLook::arial(20));

    if (profile.hasTestNumber) {
        m_testNo = textEntry(QStringLiteral("TestNo"), QStringLiteral("1"), this);
        label(m_testNo, QStringLiteral("Test Number"));
    }
    m_ppar =
        listOf<ReportsFocusLoss<QComboBox>>(QStringLiteral("Ppar"), profile.primaryItems, this);
    label(m_ppar, QStringLiteral("Primary Parameter"));
    m_spar = listOf(QStringLiteral("Spar"), profile.initialSecondaryItems, this);
    m_spar->setEnabled(false);
    label(m_spar, QStringLiteral("Secondary Parameter"));
    m_freq = textEntry(QStringLiteral("freq"), QStringLiteral("1000"), this);
    label(m_freq, QStringLiteral("Frequency (Hz)"));
    m_voltage = textEntry(QStringLiteral("Voltage"), QStringLiteral("1"), this);
    label(m_voltage, QStringLiteral("Voltage (VRMS)"));
    m_bias =
        listOf<ReportsFocusLoss<EditableList>>(QStringLiteral("Bias"), profile.biasItems, this);
    m_bias->setCurrentIndex(profile.biasStart);
    label(m_bias, QStringLiteral("Bias"));
    m_range = listOf<ReportsFocusLoss<EditableList>>(
        QStringLiteral("Range"), {QStringLiteral("Auto"), QStringLiteral("Hold")}, this);
    m_range->setCurrentIndex(profile.rangeStart);
    label(m_range, QStringLiteral("Range"));
    m_accuracy = listOf(QStringLiteral("Accuracy"), profile.accuracyItems, this);
    m_accuracy->setCurrentIndex(profile.accuracyStart);
    label(m_accuracy, QStringLiteral("Accuracy"));
    m_delay = textEntry(QStringLiteral("Delay"), QStringLiteral("0"), this);
    label(m_delay, profile.delayLabel);
    m_numAvg = textEntry(QStringLiteral("num_avg"), QStringLiteral("1"), this);
    label(m_numAvg, QStringLiteral("Number to Average"));
    m_listMedian =
        listOf(QStringLiteral("listMedian"), {QStringLiteral("OFF"), QStringLiteral("ON")}, this);
    label(m_listMedian, QStringLiteral("Median"));

    if (profile.hasSystemSettings) {
        m_listCable = listOf(QStringLiteral("ListCable"), profile.cableItems, this);
        label(m_listCable, QStringLiteral("Cable Comp."));
        m_listLevel = listOf(QStringLiteral("ListLevel"), profile.levelItems, this);
        label(m_listLevel, QStringLiteral("Leveling"));
        m_listSrc = listOf(QStringLiteral("ListSRC"), profile.sourceResistanceItems, this);
        label(m_listSrc, QStringLiteral("Source Res."));
        m_cmdUpSys =
            Widgets::button(this, QStringLiteral("CmdUpSys"), QStringLiteral("Update Sys"));
        m_frame1 = new QFrame(this);
        m_frame1->setObjectName(QStringLiteral("Frame1"));
        m_frame1->setFrameShape(QFrame::VLine);
        m_frame1->setFrameShadow(QFrame::Sunken);
    }

    m_singleOrSweep =
        listOf<EditableList>(QStringLiteral("SingleorSweep"),
                             {QStringLiteral("Single Measurement"), QStringLiteral("Sweep")}, this);
    m_fraSweepControls = new QGroupBox(QStringLiteral("Sweep Controls"), this);
    m_fraSweepControls->setObjectName(QStringLiteral("fraSweepControls"));
    // The window keeps its size while the frame is hidden.
    QSizePolicy keepPlace = m_fraSweepControls->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    m_fraSweepControls->setSizePolicy(keepPlace);
    m_logsweep = new QCheckBox(QStringLiteral("Log Sweep"), m_fraSweepControls);
    m_logsweep->setObjectName(QStringLiteral("logsweep"));
    m_startFreq =
        textEntry(QStringLiteral("StartFreq"), QStringLiteral("1000"), m_fraSweepControls);
    label(m_startFreq, QStringLiteral("Start Frequency (Hz)"));
    m_stopFreq =
        textEntry(QStringLiteral("StopFreq"), QStringLiteral("100000"), m_fraSweepControls);
    label(m_stopFreq, QStringLiteral("Stop Frequency (Hz)"));
    m_sweepSteps =
        textEntry(QStringLiteral("SweepSteps"), QStringLiteral("10"), m_fraSweepControls);
    label(m_sweepSteps, QStringLiteral("Sweep Steps"));
    auto* sweepLayout = new QVBoxLayout(m_fraSweepControls);
    sweepLayout->addWidget(m_logsweep);
    sweepLayout->addLayout(labelledColumn({m_startFreq, m_stopFreq, m_sweepSteps}));
    m_fraSweepSetting = new SweepSettingFrame(
        m_variant, m_dialogs, m_checks,
        [this](const QString& control) { return controlText(findChild<QWidget*>(control)); }, this);

    m_update = Widgets::button(this, QStringLiteral("Update"), QStringLiteral("Update Test"),
                               profile.updateTip);
    m_exit = Widgets::button(this, QStringLiteral("Exit"), QStringLiteral("Exit"), profile.exitTip);
}

void Configure::layOutWithSystemColumn() {
    auto* left = new QVBoxLayout;
    left->addLayout(labelledColumn({m_testNo, m_ppar, m_spar, m_freq, m_voltage, m_bias, m_range,
                                    m_accuracy, m_delay, m_numAvg}));
    left->addWidget(m_update, 0, Qt::AlignHCenter);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addLayout(labelledColumn({m_listMedian, m_listCable, m_listLevel, m_listSrc}));
    right->addWidget(m_cmdUpSys, 0, Qt::AlignHCenter);
    right->addSpacing(8);
    right->addWidget(m_singleOrSweep);
    right->addWidget(m_fraSweepControls);
    right->addWidget(m_fraSweepSetting);
    right->addStretch(1);
    right->addWidget(m_exit, 0, Qt::AlignRight);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(m_frame1);
    columns->addLayout(right, 1);

    auto* window = new QVBoxLayout(this);
    window->addWidget(m_unit);
    window->addLayout(columns, 1);

    chainTabOrder({m_testNo,     m_ppar,          m_spar,      m_freq,      m_voltage,
                   m_bias,       m_range,         m_accuracy,  m_delay,     m_numAvg,
                   m_update,     m_listMedian,    m_listCable, m_listLevel, m_listSrc,
                   m_cmdUpSys,   m_singleOrSweep, m_logsweep,  m_startFreq, m_stopFreq,
                   m_sweepSteps, m_exit});
}

void Configure::layOutSingleColumn() {
    auto* left = new QVBoxLayout;
    left->addLayout(labelledColumn({m_ppar, m_spar, m_freq, m_voltage, m_bias, m_range, m_accuracy,
                                    m_delay, m_numAvg, m_listMedian}));
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(m_singleOrSweep);
    right->addWidget(m_fraSweepControls);
    right->addWidget(m_fraSweepSetting);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_update);
    buttons->addSpacing(24);
    buttons->addWidget(m_exit);
    buttons->addStretch(1);

    auto* window = new QVBoxLayout(this);
    window->addWidget(m_unit);
    window->addLayout(columns, 1);
    window->addSpacing(8);
    window->addLayout(buttons);

    chainTabOrder({m_ppar, m_spar, m_freq, m_voltage, m_bias, m_range, m_accuracy, m_delay,
                   m_numAvg, m_listMedian, m_singleOrSweep, m_logsweep, m_startFreq, m_stopFreq,
                   m_sweepSteps, m_update, m_exit});
}

void Configure::applyLook() {
    PanelLook::dressWindow(*this);
    // Every entry keeps room for the longest number it takes ("1000000" hertz), and the
    // model's name stays whole, even when the window is squeezed.
    for (QLineEdit* entry : findChildren<QLineEdit*>()) {
        if (entry == m_unit)
            PanelLook::keepRoomFor(*entry, {QStringLiteral("Model LR42")});
        else if (!qobject_cast<QComboBox*>(entry->parentWidget()))
            PanelLook::keepRoomFor(*entry, {QStringLiteral("10000000")});
    }
    // The model name sits on the window's grey, as a caption rather than an entry.
    setStyleSheet(styleSheet() + QStringLiteral("QLineEdit#Unit { background-color: %1; }")
                                     .arg(PanelLook::rgb(PanelLook::WindowGrey)));
}
