// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profiles/ConfigProfile.h"
#include "settings/EntryJudgement.h"

#include <QString>

#include <optional>

class Dialogs;
class QWidget;
struct InstrumentIdentity;
struct InstrumentVariant;

// The checks of the configuration window's numeric entries, one family driven by the
// program's table of entry rules and judged without the window (settings/EntryJudgement). A refused
// text gets its message (OK only), the entry's reset text and, for most entries, the focus back.
//
// Also keeps sFreq, the test frequency in hertz: the check of freq is the only place that
// turns its text into a number.
class EntryChecks {
public:
    EntryChecks(const InstrumentVariant& variant, Dialogs& dialogs,
                const InstrumentIdentity& identity, QWidget& window);

    const EntryRule* ruleFor(const QString& entry) const;

    // Runs the entry's check as on its focus loss. A check asked for while another one is
    // showing its message or handing the focus back is skipped: those focus moves are the
    // program's, not the operator leaving an entry.
    void check(const EntryRule& rule);
    void check(const QString& entry);

    float testFrequency() const { return m_testFrequency; }
    const InstrumentIdentity& identity() const { return m_identity; }

private:
    void run(const EntryRule& rule, QWidget& entry);
    // The message, the reset text, the test frequency the refusal sets, the focus back.
    void refuse(const EntryRefusal& refusal, QWidget& entry, std::optional<float> testFrequency);
    QWidget* control(const QString& name) const;

    const InstrumentVariant& m_variant;
    Dialogs& m_dialogs;
    const InstrumentIdentity& m_identity;
    QWidget& m_window;
    float m_testFrequency = 0.0f;
    bool m_checking = false;
};
