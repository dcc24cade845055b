// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profiles/ConfigProfile.h"
#include "values/Failure.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class InstrumentLink;
class Timing;
struct TestSettings;

// What an upload reads: the settings, and the profile that says which position a list's
// text stands at.
struct UploadSource {
    const TestSettings& settings;
    const ConfigProfile& profile;
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
