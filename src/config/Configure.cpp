#include "config/Configure.h"

#include "app/ProgramRoot.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>

Configure::Configure(ProgramRoot& root) : QWidget(nullptr), m_root(root) {
    setObjectName(QStringLiteral("Configure"));
    setWindowTitle(QStringLiteral("Configuration"));
    m_unit = new QLineEdit(this);
    m_unit->setObjectName(QStringLiteral("Unit"));
    m_singleOrSweep = new QComboBox(this);
    m_singleOrSweep->setObjectName(QStringLiteral("SingleorSweep"));
    m_singleOrSweep->setEditable(true);
    m_singleOrSweep->addItems({QStringLiteral("Single Measurement"), QStringLiteral("Sweep")});
    m_logsweep = new QCheckBox(QStringLiteral("Log Sweep"), this);
    m_logsweep->setObjectName(QStringLiteral("logsweep"));
    m_startFreq = new QLineEdit(QStringLiteral("1000"), this);
    m_startFreq->setObjectName(QStringLiteral("StartFreq"));
    m_stopFreq = new QLineEdit(QStringLiteral("100000"), this);
    m_stopFreq->setObjectName(QStringLiteral("StopFreq"));
    m_sweepSteps = new QLineEdit(QStringLiteral("10"), this);
    m_sweepSteps->setObjectName(QStringLiteral("SweepSteps"));
}

void Configure::Form_Load() {}

void Configure::closeEvent(QCloseEvent* event) {
    // Closing with the title bar discards the window and its values.
    event->accept();
    m_root.discardConfigure();
}
