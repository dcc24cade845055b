// SPDX-License-Identifier: GPL-3.0-or-later
#include "Session.h"

#include "ExitCode.h"
#include "ScriptRun.h"
#include "ScriptSettings.h"
#include "ScriptSilence.h"
#include "instrument/Instrument.h"
#include "link/InstrumentLink.h"
#include "link/QtSerialPortComponent.h"
#include "link/TracingSerialPort.h"
#include "platform/TerminationSignals.h"
#include "platform/Timing.h"
#include "run/StopFlag.h"
#include "settings/EntryJudgement.h"
#include "settings/UploadSequence.h"
#include "values/InstrumentIdentity.h"
#include "values/ProgramEnding.h"

#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {
QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

void say(const QString& text) {
    err() << text << '\n';
    err().flush();
}

// The instrument's identification answered by the query, as the identify command prints it.
int printIdentity(const Instrument& instrument, const Reply& reply) {
    InstrumentIdentity identity;
    if (!instrument.splitIdentity(reply.text, identity)) {
        say(QStringLiteral("The identification could not be split: %1").arg(reply.text.trimmed()));
        return ExitLineFailure;
    }
    QTextStream out(stdout);
    out << "Maker: " << identity.Maker << '\n'
        << "Model: " << identity.Model << '\n'
        << "Serial: " << identity.SerialNumber << '\n'
        << "Firmware: " << identity.Firmware << '\n';
    return ExitDone;
}

class Session {
public:
    explicit Session(const Invocation& invocation)
        : m_invocation(invocation),
          m_variant(invocation.family == VariantKind::LR40 ? lr40Profile() : px80Profile()),
          m_instrument(makeInstrument(m_variant)), m_port(openablePort(invocation)),
          m_silence(deviceOf(invocation.port)), m_link(m_variant, *m_port, m_timing, m_silence) {
        QObject::connect(&m_signals, &TerminationSignals::received, [this](int signalNumber) {
            // Between points the run stops; a read in progress ends at its next poll.
            if (m_signal == 0)
                m_signal = signalNumber;
            m_stop.request();
            m_link.markProgramEnded();
        });
    }

    int run() {
        try {
            const int code = runCommand();
            closePort();
            return m_signal ? exitForSignal(m_signal) : code;
        } catch (const UsageError& error) {
            closePort();
            say(error.message);
            return ExitUsage;
        } catch (const ProgramEnding&) {
            if (m_output)
                m_output->restoreAfterSignal(m_link, m_timing);
            closePort();
            return exitForSignal(m_signal);
        } catch (const NoAnswer& failure) {
            closePort();
            say(failure.description());
            return ExitSilent;
        } catch (const Failure& failure) {
            closePort();
            say(QStringLiteral("Error occurred: ") + failure.description());
            return ExitLineFailure;
        }
    }

private:
    static QString deviceOf(const PortChoice& choice) {
        return choice.namesDevice() ? choice.device
                                    : QtSerialPortComponent::deviceForPort(choice.number);
    }

    static std::unique_ptr<SerialPort> openablePort(const Invocation& invocation) {
        // --trace is the same trace as LCRPANEL_TRACE.
        if (!invocation.traceFile.isEmpty())
            qputenv("LCRPANEL_TRACE", QFile::encodeName(invocation.traceFile));
        auto port = tracedWhenAsked(std::make_unique<QtSerialPortComponent>());
        if (invocation.port.namesDevice())
            port->setDevice(invocation.port.device);
        else
            port->setCommPort(invocation.port.number);
        port->setSettings(invocation.baud);
        return port;
    }

