#include "config/EntryChecks.h"

#include "config/ControlText.h"
#include "numbers/FrequencyEntry.h"
#include "numbers/NumberText.h"
#include "numbers/PlainNumber.h"
#include "platform/Dialogs.h"
#include "profiles/InstrumentVariant.h"
#include "values/InstrumentIdentity.h"

#include <QScopedValueRollback>
#include <QWidget>

namespace {
// Single-precision entries are compared with single-precision limits, so that "0.02" and
// "0.01" pass the limits they name.
bool withinLimits(EntryReading reading, double value, double low, double high) {
    if (reading == EntryReading::Double)
        return value >= low && value <= high;
    const float v = static_cast<float>(value);
    return v >= static_cast<float>(low) && v <= static_cast<float>(high);
}
} // namespace

std::optional<double> readEntryNumber(EntryReading reading, const QString& text) {
    switch (reading) {
    case EntryReading::Frequency:
        if (const std::optional<float> hertz = ReadFrequencyEntry(text))
            return static_cast<double>(*hertz);
        return std::nullopt;
    case EntryReading::Single:
        if (const std::optional<float> value = readPlainSingle(text))
            return static_cast<double>(*value);
        return std::nullopt;
    case EntryReading::Double:
        return readPlainNumber(text);
    }
    return std::nullopt;
}

EntryChecks::EntryChecks(const InstrumentVariant& variant, Dialogs& dialogs,
                         const InstrumentIdentity& identity, QWidget& window)
    : m_variant(variant), m_dialogs(dialogs), m_identity(identity), m_window(window) {}

const EntryRule* EntryChecks::ruleFor(const QString& entry) const {
    for (const EntryRule& rule : m_variant.config.entryRules)
        if (rule.entry == entry)
            return &rule;
    return nullptr;
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
    const QString text = controlText(&entry);
    if (rule.words.contains(text))
        return;

    double high = rule.high;
    QString limitText; // the bias messages end with the limit in force
    if (rule.limitFromModel) {
        high = biasLimit();
        limitText = plainDecimal(static_cast<float>(high));
    }

    const std::optional<double> value = readEntryNumber(rule.reading, text);
    if (!value) {
        refuse(rule, entry, rule.notNumberMessage + limitText,
               rule.notNumberResetText.isEmpty() ? rule.resetText : rule.notNumberResetText);
        return;
    }
    const bool accepted =
        (rule.zeroAccepted && *value == 0.0) || withinLimits(rule.reading, *value, rule.low, high);
    if (accepted) {
        if (rule.setsTestFrequency)
            m_testFrequency = static_cast<float>(*value);
    } else {
        refuse(rule, entry, rule.outOfRangeMessage + limitText, rule.resetText);
    }
    if (!rule.mustExceedEntry.isEmpty())
        requireAboveStart(rule, entry);
}

void EntryChecks::refuse(const EntryRule& rule, QWidget& entry, const QString& message,
                         const QString& resetText) {
    tell(rule, message);
    if (resetText.isEmpty())
        selectFirstItem(&entry);
    else
        setControlText(&entry, resetText);
    if (rule.setsTestFrequency)
        m_testFrequency =
            static_cast<float>(readEntryNumber(rule.reading, resetText).value_or(0.0));
    if (rule.returnsFocus)
        entry.setFocus(Qt::OtherFocusReason);
}

void EntryChecks::requireAboveStart(const EntryRule& rule, QWidget& entry) {
    const std::optional<float> start =
        ReadFrequencyEntry(controlText(control(rule.mustExceedEntry)));
    const std::optional<float> stop = ReadFrequencyEntry(controlText(&entry));
    // A start that is not a number gives nothing to compare with; its own check deals
    // with it when it loses the focus.
    if (!start || !stop || *stop > *start)
        return;
    tell(rule, rule.notAboveMessage);
    setControlText(&entry, plainDecimal(*start + 1.0f));
    if (rule.returnsFocus)
        entry.setFocus(Qt::OtherFocusReason);
}

void EntryChecks::tell(const EntryRule& rule, const QString& message) {
    const QString title = rule.title.isEmpty() ? m_variant.applicationTitle : rule.title;
    m_dialogs.message(message, MessageButtons::Ok, MessageIcon::None, title);
}

float EntryChecks::biasLimit() const {
    const ConfigProfile& profile = m_variant.config;
    const QString& model = m_identity.Model;
    for (const auto& [modelText, limit] : profile.biasLimitByModel)
        if (model == modelText)
            return limit;
    return profile.otherModelBiasLimit;
}

QWidget* EntryChecks::control(const QString& name) const {
    return name.isEmpty() ? nullptr : m_window.findChild<QWidget*>(name);
}
