#pragma once

#include <QWidget>

class ProgramRoot;

// The configuration window, captioned "Configuration".
class Configure : public QWidget {
    Q_OBJECT
public:
    explicit Configure(ProgramRoot& root);

public slots:
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ProgramRoot& m_root;
};
