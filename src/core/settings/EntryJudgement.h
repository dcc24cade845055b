// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profiles/ConfigProfile.h"

#include <QString>

#include <optional>

struct InstrumentIdentity;

// An entry text that its check refuses: the message to show and the text the entry gets
// back.
struct EntryRefusal {
    QString message;
    QString title; // the rule's title; empty: the program's own
    // The text the entry is reset to; nothing: the first item of the entry's list.
    std::optional<QString> resetText;
    bool returnsFocus = true;
};

// What the check of one entry text decides, without any window.
struct EntryVerdict {
    std::optional<EntryRefusal> refusal;
    // For the frequency entry: the test frequency in hertz the check sets (the value read,
    // or the reset text's value after a refusal).
    std::optional<float> testFrequency;
    // The text read as a number: only then does an entry that must exceed another go on to
    // that comparison.
    bool number = false;
};

// Reads an entry text the way its rule says; nothing when it is not a number.
std::optional<double> readEntryNumber(EntryReading reading, const QString& text);

// The check of the entry with that objectName; null when it has none.
const EntryRule* entryRuleFor(const ConfigProfile& profile, const QString& entry);

// The bias limit in force for the instrument's model.
float biasLimitFor(const ConfigProfile& profile, const InstrumentIdentity& identity);

// The check of an entry's own text: accepted words, number, limits.
EntryVerdict judgeEntry(const EntryRule& rule, const QString& text, float biasLimit);

// The second check of an entry that must exceed another (stop above start), on the texts
// as they stand after the first; nothing when it passes or cannot be compared.
std::optional<EntryRefusal> judgeAboveOther(const EntryRule& rule, const QString& otherText,
                                            const QString& text);
