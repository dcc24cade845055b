// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Configure.h"

#include "config/ControlText.h"
#include "config/FocusReporting.h"
#include "link/InstrumentLink.h"
#include "platform/Timing.h"
#include "profiles/InstrumentVariant.h"
#include "settings/UploadSequence.h"
#include "widgets/EditableList.h"
#include "widgets/HandlerGuard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
void selectItem(QComboBox* list, int position) {
    list->setCurrentIndex(position);
    if (list->isEditable())
        list->setEditText(list->itemText(position));
}
} // namespace

Configure::Configure(const ConfigureServices& services)
    : QWidget(nullptr), m_variant(services.variant), m_link(services.link),
      m_timing(services.timing), m_dialogs(services.dialogs),
      m_checks(services.variant, services.dialogs, services.identity, *this) {
    setObjectName(QStringLiteral("Configure"));
    setWindowTitle(QStringLiteral("Configuration"));
    const ConfigProfile& profile = m_variant.config;
    createControls(profile);
    if (profile.hasSystemSettings)
        layOutWithSystemColumn();
    else
        layOutSingleColumn();
    applyLook();
    watchEntries();

    connect(m_ppar, &QComboBox::activated, this, &Configure::Ppar_Click);
    connect(m_singleOrSweep, &EditableList::picked, this, &Configure::SingleorSweep_Click);
    connect(m_update, &QPushButton::clicked, this, &Configure::Update_Click);
    connect(m_exit, &QPushButton::clicked, this, &Configure::Exit_Click);
    if (m_cmdUpSys)
        connect(m_cmdUpSys, &QPushButton::clicked, this, &Configure::CmdUpSys_Click);
}

void Configure::watchEntries() {
    for (const EntryRule& rule : m_variant.config.entryRules) {
        auto* reporter = dynamic_cast<FocusLossReporter*>(findChild<QWidget*>(rule.entry));
        if (!reporter)
            continue;
        const QString title = QStringLiteral("Configure -> %1_LostFocus").arg(rule.entry);
        reporter->onFocusLost(
            [this, &rule, title] { runHandler(m_dialogs, title, [&] { m_checks.check(rule); }); });
    }
    if (auto* reporter = dynamic_cast<FocusLossReporter*>(m_ppar))
        reporter->onFocusLost([this] { Ppar_LostFocus(); });
}

void Configure::Form_Load() {
    const ConfigProfile& profile = m_variant.config;
    m_ppar->setCurrentIndex(0);
    Ppar_Click();
    m_spar->setCurrentIndex(0);
    m_spar->setEnabled(false);
    m_freq->setText(QStringLiteral("1000"));
    m_voltage->setText(QStringLiteral("1"));
    selectItem(m_accuracy, profile.accuracyStart);
    selectItem(m_bias, profile.biasStart);
    selectItem(m_range, profile.rangeStart);
    m_delay->setText(QStringLiteral("0"));
    m_numAvg->setText(QStringLiteral("1"));
    m_listMedian->setCurrentIndex(0);
    for (QComboBox* list : {m_listCable, m_listSrc, m_listLevel})
        if (list)
            list->setCurrentIndex(0);
    m_fraSweepControls->hide();
    m_fraSweepSetting->hide();

    if (profile.creationCommand.isEmpty())
        return;
    // A failed send must not end the program: reported like any handler failure.
    runHandler(m_dialogs, QStringLiteral("Configure -> Form_Load"), [&] {
        m_link.SendCommand(profile.creationCommand);
        m_timing.sleepMs(profile.creationWaitMs);
    });
}

RunSettings Configure::runSettings() const {
    RunSettings settings;
    settings.sweep = m_singleOrSweep->currentText() != QLatin1String("Single Measurement");
    settings.startText = m_startFreq->text();
    settings.stopText = m_stopFreq->text();
    settings.stepsText = m_sweepSteps->text();
    settings.logarithmic = m_logsweep->checkState() != Qt::Unchecked;
    m_fraSweepSetting->addTo(settings);
    return settings;
}

TestSettings Configure::testSettings() const {
    TestSettings settings;
    const QList<QWidget*> entries = findChildren<QWidget*>();
    for (QWidget* control : entries)
        if (QString* text = settings.text(control->objectName()))
            *text = controlText(control);
    settings.run = runSettings();
    settings.sFreq = sFreq();
    settings.bDC = m_bDC;
    return settings;
}

void Configure::showModel(const QString& model) {
    m_unit->setText(model);
}

void Configure::Exit_Click() {
    hide();
    emit exitPressed();
}

void Configure::SingleorSweep_Click() {
    m_fraSweepControls->setVisible(m_singleOrSweep->currentText() == QLatin1String("Sweep"));
    m_fraSweepSetting->setVisible(m_fraSweepControls->isVisibleTo(this));
}

void Configure::Update_Click() {
    if (!m_uploadsAllowed)
        return;
    takeFocusFromEntries(m_update);
    runHandler(m_dialogs, m_variant.config.testUploadReport, [this] { uploadTest(); });
}

void Configure::uploadTest() {
    // Step 0: the frequency check, exactly as on focus loss, so sFreq matches the entry.
    m_checks.check(QStringLiteral("freq"));
    upload(m_variant.config.testUpload);
    emit testUploaded(testSettings());
}

void Configure::CmdUpSys_Click() {
    if (!m_uploadsAllowed || !m_cmdUpSys)
        return;
    takeFocusFromEntries(m_cmdUpSys);
    runHandler(m_dialogs, m_variant.config.systemUploadReport,
               [this] { upload(m_variant.config.systemUpload); });
}

void Configure::upload(const std::vector<UploadStep>& steps) {
    // The settings are read once: the pauses between the commands let no event run.
    const TestSettings settings = testSettings();
    sendUpload(steps, UploadSource{settings, m_variant.config}, m_link, m_timing,
               [this](const UploadStep& step, const QString& sent) {
                   if (step.argument == UploadStep::Argument::TestFrequency)
                       emit testFrequencySent(sent.mid(step.keyword.size()));
               });
}

void Configure::takeFocusFromEntries(QPushButton* pressed) {
    // A click on the button takes the focus, and the entry left behind runs its focus-loss
    // rule or check first (bDC included). A button pressed from the keyboard has the focus
    // already; one pressed by the program gets it here.
    if (pressed->focusPolicy() != Qt::NoFocus && focusWidget() != pressed)
        pressed->setFocus(Qt::OtherFocusReason);
}

void Configure::setUploadsAllowed(bool allowed) {
    m_uploadsAllowed = allowed;
    m_update->setEnabled(allowed);
    if (m_cmdUpSys)
        m_cmdUpSys->setEnabled(allowed);
}

void Configure::closeEvent(QCloseEvent* event) {
    // Closing with the title bar discards the window and its values.
    event->accept();
    emit closed();
}
