// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form1.h"

#include "link/PortChoice.h"
#include "app/PortList.h"
#include "instrument/Instrument.h"
#include "link/SerialPort.h"
#include "logging/ResultLog.h"
#include "profiles/InstrumentVariant.h"
#include "widgets/HandlerGuard.h"
#include "widgets/PanelLook.h"
#include "widgets/WidgetFactory.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A list that also takes typed text, read as it stands and never added to the list.
template <typename List> List* editableList(List* box, const QString& name) {
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCurrentIndex(-1);
    return box;
}
} // namespace

Form1::Form1(const ConnectionServices& services) : QWidget(nullptr), m_services(services) {
    const InstrumentVariant& v = services.variant;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(v.connection.caption);

    m_port = editableList(new PortList(services.port, this), QStringLiteral("port"));
    m_baud = editableList(
        Widgets::list(this, QString(), {QStringLiteral("9600"), QStringLiteral("19200")}),
        QStringLiteral("baud"));
    m_connect = Widgets::button(this, QStringLiteral("Measure"), QStringLiteral("Finished"),
                                QStringLiteral("Displays measurement Data"));
    m_exit = Widgets::button(this, QStringLiteral("Command3"), QStringLiteral("Exit"),
                             QStringLiteral("Exits program"));

    QLabel* label3 = Widgets::label(this, QStringLiteral("Label3"), QStringLiteral("ComPort : "));
    QLabel* label5 = Widgets::label(this, QStringLiteral("Label5"), v.connection.baudLabel);
    QLabel* version = Widgets::label(this, QStringLiteral("Version"), v.connection.versionLabel);
    QLabel* label4 =
        Widgets::label(this, QStringLiteral("Label4"), QStringLiteral("Marovex Instruments"));
    QLabel* label6 = Widgets::label(this, QStringLiteral("Label6"),
                                    QStringLiteral("Customer service: service@marovex.example"));
    label3->setBuddy(m_port);
    label5->setBuddy(m_baud);

    // The choices on the left, labels beside them; the buttons on the right; the maker's
    // details and the version underneath.
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(8);
    form->addWidget(label3, 0, 0);
    form->addWidget(m_port, 0, 1);
    form->addWidget(label5, 1, 0);
    form->addWidget(m_baud, 1, 1);
    form->setColumnMinimumWidth(2, 16);
    form->addWidget(m_connect, 0, 3);
    form->addWidget(m_exit, 1, 3);
    form->setColumnStretch(1, 1);
    // Wide enough for a typed port or baud rate such as "115200".
    for (QComboBox* box : {m_port, m_baud})
        box->setMinimumContentsLength(8);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* details = new QGridLayout;
    details->addWidget(label4, 0, 0);
    details->addWidget(label6, 1, 0);
    details->addWidget(version, 0, 1, Qt::AlignRight | Qt::AlignTop);
    details->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(rule);
    layout->addLayout(details);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    PanelLook::dressWindow(*this);

    setTabOrder(m_port, m_baud);
    setTabOrder(m_baud, m_connect);
    setTabOrder(m_connect, m_exit);

    connect(m_connect, &QPushButton::clicked, this, &Form1::Measure_Click);
    connect(m_exit, &QPushButton::clicked, this, &Form1::Command3_Click);
}

void Form1::Form_Load() {
    SerialPort& port = m_services.port;
    // Start-up reports nothing: a missing port simply stays closed.
    ignoringFailure([&] { port.setPortOpen(false); });
    ignoringFailure([&] { port.setPortOpen(true); });
    m_port->setCurrentIndex(0);
    m_baud->setCurrentIndex(0);
    m_exit->setEnabled(true);
}

void Form1::Measure_Click() {
    runHandler(m_services.dialogs, QStringLiteral("Form1 -> Measure_Click"),
               [this] { connectSequence(); });
}

void Form1::connectSequence() {
    // A port left closed by a failed start-up or connect is simply opened again with the
    // operator's choice, so that connecting works once the line is back.
    const QString text = m_port->currentText();
    const PortChoice choice =
        choosePort(text, m_port->itemData(m_port->findText(text)).toString(), hostPortNaming());
    SerialPort& port = m_services.port;

    port.setPortOpen(false);
    if (choice.namesDevice())
        port.setDevice(choice.device);
    else
        port.setCommPort(choice.number);
    if (!openChosenPort(choice))
        return;

    port.setPortOpen(false);
    port.setSettings(m_baud->currentText() == QLatin1String("19200") ? QStringLiteral("19200")
                                                                     : QStringLiteral("9600"));
    if (!openChosenPort(choice))
        return;

    emit connected();
    m_services.instrument.handOver(m_services.link, port, [this](bool bringToFront) {
        hide();
        emit resultsWanted(bringToFront);
    });
}

bool Form1::openChosenPort(const PortChoice& choice) {
    try {
        m_services.port.setPortOpen(true);
        return true;
    } catch (const Failure& failure) {
        m_services.dialogs.message(portNotAvailableText(choice, failure), MessageButtons::Ok,
                                   MessageIcon::None, m_services.variant.applicationTitle);
        return false;
    }
}

void Form1::Command3_Click() {
    // The nested run from this window's own unload finds everything closed already.
    if (m_inExitSequence)
        return;
    m_inExitSequence = true;
    emit exitStarted();
    ignoringFailure([this] {
        if (m_services.port.PortOpen())
            m_services.port.setPortOpen(false);
    });
    ignoringFailure([this] { m_services.log.close(); });
    emit otherWindowsToClose();
    close();
    emit ended();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    Command3_Click();
}
