#pragma once

#include <QWidget>

class ProgramRoot;
struct PortChoice;
class QComboBox;
class QLabel;
class QPushButton;

// The connection window: choice of port and baud rate, the connect sequence and the
// program's exit sequence.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(ProgramRoot& root);

    QComboBox* port() const { return m_port; }
    QComboBox* baud() const { return m_baud; }
    QPushButton* Measure() const { return m_measure; }
    QPushButton* Command3() const { return m_command3; }

public slots:
    void Form_Load();
    void Measure_Click();
    void Command3_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectSequence();
    bool openChosenPort(const PortChoice& choice);
    void handOver();

    ProgramRoot& m_root;
    QComboBox* m_port;
    QComboBox* m_baud;
    QPushButton* m_measure;
    QPushButton* m_command3;
    bool m_inExitSequence = false;
};
