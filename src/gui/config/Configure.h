// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/EntryChecks.h"
#include "config/SweepSettingFrame.h"
#include "settings/TestSettings.h"
#include "values/RunSettings.h"
#include "widgets/EditableList.h"

#include <QWidget>

#include <vector>

class Dialogs;
class InstrumentLink;
class Timing;
struct InstrumentIdentity;
struct InstrumentVariant;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
struct ConfigProfile;

// What the configuration window works with.
struct ConfigureServices {
    const InstrumentVariant& variant;
    InstrumentLink& link;
    Timing& timing;
    Dialogs& dialogs;
    // The identity of the instrument, kept by the program; the bias limit depends on its model.
    const InstrumentIdentity& identity;
};

// The configuration window, captioned "Configuration": the test settings, the measured
// parameters, the entry checks and the uploads to the instrument. Hidden by its Exit (all
// values kept); closed with the title bar it is discarded and made anew on the next touch.
// Other windows never see its controls: it publishes runSettings() and tells the test
// frequency it sent.
//
// Controls a program lacks (the LR40's test number and system settings in PX80panel) are
// null.
class Configure : public QWidget {
    Q_OBJECT
public:
    explicit Configure(const ConfigureServices& services);

    // The single-or-sweep choice and the sweep entries as they stand now.
    RunSettings runSettings() const;
    // Every setting as the window shows it now, with sFreq and bDC: what the uploads send.
    TestSettings testSettings() const;
    // Shows the instrument's model above the settings.
    void showModel(const QString& model);

    // The controls, for tests that drive the window as the operator does. Other windows
    // never touch them: they read runSettings() and hear the signals below.
    QLineEdit* Unit() const { return m_unit; }
    QComboBox* SingleorSweep() const { return m_singleOrSweep; }
    QCheckBox* logsweep() const { return m_logsweep; }
    QLineEdit* StartFreq() const { return m_startFreq; }
    QLineEdit* StopFreq() const { return m_stopFreq; }
    QLineEdit* SweepSteps() const { return m_sweepSteps; }

    // The test settings.
    QLineEdit* TestNo() const { return m_testNo; }
    QComboBox* Ppar() const { return m_ppar; }
    QComboBox* Spar() const { return m_spar; }
    QLineEdit* freq() const { return m_freq; }
    QLineEdit* Voltage() const { return m_voltage; }
    QComboBox* Bias() const { return m_bias; }
    QComboBox* Range() const { return m_range; }
    QComboBox* Accuracy() const { return m_accuracy; }
    QLineEdit* Delay() const { return m_delay; }
    QLineEdit* num_avg() const { return m_numAvg; }
    QComboBox* listMedian() const { return m_listMedian; }
    QComboBox* ListCable() const { return m_listCable; }
    QComboBox* ListLevel() const { return m_listLevel; }
    QComboBox* ListSRC() const { return m_listSrc; }
    QGroupBox* fraSweepControls() const { return m_fraSweepControls; }
    // What the sweep walks through and what it steps (below fraSweepControls).
    SweepSettingFrame* fraSweepSetting() const { return m_fraSweepSetting; }
    QFrame* Frame1() const { return m_frame1; }
    QPushButton* Update() const { return m_update; }
    QPushButton* CmdUpSys() const { return m_cmdUpSys; }
    QPushButton* Exit() const { return m_exit; }

    // The test frequency in hertz from the last check of freq; 0 until the first one.
    float sFreq() const { return m_checks.testFrequency(); }
    // True while the primary parameter is a DC measurement (set when Ppar loses focus).
    bool bDC() const { return m_bDC; }

signals:
    // Exit was pressed: the window has hidden itself; the Results window is wanted.
    void exitPressed();
    // Closed with the title bar: the window and its values are to be discarded.
    void closed();
    // An upload has sent the test frequency, given as sent ("conf:freq " + hertz).
    void testFrequencySent(const QString& hertz);
    // "Update Test" sent the whole test: a voltage or bias sweep returns to these values.
    void testUploaded(const TestSettings& settings);

public slots:
    void Form_Load();
    // No upload may put its commands between those of a measurement run.
    void setUploadsAllowed(bool allowed);
    void Exit_Click();
    void SingleorSweep_Click();
    void Update_Click();
    void CmdUpSys_Click();
    void Ppar_Click();
    void Ppar_LostFocus();
    void Ppar_Change();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls(const ConfigProfile& profile);
    void layOutWithSystemColumn();
    void layOutSingleColumn();
    void applyLook();
    void watchEntries();
    void refillSecondary(const QStringList& items);
    void takeFocusFromEntries(QPushButton* pressed);
    void uploadTest();
    void upload(const std::vector<UploadStep>& steps);

    const InstrumentVariant& m_variant;
    InstrumentLink& m_link;
    Timing& m_timing;
    Dialogs& m_dialogs;
    EntryChecks m_checks;
    bool m_bDC = false;
    bool m_uploadsAllowed = true;

    QLineEdit* m_unit = nullptr;
    QLineEdit* m_testNo = nullptr;
    QComboBox* m_ppar = nullptr;
    QComboBox* m_spar = nullptr;
    QLineEdit* m_freq = nullptr;
    QLineEdit* m_voltage = nullptr;
    QComboBox* m_bias = nullptr;
    QComboBox* m_range = nullptr;
    QComboBox* m_accuracy = nullptr;
    QLineEdit* m_delay = nullptr;
    QLineEdit* m_numAvg = nullptr;
    QComboBox* m_listMedian = nullptr;
    QComboBox* m_listCable = nullptr;
    QComboBox* m_listLevel = nullptr;
    QComboBox* m_listSrc = nullptr;
    EditableList* m_singleOrSweep = nullptr;
    QGroupBox* m_fraSweepControls = nullptr;
    SweepSettingFrame* m_fraSweepSetting = nullptr;
    QCheckBox* m_logsweep = nullptr;
    QLineEdit* m_startFreq = nullptr;
    QLineEdit* m_stopFreq = nullptr;
    QLineEdit* m_sweepSteps = nullptr;
    QFrame* m_frame1 = nullptr;
    QPushButton* m_update = nullptr;
    QPushButton* m_cmdUpSys = nullptr;
    QPushButton* m_exit = nullptr;
};
