#pragma once

#include <QString>

#include <stdexcept>

// A failure of the serial port component or of the command channel, with a description
// for the operator. Handlers trap it and report "Error occurred: " + description().
class PortError : public std::runtime_error {
public:
    explicit PortError(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString& description() const { return m_description; }

private:
    QString m_description;
};
