// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instrument/IdentitySplit.h"
#include "link/InstrumentLink.h"
#include "values/MeasuredPoint.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

struct InstrumentIdentity;
struct InstrumentVariant;
class SerialPort;
class Timing;

// Everything an instrument family does its own way on the line: the hand-over at connect,
// the identification, the trigger and fetch of a result and its decoding. The texts and
// limits that differ only in value stay in the family's profile (profiles/).
//
// To add a third family:
//  1. write its profile in profiles/<family>/ (texts, limits, lists, upload steps);
//  2. derive a class from Instrument in this folder and implement every pure function;
//  3. return it from makeInstrument() for its VariantKind;
//  4. add a program in src/gui/programs/ that hands its profile to runPanel(), and a
//     --family word in lcrctl.
class Instrument {
public:
    explicit Instrument(const InstrumentVariant& variant) : m_variant(variant) {}
    virtual ~Instrument() = default;
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    // Prepares the instrument for remote use once the port is open at the chosen rate.
    // showResults(bringToFront) hides the connection window and shows the Results window;
    // each family calls it where its sequence has it. Throws Failure.
    virtual void handOver(InstrumentLink& link, SerialPort& port,
                          const std::function<void(bool bringToFront)>& showResults) const = 0;

    // Asks for the identification and, when a line came, splits it into identity (left as
    // it was when the line cannot be split). Throws Failure, ProgramEnding.
    Reply identify(InstrumentLink& link, InstrumentIdentity& identity) const;
    // Splits an identification line as this family writes it; false, leaving identity as
    // it was, when the line cannot be split.
    bool splitIdentity(const QString& line, InstrumentIdentity& identity) const {
        return ::splitIdentity(line, identityLayout(), identity);
    }

    // Triggers one measurement and fetches its result. Throws Failure, ProgramEnding.
    virtual Reply triggerAndFetch(InstrumentLink& link, Timing& timing) const = 0;
    // The result reply's fields as the boxes show them.
    virtual MeasuredPoint decodeResult(const QString& reply) const = 0;
    // The pauses and settling the program itself spends on one trigger and fetch, in seconds.
    virtual double pacingSecondsPerMeasurement() const = 0;

    // Sets the test frequency of a sweep point. Throws Failure.
    void sendFrequency(InstrumentLink& link, qint32 hertz) const;
    // The hertz text sendFrequency sends.
    static QString frequencyText(qint32 hertz) { return QString::number(hertz); }
    // Locks or unlocks the instrument's own keys. Throws Failure.
    void sendLock(InstrumentLink& link, bool locked) const;

protected:
    virtual IdentityLayout identityLayout() const = 0;
    const InstrumentVariant& variant() const { return m_variant; }

private:
    const InstrumentVariant& m_variant;
};

// The instrument object of the program's family; it refers to variant, which must outlive it.
std::unique_ptr<Instrument> makeInstrument(const InstrumentVariant& variant);
