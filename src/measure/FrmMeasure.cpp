#include "measure/FrmMeasure.h"

#include "app/Form1.h"
#include "app/ProgramRoot.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

FrmMeasure::FrmMeasure(ProgramRoot& root) : QWidget(nullptr), m_root(root) {
    setObjectName(QStringLiteral("frmMeasure"));
    setWindowTitle(QStringLiteral("Results"));
    m_cmdExit = new QPushButton(QStringLiteral("Exit"), this);
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_cmdExit);
    connect(m_cmdExit, &QPushButton::clicked, this, &FrmMeasure::cmdExit_Click);
}

void FrmMeasure::Form_Load() {}

void FrmMeasure::cmdExit_Click() {
    leave();
}

void FrmMeasure::closeEvent(QCloseEvent* event) {
    event->accept();
    leave();
}

void FrmMeasure::leave() {
    // A second unload request while this one runs has no further effect.
    if (m_leaving)
        return;
    m_leaving = true;
    m_root.discardFrmMeasure();
    if (!m_root.exiting())
        m_root.form1().show();
}
