#pragma once

#include <QWidget>

class ProgramRoot;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The configuration window, captioned "Configuration".
class Configure : public QWidget {
    Q_OBJECT
public:
    explicit Configure(ProgramRoot& root);

    // Controls other windows read or write.
    QLineEdit* Unit() const { return m_unit; }
    QComboBox* SingleorSweep() const { return m_singleOrSweep; }
    QCheckBox* logsweep() const { return m_logsweep; }
    QLineEdit* StartFreq() const { return m_startFreq; }
    QLineEdit* StopFreq() const { return m_stopFreq; }
    QLineEdit* SweepSteps() const { return m_sweepSteps; }

public slots:
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ProgramRoot& m_root;
    QLineEdit* m_unit;
    QComboBox* m_singleOrSweep;
    QCheckBox* m_logsweep;
    QLineEdit* m_startFreq;
    QLineEdit* m_stopFreq;
    QLineEdit* m_sweepSteps;
};
