// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class Dialogs;
class Instrument;
class InstrumentLink;
struct PortChoice;
class QComboBox;
class QPushButton;
class ResultLog;
class SerialPort;
struct InstrumentVariant;

// What the connection window works with.
struct ConnectionServices {
    const InstrumentVariant& variant;
    SerialPort& port; // MSComm1
    InstrumentLink& link;
    const Instrument& instrument;
    Dialogs& dialogs;
    ResultLog& log;
};

// The connection window: choice of port and baud rate, the connect sequence and the
// program's exit sequence.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(const ConnectionServices& services);

    QComboBox* port() const { return m_port; }
    QComboBox* baud() const { return m_baud; }
    // Measure: the button that connects (captioned "Finished").
    QPushButton* Measure() const { return m_connect; }
    // Command3: the button that ends the program (captioned "Exit").
    QPushButton* Command3() const { return m_exit; }

signals:
    // The chosen port is open at the chosen rate; the hand-over follows.
    void connected();
    // The connection window has hidden itself: the Results window is to be shown, and
    // brought to the front when asked.
    void resultsWanted(bool bringToFront);
    // The exit sequence has begun.
    void exitStarted();
    // The exit sequence closes the other windows now.
    void otherWindowsToClose();
    // The last window has closed: the program is over.
    void ended();

public slots:
    void Form_Load();
    void Measure_Click();
    void Command3_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectSequence();
    bool openChosenPort(const PortChoice& choice);

    ConnectionServices m_services;
    QComboBox* m_port;
    QComboBox* m_baud;
    QPushButton* m_connect;
    QPushButton* m_exit;
    bool m_inExitSequence = false;
};
