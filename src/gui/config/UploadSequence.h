#pragma once

#include "profiles/ConfigProfile.h"
#include "values/Failure.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class InstrumentLink;
class Timing;
class QWidget;

// What an upload reads besides the controls named in its steps.
struct UploadSource {
    const QWidget& window; // holds the controls, found by objectName
    float testFrequency;   // sFreq
    bool dc;               // bDC
};

// The command one step sends, or nothing when its condition does not hold.
// Throws Failure.
std::optional<QString> uploadCommand(const UploadStep& step, const UploadSource& source);

// Called after each command has gone out, before its pause.
using UploadSent = std::function<void(const UploadStep& step, const QString& command)>;

// Sends the steps in order, each followed by its blocking pause. The first failure ends
// the sequence: nothing after it is sent.
void sendUpload(const std::vector<UploadStep>& steps, const UploadSource& source,
                InstrumentLink& link, Timing& timing, const UploadSent& sent = UploadSent());
