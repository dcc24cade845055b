// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_flood.h"

#include "LcrsimProcess.h"
#include "app/Form1.h"
#include "app/ProgramRoot.h"
#include "link/QtSerialPortComponent.h"
#include "measure/FrmMeasure.h"
#include "platform/Dialogs.h"
#include "platform/Timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>

#include <cstdio>
#include <memory>

namespace {
constexpr long long FloodBytes = 100000000;

class AnswerOkAndKeep final : public Dialogs {
public:
    MessageAnswer message(const QString& text, MessageButtons, MessageIcon,
                          const QString&) override {
        last = text;
        return MessageAnswer::Ok;
    }
    std::optional<QString> chooseFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseSaveFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    QString last;
};

// The serial component, counting what it receives and noting when the last bytes came.
class CountingPort final : public SerialPort {
public:
    explicit CountingPort(std::unique_ptr<SerialPort> port) : m_port(std::move(port)) {
        m_clock.start();
    }
    bool PortOpen() const override { return m_port->PortOpen(); }
    void setPortOpen(bool open) override { m_port->setPortOpen(open); }
    void setCommPort(int number) override { m_port->setCommPort(number); }
    void setDevice(const QString& device) override { m_port->setDevice(device); }
    QString lineDescription() const override { return m_port->lineDescription(); }
    std::vector<DetectedPort> detectedPorts() const override { return m_port->detectedPorts(); }
    void setSettings(const QString& baudText) override { m_port->setSettings(baudText); }
    void setDTREnable(bool on) override { m_port->setDTREnable(on); }
    void setRTSEnable(bool on) override { m_port->setRTSEnable(on); }
    void setInBufferCount(int count) override { m_port->setInBufferCount(count); }
    void Output(const QByteArray& bytes) override { m_port->Output(bytes); }
    QByteArray Input() override {
        QByteArray bytes = m_port->Input();
        counted(bytes.size());
        return bytes;
    }
    int discardReceived() override {
        const int count = m_port->discardReceived();
        counted(count);
        return count;
    }

    void restart() {
        m_received = 0;
        m_clock.restart();
    }
    long long received() const { return m_received; }
    double lastBytesSeconds() const { return static_cast<double>(m_lastMs) / 1000.0; }

private:
    void counted(qint64 count) {
        m_received += count;
        if (count > 0)
            m_lastMs = m_clock.elapsed();
    }

    std::unique_ptr<SerialPort> m_port;
    QElapsedTimer m_clock;
    long long m_received = 0;
    qint64 m_lastMs = 0;
};

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
long long statusKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Sets the peak (VmHWM) back to the present resident size.
void resetPeak() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}
} // namespace

void benchFlood() {
    const LcrsimProcess sim(
        {QStringLiteral("--answer-size"), QStringLiteral("MEAS:*WAIT:FETC?=%1").arg(FloodBytes)});
    qputenv("LCRPANEL_COM1", sim.line().toLocal8Bit());
    auto dialogs = std::make_unique<AnswerOkAndKeep>();
    AnswerOkAndKeep& messages = *dialogs;
    auto counting = std::make_unique<CountingPort>(std::make_unique<QtSerialPortComponent>());
    CountingPort& port = *counting;
    ProgramRoot root(lr40Profile(), std::move(counting), std::make_unique<SystemTiming>(),
                     std::move(dialogs));
    root.start();
    root.form1().Measure()->click();
    QCoreApplication::processEvents();

    std::printf("LR40 single measurements, lcrsim flooding each reply with %lld bytes without "
                "a line feed:\n",
                FloodBytes);
    // The first run also pays for what the program sets up on its first measurement.
    for (int run = 1; run <= 2; ++run) {
        const long long before = statusKiB("VmRSS");
        resetPeak();
        QElapsedTimer clock;
        clock.start();
        port.restart();
        root.frmMeasure().Start()->click(); // a single measurement, as the window opens
        const double readSeconds = static_cast<double>(clock.elapsed()) / 1000.0;
        const long long duringRead = port.received();
        const long long peak = statusKiB("VmHWM");
        const long long after = statusKiB("VmRSS");

        // What the flood still sends after the read gave up, taken until the line is quiet.
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < 1000) {
            root.timing().waitForEvents(25);
            if (!root.port().Input().isEmpty())
                quiet.restart();
        }
        root.frmMeasure().stopbutton()->click();

        std::printf("  run %d: \"%s\"\n"
                    "    read took %.3f s and took in %lld bytes; the last of %lld bytes came "
                    "%.3f s after Start\n"
                    "    resident memory: before %lld KiB, peak during %lld KiB (%+lld), after "
                    "%lld KiB (%+lld)\n",
                    run, qPrintable(messages.last), readSeconds, duringRead, port.received(),
                    port.lastBytesSeconds(), before, peak, peak - before, after, after - before);
        messages.last.clear();
    }
    root.form1().Command3()->click();
}
