// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

// A failure the operator is told about: the serial line, an upload value that cannot be
// sent, the run's own arithmetic or a reply that ran short. Handlers report it as
// "Error occurred: " + description().
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString& description() const { return m_description; }

private:
    QString m_description;
};

// How a handler tells the operator about a failure: a message under title reading
// "Error occurred: " + the description, or fixedText where the handler has its own.
struct FailureReport {
    QString title;
    QString fixedText;
};