    int runCommand() {
        using C = Invocation::Command;
        // Every check that needs no instrument comes before anything is sent.
        ScriptSettings script = readScriptSettings(m_invocation, m_variant);
        if (m_invocation.command == C::Measure || m_invocation.command == C::Sweep)
            m_output = std::make_unique<ScriptRun>(m_invocation, m_stop);
        const std::unique_ptr<ScriptRun>& output = m_output;
        // A voltage or bias sweep or a stepped run returns to the uploaded test, so it
        // uploads it first: the options given, the initial values for the rest.
        const bool settingRun =
            m_invocation.command == C::Sweep && (m_invocation.swept != RunSetting::Frequency ||
                                                 m_invocation.stepped != RunSetting::None);
        script.uploadTest = script.uploadTest || settingRun;
        // The bias limit of a bias sweep or step needs the model.
        const bool biasRun = settingRun && (m_invocation.swept == RunSetting::Bias ||
                                            m_invocation.stepped == RunSetting::Bias);

        if (!openPort())
            return ExitNoPort;
        m_instrument->handOver(m_link, *m_port, [](bool) {});

        if (m_invocation.command == C::Identify)
            return printIdentity(*m_instrument, m_instrument->identify(m_link, m_identity));
        if (m_invocation.command == C::Lock || m_invocation.command == C::Unlock) {
            m_instrument->sendLock(m_link, m_invocation.command == C::Lock);
            return ExitDone;
        }

        if (script.biasNeedsModel || biasRun) {
            m_instrument->identify(m_link, m_identity);
            checkBiasForModel(script, m_variant, m_identity);
        }
        if (settingRun)
            output->setSettingRunContext(
                {&m_variant.config, script.settings, biasLimitFor(m_variant.config, m_identity)});
        prepareForSettings();
        const QString frequency = upload(script);
        if (!output)
            return ExitDone;
        return output->measure(*m_instrument, m_link, m_timing, m_variant.measure, frequency);
    }

    bool openPort() {
        try {
            m_port->setPortOpen(true);
            return true;
        } catch (const Failure& failure) {
            say(portNotAvailableText(m_invocation.port, failure));
            return false;
        }
    }

    // What the configuration window's creation sends (LR40's "option 00 08 "), which the
    // windows have always sent before an upload or a measurement.
    void prepareForSettings() {
        const ConfigProfile& profile = m_variant.config;
        if (profile.creationCommand.isEmpty())
            return;
        m_link.SendCommand(profile.creationCommand);
        m_timing.sleepMs(profile.creationWaitMs);
    }

    // "Update Sys", then "Update Test", as the options ask. Returns the test frequency
    // sent, empty when none was.
    QString upload(const ScriptSettings& script) {
        QString frequency;
        const UploadSource source{script.settings, m_variant.config};
        if (script.uploadSystem)
            sendUpload(m_variant.config.systemUpload, source, m_link, m_timing);
        if (script.uploadTest)
            sendUpload(m_variant.config.testUpload, source, m_link, m_timing,
                       [&frequency](const UploadStep& step, const QString& sent) {
                           if (step.argument == UploadStep::Argument::TestFrequency)
                               frequency = sent.mid(step.keyword.size());
                       });
        // A signal during the upload is honoured once the upload is whole.
        m_link.letEventsRun();
        return frequency;
    }

    void closePort() {
        try {
            m_port->setPortOpen(false);
        } catch (const Failure&) {
            // Closing is the last thing done; the exit code already says what matters.
        }
    }

    const Invocation& m_invocation;
    InstrumentVariant m_variant;
    std::unique_ptr<Instrument> m_instrument;
    std::unique_ptr<SerialPort> m_port;
    SystemTiming m_timing;
    ScriptSilence m_silence;
    InstrumentLink m_link;
    InstrumentIdentity m_identity;
    StopFlag m_stop;
    TerminationSignals m_signals;
    int m_signal = 0; // the first signal that came
    std::unique_ptr<ScriptRun> m_output;
};
} // namespace

int runSession(const Invocation& invocation) {
    return Session(invocation).run();
}

int listPorts() {
    QtSerialPortComponent port;
    QTextStream out(stdout);
    for (const DetectedPort& detected : port.detectedPorts())
        out << detected.device << '\t' << detected.description << '\t' << detected.manufacturer
            << '\n';
    return ExitDone;
}
