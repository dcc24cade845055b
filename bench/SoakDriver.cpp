// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoakDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <stdexcept>

namespace {
// The shown top-level window of that name; windows that were closed may linger a while.
QWidget* shownWindow(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == name && window->isVisible())
            return window;
    return nullptr;
}

template <typename Control> Control* control(QWidget* window, const char* name) {
    Control* found = window ? window->findChild<Control*>(QLatin1String(name)) : nullptr;
    if (!found)
        throw std::runtime_error(std::string("no control ") + name);
    return found;
}

const char* const ResultBoxes[] = {"Ppar", "Pvalue", "Punit", "Spar", "svalue", "Sunit"};
} // namespace

MessageAnswer SoakDialogs::message(const QString& text, MessageButtons buttons, MessageIcon,
                                   const QString& title) {
    m_messages << title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "message (%s): %s\n", qPrintable(title), qPrintable(text));
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::optional<QString> SoakDialogs::chooseFile(const QString&, const QString&) {
    return m_logPath;
}

std::optional<QString> SoakDialogs::chooseSaveFile(const QString&, const QString&) {
    return std::nullopt;
}

SoakDriver::SoakDriver(SoakDialogs& dialogs, const QString& shownPath)
    : m_dialogs(dialogs), m_shownFile(shownPath) {
    if (!m_shownFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + shownPath.toStdString());
}

bool SoakDriver::connectWithin(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!results()) {
        if (deadline.hasExpired())
            return false;
        if (QWidget* form1 = shownWindow(QStringLiteral("Form1")))
            click(form1, "Measure");
        if (!results())
            pauseMs(500);
    }
    watchStatus();
    return true;
}

bool SoakDriver::configure(bool sweep, int start, int stop, int steps) {
    const int before = m_dialogs.count();
    click(results(), "Config");
    QWidget* configure = shownWindow(QStringLiteral("Configure"));
    if (!configure || m_dialogs.count() != before)
        return false;
    control<QComboBox>(configure, "SingleorSweep")
        ->setCurrentText(sweep ? QStringLiteral("Sweep") : QStringLiteral("Single Measurement"));
    control<QLineEdit>(configure, "StartFreq")->setText(QString::number(start));
    control<QLineEdit>(configure, "StopFreq")->setText(QString::number(stop));
    control<QLineEdit>(configure, "SweepSteps")->setText(QString::number(steps));
    click(configure, "Update");
    return m_dialogs.count() == before;
}

bool SoakDriver::startLogging() {
    click(results(), "cmdLog");
    return control<QAbstractButton>(results(), "StopLog")->isEnabled();
}

bool SoakDriver::runOnce() {
    const int before = m_dialogs.count();
    m_inRun = true;
    click(results(), "Start");
    m_inRun = false;
    if (m_dialogs.count() == before)
        return true;
    // The point under way when the failure came is not logged; it must not be on the
    // screen either.
    if (m_status.startsWith(QLatin1String("Measuring")) && boxes() != m_boxesAtPointStart)
        ++m_shownButNotLogged;
    return false;
}

void SoakDriver::stopLogging() {
    QWidget* window = results();
    if (window && control<QAbstractButton>(window, "StopLog")->isEnabled())
        click(window, "StopLog");
}

void SoakDriver::leaveResults() {
    QWidget* window = results();
    if (!window)
        return;
    if (control<QAbstractButton>(window, "stopbutton")->isEnabled())
        click(window, "stopbutton");
    stopLogging();
    click(window, "cmdExit");
    pauseMs(50); // the closed window is deleted once the event loop runs
}

QWidget* SoakDriver::results() const {
    return shownWindow(QStringLiteral("frmMeasure"));
}

QString SoakDriver::boxes() const {
    QStringList texts;
    for (const char* name : ResultBoxes)
        texts << control<QLineEdit>(results(), name)->text();
    return texts.join(QLatin1Char(','));
}

void SoakDriver::watchStatus() {
    auto* status = control<QLineEdit>(results(), "tbxstatus");
    if (status == m_watchedStatus)
        return;
    m_watchedStatus = status;
    m_status = status->text();
    connect(status, &QLineEdit::textChanged, this, &SoakDriver::statusChanged);
}

void SoakDriver::statusChanged(const QString& status) {
    if (m_inRun && m_status.startsWith(QLatin1String("Measuring"))) {
        m_shownFile.write(boxes().toUtf8() + '\n');
        ++m_shownCount;
        if (m_onShown)
            m_onShown(m_shownCount);
    }
    m_status = status;
    if (status.startsWith(QLatin1String("Measuring")))
        m_boxesAtPointStart = boxes();
}

void SoakDriver::click(QWidget* window, const char* button) {
    control<QAbstractButton>(window, button)->click();
}

void SoakDriver::pauseMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
