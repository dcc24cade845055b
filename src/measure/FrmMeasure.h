#pragma once

#include <QWidget>

class ProgramRoot;
class QPushButton;

// The measurement window, captioned "Results".
class FrmMeasure : public QWidget {
    Q_OBJECT
public:
    explicit FrmMeasure(ProgramRoot& root);

    QPushButton* cmdExit() const { return m_cmdExit; }

public slots:
    void Form_Load();
    void cmdExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void leave();

    ProgramRoot& m_root;
    QPushButton* m_cmdExit;
    bool m_leaving = false;
};
