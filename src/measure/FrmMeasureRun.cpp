// The measurement window's side of a run: Start, the status box and the result boxes.
#include "measure/FrmMeasure.h"

#include "app/HandlerGuard.h"
#include "app/ProgramRoot.h"
#include "measure/MeasurementFailure.h"
#include "measure/MeasurementRun.h"
#include "measure/ResultDecoding.h"

#include <QLineEdit>

void FrmMeasure::Start_Click() {
    // No run inside another: a press while a stopped run finishes its point waits for it.
    if (deferWhileBusy(Press::Start))
        return;
    beginBusy();
    m_runActive = true;
    m_root.setRunInProgress(true);
    runHandler(m_root.dialogs(), QStringLiteral("frmMeasure -> Start_Click"),
               [this] { MeasurementRun(*this, m_root).execute(); });
    m_runActive = false;
    m_root.setRunInProgress(false);
    endBusy();
}

void FrmMeasure::showStatus(const QString& text) {
    m_status->setText(text);
}

void FrmMeasure::showResult(const DecodedReply& decoded) {
    for (const BoxText& shown : decoded.texts) {
        QLineEdit* box = nullptr;
        switch (shown.box) {
        case ResultBox::TestNumber:
            box = m_testNumber;
            break;
        case ResultBox::Ppar:
            box = m_ppar;
            break;
        case ResultBox::Pvalue:
            box = m_pvalue;
            break;
        case ResultBox::Punit:
            box = m_punit;
            break;
        case ResultBox::Bin:
            box = m_bin;
            break;
        case ResultBox::Spar:
            box = m_spar;
            break;
        case ResultBox::Svalue:
            box = m_svalue;
            break;
        case ResultBox::Sunit:
            box = m_sunit;
            break;
        }
        if (box)
            box->setText(shown.text);
    }
    if (!decoded.complete())
        throw MeasurementFailure(
            QStringLiteral("The instrument's reply has %1 fields where %2 are needed")
                .arg(decoded.fieldCount)
                .arg(decoded.fieldsNeeded));
}

void FrmMeasure::logShownResult(std::optional<qint32> frequency) {
    if (!m_bLog)
        return;
    QStringList fields;
    if (frequency)
        fields << QString::number(*frequency);
    for (const QLineEdit* box : {m_ppar, m_pvalue, m_punit, m_spar, m_svalue, m_sunit})
        fields << box->text();
    appendRecordToLog(fields);
}
