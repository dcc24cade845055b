#include "app/Form1.h"

#include "app/HandlerGuard.h"
#include "app/PanelLook.h"
#include "app/PortChoice.h"
#include "app/PortList.h"
#include "app/ProgramRoot.h"
#include "config/Configure.h"
#include "link/SerialPort.h"
#include "measure/FrmMeasure.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QComboBox* editableList(const QString& name, const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    // Typed text is read as it stands; it is never added to the list.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

QPushButton* namedButton(const QString& name, const QString& caption, const QString& tip,
                         QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    PanelLook::dressButton(*button);
    return button;
}
} // namespace

Form1::Form1(ProgramRoot& root) : QWidget(nullptr), m_root(root) {
    const InstrumentVariant& v = root.variant();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(v.connection.caption);

    m_port = new PortList(root.port(), this);
    m_baud = editableList(QStringLiteral("baud"), {QStringLiteral("9600"), QStringLiteral("19200")},
                          this);
    m_measure = namedButton(QStringLiteral("Measure"), QStringLiteral("Finished"),
                            QStringLiteral("Displays measurement Data"), this);
    m_command3 = namedButton(QStringLiteral("Command3"), QStringLiteral("Exit"),
                             QStringLiteral("Exits program"), this);

    QLabel* label3 = namedLabel(QStringLiteral("Label3"), QStringLiteral("ComPort : "), this);
    QLabel* label5 = namedLabel(QStringLiteral("Label5"), v.connection.baudLabel, this);
    QLabel* version = namedLabel(QStringLiteral("Version"), v.connection.versionLabel, this);
    QLabel* label4 =
        namedLabel(QStringLiteral("Label4"), QStringLiteral("Marovex Instruments"), this);
    QLabel* label6 = namedLabel(QStringLiteral("Label6"),
                                QStringLiteral("Customer service: service@marovex.example"), this);
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
    form->addWidget(m_measure, 0, 3);
    form->addWidget(m_command3, 1, 3);
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
    setTabOrder(m_baud, m_measure);
    setTabOrder(m_measure, m_command3);

    connect(m_measure, &QPushButton::clicked, this, &Form1::Measure_Click);
    connect(m_command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

void Form1::Form_Load() {
    SerialPort& port = m_root.port();
    // Start-up reports nothing: a missing port simply stays closed.
    ignoringFailure([&] { port.setPortOpen(false); });
    ignoringFailure([&] { port.setPortOpen(true); });
    m_port->setCurrentIndex(0);
    m_baud->setCurrentIndex(0);
    m_command3->setEnabled(true);
}

void Form1::Measure_Click() {
    runHandler(m_root.dialogs(), QStringLiteral("Form1 -> Measure_Click"),
               [this] { connectSequence(); });
}

void Form1::connectSequence() {
    // A port left closed by a failed start-up or connect is simply opened again with the
    // operator's choice, so that connecting works once the line is back.
    const QString text = m_port->currentText();
    const PortChoice choice =
        choosePort(text, m_port->itemData(m_port->findText(text)).toString(), hostPortNaming());
    SerialPort& port = m_root.port();

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

    handOver();
}

bool Form1::openChosenPort(const PortChoice& choice) {
    try {
        m_root.port().setPortOpen(true);
        return true;
    } catch (const PortError& failure) {
        m_root.dialogs().message(portNotAvailableText(choice, failure), MessageButtons::Ok,
                                 MessageIcon::None, m_root.variant().applicationTitle);
        return false;
    }
}

void Form1::handOver() {
    const InstrumentVariant& v = m_root.variant();
    InstrumentLink& link = m_root.link();
    if (v.isLR40()) {
        for (const QString& command : v.connection.preparationCommands)
            link.SendCommand(command);
        hide();
        m_root.frmMeasure().show();
        return;
    }
    hide();
    m_root.frmMeasure().show();
    SerialPort& port = m_root.port();
    port.setDTREnable(true);
    port.setRTSEnable(true);
    port.setInBufferCount(0);
    for (const QString& command : v.connection.preparationCommands)
        link.SendCommand(command);
    FrmMeasure& results = m_root.frmMeasure();
    results.show();
    results.raise();
    results.activateWindow();
}

void Form1::Command3_Click() {
    // The nested run from this window's own unload finds everything closed already.
    if (m_inExitSequence)
        return;
    m_inExitSequence = true;
    m_root.setExiting();
    ignoringFailure([this] {
        if (m_root.port().PortOpen())
            m_root.port().setPortOpen(false);
    });
    ignoringFailure([this] { m_root.resultLog().close(); });
    if (Configure* configure = m_root.existingConfigure())
        configure->close();
    if (FrmMeasure* results = m_root.existingFrmMeasure())
        results->close();
    close();
    m_root.noteEnded();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    Command3_Click();
}
