// SPDX-License-Identifier: GPL-3.0-or-later
// What the Results window shows of a run and of the log.
#include "measure/FrmMeasure.h"

#include "link/Module1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void FrmMeasure::statusChanged(const QString& text) {
    m_status->setText(text);
}

void FrmMeasure::runEnded(RunEnd how) {
    // The sweep view says how a run that did not complete ended.
    if (how == RunEnd::Stopped)
        m_record.markStopped();
    else if (how == RunEnd::Failed && m_record.running())
        m_record.markFailed();
    // A stopped run has its idle buttons from Stop; a silent or failed one keeps only Stop.
    if (how != RunEnd::Completed)
        return;
    showIdleButtons();
    m_start->setFocus();
}

void FrmMeasure::runBegins(const RunOutline& outline) {
    m_record.begin(outline);
}

void FrmMeasure::frequencySent(const QString& hertz) {
    emit testFrequencySet(hertz);
}

void FrmMeasure::showTestFrequency() {
    const QString& hertz = m_services.module1.TestFrequency;
    m_frequency->setText(hertz.isEmpty() ? QStringLiteral("Test frequency: unknown")
                                         : QStringLiteral("Test frequency: %1 Hz").arg(hertz));
}

void FrmMeasure::pointShown(const MeasuredPoint& point) {
    const std::pair<ResultField, QLineEdit*> boxes[] = {{ResultField::TestNumber, m_testNumber},
                                                        {ResultField::PrimaryName, m_ppar},
                                                        {ResultField::PrimaryValue, m_pvalue},
                                                        {ResultField::PrimaryUnit, m_punit},
                                                        {ResultField::Bin, m_bin},
                                                        {ResultField::SecondaryName, m_spar},
                                                        {ResultField::SecondaryValue, m_svalue},
                                                        {ResultField::SecondaryUnit, m_sunit}};
    for (const auto& [field, box] : boxes)
        if (box && point.has(field))
            box->setText(point.text(field));
}

void FrmMeasure::pointRecorded(const MeasuredPoint& point) {
    m_logging.record(point);
    m_record.add(point);
}

void FrmMeasure::showLogButtons(bool logging) {
    m_stopLog->setEnabled(logging);
    m_cmdLog->setEnabled(!logging);
}

void FrmMeasure::showLoggingTo(const QString& path) {
    setWindowTitle(QStringLiteral("logging to file ") + path);
}

void FrmMeasure::showLoggingOff() {
    setWindowTitle(QStringLiteral("Results"));
    // During a run the log buttons stay off; the run's end sets them from bLog.
    if (!m_runButtonsShown)
        showLogButtons(false);
}
