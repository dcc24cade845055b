// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/EntryChecks.h"

#include "config/ControlText.h"
#include "platform/Dialogs.h"
#include "profiles/InstrumentVariant.h"
#include "settings/EntryJudgement.h"

#include <QScopedValueRollback>
#include <QWidget>

EntryChecks::EntryChecks(const InstrumentVariant& variant, Dialogs& dialogs,
                         const InstrumentIdentity& identity, QWidget& window)
    : m_variant(variant), m_dialogs(dialogs), m_identity(identity), m_window(window) {}

const EntryRule* EntryChecks::ruleFor(const QString& entry) const {
    return entryRuleFor(m_variant.config, entry);
}

void EntryChecks::check(const QString& entry) {
    if (const EntryRule* rule = ruleFor(entry))
        check(*rule);
}

void EntryChecks::check(const EntryRule& rule) {
    QWidget* entry = control(rule.entry);
    if (m_checking || !entry)
        return;
    const QScopedValueRollback checking(m_checking, true);
    run(rule, *entry);
}

void EntryChecks::run(const EntryRule& rule, QWidget& entry) {
    const EntryVerdict verdict =
        judgeEntry(rule, controlText(&entry), biasLimitFor(m_variant.config, m_identity));
    if (verdict.refusal)
        refuse(*verdict.refusal, entry, verdict.testFrequency);
    else if (verdict.testFrequency)
        m_testFrequency = *verdict.testFrequency;
    if (!verdict.number)
        return;
    if (const std::optional<EntryRefusal> notAbove =
            judgeAboveOther(rule, controlText(control(rule.mustExceedEntry)), controlText(&entry)))
        refuse(*notAbove, entry, std::nullopt);
}

void EntryChecks::refuse(const EntryRefusal& refusal, QWidget& entry,
                         std::optional<float> testFrequency) {
    const QString title = refusal.title.isEmpty() ? m_variant.applicationTitle : refusal.title;
    m_dialogs.message(refusal.message, MessageButtons::Ok, MessageIcon::None, title);
    if (refusal.resetText)
        setControlText(&entry, *refusal.resetText);
    else
        selectFirstItem(&entry);
    if (testFrequency)
        m_testFrequency = *testFrequency;
    if (refusal.returnsFocus)
        entry.setFocus(Qt::OtherFocusReason);
}

QWidget* EntryChecks::control(const QString& name) const {
    return name.isEmpty() ? nullptr : m_window.findChild<QWidget*>(name);
}
