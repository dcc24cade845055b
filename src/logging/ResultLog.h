#pragma once

#include <QFile>
#include <QString>

// The program's one log file. It belongs to the program, not to a window, so it outlives
// the measurement window.
class ResultLog {
public:
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }

    // Closes the file if one is open; does nothing otherwise. Writes no closing line.
    void close();

private:
    QFile m_file;
};
