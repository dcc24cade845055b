#include "config/Configure.h"

#include "app/ProgramRoot.h"

#include <QCloseEvent>

Configure::Configure(ProgramRoot& root) : QWidget(nullptr), m_root(root) {
    setObjectName(QStringLiteral("Configure"));
    setWindowTitle(QStringLiteral("Configuration"));
}

void Configure::Form_Load() {}

void Configure::closeEvent(QCloseEvent* event) {
    // Closing with the title bar discards the window and its values.
    event->accept();
    m_root.discardConfigure();
}
