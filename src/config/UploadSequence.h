#pragma once

#include "profiles/ConfigProfile.h"

#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

class Dialogs;
class InstrumentLink;
class Timing;
class QWidget;

// What an upload reads besides the controls named in its steps.
struct UploadSource {
    const QWidget& window; // holds the controls, found by objectName
    float testFrequency;   // sFreq
    bool dc;               // bDC
};

// A value of the window that cannot be sent (a range text that is no 16-bit number).
class UploadFailure : public std::runtime_error {
public:
    explicit UploadFailure(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString& description() const { return m_description; }

private:
    QString m_description;
};

// The command one step sends, or nothing when its condition does not hold.
// Throws UploadFailure.
std::optional<QString> uploadCommand(const UploadStep& step, const UploadSource& source);

// Sends the steps in order, each followed by its blocking pause. The first failure
// (PortError, UploadFailure) ends the sequence: nothing after it is sent.
void sendUpload(const std::vector<UploadStep>& steps, const UploadSource& source,
                InstrumentLink& link, Timing& timing);

// Runs an upload so that no failure leaves it: a failure is reported as the program's
// profile says, the end of the program stops it silently.
void runReportingUpload(Dialogs& dialogs, const UploadReport& report,
                        const std::function<void()>& upload);
