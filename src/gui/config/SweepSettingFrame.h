// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "values/RunSettings.h"

#include <QFrame>
#include <QString>

#include <functional>
#include <map>
#include <utility>

class Dialogs;
class EntryChecks;
class QComboBox;
class QLineEdit;
struct EntryRule;
struct InstrumentVariant;

// The configuration window's choice of what a sweep walks through (SweepParameter, with
// SweepStart and SweepStop for a voltage or bias sweep) and of a second setting stepped
// over (StepParameter, StepValues). With "Frequency" swept and "None" stepped the sweep is
// the designed frequency sweep of fraSweepControls. Shown and hidden with that frame.
class SweepSettingFrame : public QFrame {
    Q_OBJECT
public:
    // settingValue(control) gives the window's current text of "Voltage" or "Bias": what
    // a refused entry goes back to.
    SweepSettingFrame(const InstrumentVariant& variant, Dialogs& dialogs, EntryChecks& checks,
                      std::function<QString(const QString&)> settingValue, QWidget* parent);

    // Fills the swept and stepped settings of a run.
    void addTo(RunSettings& settings) const;

    QComboBox* SweepParameter() const { return m_sweepParameter; }
    QLineEdit* SweepStart() const { return m_sweepStart; }
    QLineEdit* SweepStop() const { return m_sweepStop; }
    QComboBox* StepParameter() const { return m_stepParameter; }
    QLineEdit* StepValues() const { return m_stepValues; }

private:
    void sweepParameterChosen();
    void stepParameterChosen();
    void refuseEqualSettings();
    void checkEnd(QLineEdit* entry);
    void checkStepValues();
    // The setting's check, read as plain numbers only, resetting to the window's value.
    EntryRule ruleFor(RunSetting setting, const QString& entry) const;
    QString resetText(RunSetting setting) const;
    void refuse(const QString& message, const QString& title, QLineEdit* entry, RunSetting setting,
                bool returnsFocus);

    const InstrumentVariant& m_variant;
    Dialogs& m_dialogs;
    EntryChecks& m_checks;
    std::function<QString(const QString&)> m_settingValue;
    RunSetting m_shown = RunSetting::Frequency; // whose texts SweepStart and SweepStop hold
    // Each swept setting's start and stop texts, kept while another one is chosen.
    std::map<RunSetting, std::pair<QString, QString>> m_texts;

    QComboBox* m_sweepParameter;
    QLineEdit* m_sweepStart;
    QLineEdit* m_sweepStop;
    QComboBox* m_stepParameter;
    QLineEdit* m_stepValues;
};
