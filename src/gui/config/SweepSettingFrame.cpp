// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/SweepSettingFrame.h"

#include "config/EntryChecks.h"
#include "config/FocusReporting.h"
#include "platform/Dialogs.h"
#include "profiles/InstrumentVariant.h"
#include "run/SettingSweep.h"
#include "widgets/WidgetFactory.h"

#include <QFormLayout>

namespace {
constexpr int MaxStepValues = 10;

QLineEdit* textEntry(const QString& name, QWidget* parent) {
    return Widgets::entry<ReportsFocusLoss<QLineEdit>>(parent, name);
}

RunSetting settingNamed(const QString& text) {
    for (const RunSetting s :
         {RunSetting::Frequency, RunSetting::Voltage, RunSetting::Bias, RunSetting::None})
        if (text == runSettingName(s))
            return s;
    return RunSetting::None;
}
} // namespace

SweepSettingFrame::SweepSettingFrame(const InstrumentVariant& variant, Dialogs& dialogs,
                                     EntryChecks& checks,
                                     std::function<QString(const QString&)> settingValue,
                                     QWidget* parent)
    : QFrame(parent), m_variant(variant), m_dialogs(dialogs), m_checks(checks),
      m_settingValue(std::move(settingValue)) {
    setObjectName(QStringLiteral("fraSweepSetting"));
    QSizePolicy keepPlace = sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    setSizePolicy(keepPlace);

    // Bias is offered where the program checks it (LR40).
    QStringList settings{QStringLiteral("Frequency"), QStringLiteral("Voltage")};
    if (m_checks.ruleFor(QStringLiteral("Bias")))
        settings << QStringLiteral("Bias");
    m_sweepParameter = Widgets::list(this, QStringLiteral("SweepParameter"), settings);
    m_sweepStart = textEntry(QStringLiteral("SweepStart"), this);
    m_sweepStop = textEntry(QStringLiteral("SweepStop"), this);
    m_stepParameter = Widgets::list(this, QStringLiteral("StepParameter"),
                                    QStringList{QStringLiteral("None")} + settings);
    m_stepValues = textEntry(QStringLiteral("StepValues"), this);
    m_texts[RunSetting::Voltage] = {QStringLiteral("0.1"), QStringLiteral("1")};
    m_texts[RunSetting::Bias] = {QStringLiteral("0"), QStringLiteral("1")};
    m_sweepStart->setEnabled(false);
    m_sweepStop->setEnabled(false);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Sweep"), m_sweepParameter);
    form->addRow(QStringLiteral("Start (V)"), m_sweepStart);
    form->addRow(QStringLiteral("Stop (V)"), m_sweepStop);
    form->addRow(QStringLiteral("Step"), m_stepParameter);
    form->addRow(QStringLiteral("Step values"), m_stepValues);

    connect(m_sweepParameter, &QComboBox::currentIndexChanged, this,
            [this] { sweepParameterChosen(); });
    connect(m_stepParameter, &QComboBox::currentIndexChanged, this,
            [this] { stepParameterChosen(); });
    for (QLineEdit* end : {m_sweepStart, m_sweepStop})
        dynamic_cast<FocusLossReporter*>(end)->onFocusLost([this, end] { checkEnd(end); });
    dynamic_cast<FocusLossReporter*>(m_stepValues)->onFocusLost([this] { checkStepValues(); });
}

void SweepSettingFrame::addTo(RunSettings& settings) const {
    settings.swept = settingNamed(m_sweepParameter->currentText());
    if (settings.swept != RunSetting::Frequency) {
        settings.settingStartText = m_sweepStart->text();
        settings.settingStopText = m_sweepStop->text();
    }
    settings.stepped = settingNamed(m_stepParameter->currentText());
    settings.stepValuesText = m_stepValues->text();
}

void SweepSettingFrame::sweepParameterChosen() {
    if (m_shown != RunSetting::Frequency)
        m_texts[m_shown] = {m_sweepStart->text(), m_sweepStop->text()};
    m_shown = settingNamed(m_sweepParameter->currentText());
    const bool volts = m_shown != RunSetting::Frequency;
    m_sweepStart->setText(volts ? m_texts[m_shown].first : QString());
    m_sweepStop->setText(volts ? m_texts[m_shown].second : QString());
    m_sweepStart->setEnabled(volts);
    m_sweepStop->setEnabled(volts);
    refuseEqualSettings();
}

void SweepSettingFrame::stepParameterChosen() {
    refuseEqualSettings();
}

void SweepSettingFrame::refuseEqualSettings() {
    if (m_stepParameter->currentText() != m_sweepParameter->currentText())
        return;
    m_dialogs.message(QStringLiteral("The stepped setting must differ from the swept one"),
                      MessageButtons::Ok, MessageIcon::None, m_variant.applicationTitle);
    m_stepParameter->setCurrentIndex(0);
}

EntryRule SweepSettingFrame::ruleFor(RunSetting setting, const QString& entry) const {
    EntryRule rule = *m_checks.ruleFor(settingControl(setting));
    rule.entry = entry;
    rule.words.clear();
    rule.resetText = resetText(setting);
    rule.notNumberResetText.clear();
    rule.setsTestFrequency = false;
    rule.mustExceedEntry.clear();
    return rule;
}

QString SweepSettingFrame::resetText(RunSetting setting) const {
    const QString value = m_settingValue(settingControl(setting));
    // The bias list's words are no value to sweep from.
    return readEntryNumber(EntryReading::Frequency, value) ? value : QStringLiteral("0");
}

void SweepSettingFrame::checkEnd(QLineEdit* entry) {
    if (m_shown == RunSetting::Frequency)
        return;
    m_checks.check(ruleFor(m_shown, entry->objectName()));
}

void SweepSettingFrame::checkStepValues() {
    const RunSetting stepped = settingNamed(m_stepParameter->currentText());
    if (stepped == RunSetting::None || !m_checks.ruleFor(settingControl(stepped)))
        return;
    const QStringList values = m_stepValues->text().split(QLatin1Char(','));
    if (values.size() > MaxStepValues) {
        refuse(QStringLiteral("Up to 10 step values"), QString(), m_stepValues, stepped, true);
        return;
    }
    const EntryRule rule = ruleFor(stepped, m_stepValues->objectName());
    const InstrumentIdentity& identity = m_checks.identity();
    for (const QString& value : values) {
        const EntryVerdict verdict =
            judgeEntry(rule, value.trimmed(), biasLimitFor(m_variant.config, identity));
        if (verdict.refusal) {
            refuse(verdict.refusal->message, rule.title, m_stepValues, stepped, rule.returnsFocus);
            return;
        }
    }
}

void SweepSettingFrame::refuse(const QString& message, const QString& title, QLineEdit* entry,
                               RunSetting setting, bool returnsFocus) {
    m_dialogs.message(message, MessageButtons::Ok, MessageIcon::None,
                      title.isEmpty() ? m_variant.applicationTitle : title);
    entry->setText(resetText(setting));
    if (returnsFocus)
        entry->setFocus(Qt::OtherFocusReason);
}
