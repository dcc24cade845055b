#pragma once

#include <QString>

#include <stdexcept>

// A failure of the measurement run itself (an entry that is not a number, an arithmetic
// failure, a reply with too few fields). The run's handler reports it as
// "Error occurred: " + description.
class MeasurementFailure : public std::runtime_error {
public:
    explicit MeasurementFailure(const QString& description)
        : std::runtime_error(description.toLocal8Bit().toStdString()) {}
};
