#pragma once

#include "profiles/InstrumentVariant.h"

class InstrumentLink;
struct Module1;
struct InstrumentIdentity;

// Splits an identification line ("Maker, Model, Serial, Firmware" + line end) into
// identity. Returns false, leaving identity as it was, when the line has fewer than three
// commas or (LR40) its firmware does not begin with a number.
bool splitIdentity(const QString& line, VariantKind kind, InstrumentIdentity& identity);

// Asks the instrument for its identification and fills Module1's ReplyCopy and Identity.
// Serial failures reach the caller as PortError.
void QueryIdentity(InstrumentLink& link, Module1& module1, const InstrumentVariant& variant);
