// SPDX-License-Identifier: GPL-3.0-or-later
// Runs lcrsim as a child process and talks to it over its own pseudo-terminal, as a
// panel would.

#include "PtyClient.h"
#include "SimProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <fstream>
#include <stdlib.h>

namespace {

QStringList fieldsOf(const QByteArray& line) {
    QByteArray body = line;
    if (body.endsWith("\r\n"))
        body.chop(2);
    QStringList fields;
    for (const QByteArray& field : body.split('\t'))
        fields << QString::fromLatin1(field);
    return fields;
}

QStringList fileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The value of key in a key=value file.
QString stateValue(const QString& path, const QString& key) {
    for (const QString& line : fileLines(path))
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    return QStringLiteral("<missing>");
}

// Total CPU time of a process in clock ticks, from /proc.
long cpuTicks(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    long ticks = 0;
    for (int i = 1; i <= 15 && stat >> field; ++i)
        if (i == 14 || i == 15) // utime, stime
            ticks += std::stol(field);
    return ticks;
}

const QByteArray lr40Identity = "Marovex, Model LR41, 01234567, 1.05 A\r\n";
const QByteArray px80Identity = "Marovex, PX80, 07654321, 2.10\r\n";

// A reply that has surely not come when this many milliseconds passed in silence.
constexpr int silenceMs = 300;
constexpr int replyMs = 2000;

} // namespace

class TestLcrSim : public QObject {
    Q_OBJECT

private slots:
    void identification_data();
    void identification();
    void resultLine_data();
    void resultLine();
    void parameterValue_data();
    void parameterValue();
    void capacitorSweep_data();
    void capacitorSweep();
    void commandLog();
    void unterminatedCommandLoggedAtExit();
    void stateFile_data();
    void stateFile();
    void silence_data();
    void silence();
    void splitReply();
    void delayedRepliesKeepOrderAndReception_data();
    void delayedRepliesKeepOrderAndReception();
    void delayFor_data();
    void delayFor();
    void stallFirst();
    void answerOverride_data();
    void answerOverride();
    void megabyteAnswer();
    void closeAfter_data();
    void closeAfter();
    void reopenAfterClose_data();
    void reopenAfterClose();
    void leftoverBytesWaitOnOpen();
    void noEchoBeforePanelSetsTerminal();
    void terminateRemovesLink();
    void linkOverExistingPath_data();
    void linkOverExistingPath();
    void deviceMode();
    void idleAfterPanelReopensUsesNoCpu();
};

void TestLcrSim::identification_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("lr40: lone CR then *IDN?")
        << QStringList{} << QByteArray("\r*IDN?\r") << lr40Identity;
    QTest::newRow("lr40: lower case, LF") << QStringList{} << QByteArray("*idn?\n") << lr40Identity;
    QTest::newRow("px80: *idn? LF")
        << QStringList{"--dialect", "px80"} << QByteArray("*idn?\n") << px80Identity;
    QTest::newRow("px80: upper case, CR")
        << QStringList{"--dialect", "px80"} << QByteArray("*IDN?\r") << px80Identity;
    QTest::newRow("lr40: model override")
        << QStringList{"--model", "Model LR42"} << QByteArray("*IDN?\r")
        << QByteArray("Marovex, Model LR42, 01234567, 1.05 A\r\n");
    QTest::newRow("all fields overridden")
        << QStringList{"--maker", "Acme", "--model", "X", "--serial", "42", "--firmware", "1.3B2"}
        << QByteArray("*IDN?\r") << QByteArray("Acme, X, 42, 1.3B2\r\n");
    QTest::newRow("line end LF only") << QStringList{"--eol", "lf"} << QByteArray("*IDN?\r")
                                      << QByteArray("Marovex, Model LR41, 01234567, 1.05 A\n");
}

void TestLcrSim::identification() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, expected);

    SimProcess sim(arguments);
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.isOpen());
    QVERIFY(panel.send(query));
    QCOMPARE(panel.readLine(replyMs), expected);
}

void TestLcrSim::resultLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("commands");
    QTest::addColumn<QByteArray>("expected");

    // Default component: series R = 10 ohm, C = 100 nF, measured at 1 kHz.
    QTest::newRow("lr40 auto: 9 fields, Cs and DF")
        << QStringList{} << QByteArray("MEAS:*WAIT:FETC?\r")
        << QByteArray("1\tCs\t1.00000E-07\tF\t0\t0\tDF\t6.28319E-03\t\r\n");
    QTest::newRow("lr40 test number, inductor: Ls and Q")
        << QStringList{"--component", "series-rl"} << QByteArray("test:test 3\rMEAS:*WAIT:FETC?\r")
        << QByteArray("3\tLs\t1.00000E-03\tH\t0\t0\tQ\t6.28319E-01\t\r\n");
    QTest::newRow("lr40 secondary None keeps its fields")
        << QStringList{} << QByteArray("conf:ppar Z\rconf:spar None\rMEAS:*WAIT:FETC?\r")
        << QByteArray("1\tZ\t1.59158E+03\tOhm\t0\t0\tNone\t\t\r\n");
    QTest::newRow("px80 MEAS: then *STB? then Fetch?: status line, 6 fields")
        << QStringList{"--dialect", "px80"} << QByteArray("MEAS:\n*STB?\nFetch?\n")
        << QByteArray("0\r\nCs\t1.00000E-07\tF\tDF\t6.28319E-03\t\r\n");
    QTest::newRow("px80 Fetch? without MEAS:")
        << QStringList{"--dialect", "px80"} << QByteArray("conf:ppar Rs\nconf:spar Xs\nFetch?\n")
        << QByteArray("Rs\t1.00000E+01\tOhm\tXs\t-1.59155E+03\tOhm\r\n");
    QTest::newRow("px80 automatic primary is spelled A")
        << QStringList{"--dialect", "px80", "--component", "series-rl"}
        << QByteArray("conf:ppar Rs\nconf:ppar A\nMEAS:\nFetch?\n")
        << QByteArray("Ls\t1.00000E-03\tH\tQ\t6.28319E-01\t\r\n");
    QTest::newRow("lr40 keywords in any case")
        << QStringList{} << QByteArray("CONF:PPAR cs\rConf:Spar z\rmeas:*wait:fetc?\r")
        << QByteArray("1\tCs\t1.00000E-07\tF\t0\t0\tZ\t1.59158E+03\tOhm\r\n");
    QTest::newRow("lr40 ceramic: half its C at V0 of bias, all of it with bias Off")
        << QStringList{"--c", "100n", "--bias-coefficient", "1.5"}
        << QByteArray("conf:bias 1.5\rMEAS:*WAIT:FETC?\rconf:bias Off\rMEAS:*WAIT:FETC?\r")
        << QByteArray("1\tCs\t5.00000E-08\tF\t0\t0\tDF\t3.14159E-03\t\r\n"
                      "1\tCs\t1.00000E-07\tF\t0\t0\tDF\t6.28319E-03\t\r\n");
    QTest::newRow("px80 cored inductor: L (1 + K V) at conf:ACV 2")
        << QString("--dialect px80 --component series-rl --level-coefficient 0.5").split(' ')
        << QByteArray("conf:ACV 2\nFetch?\n")
        << QByteArray("Ls\t2.00000E-03\tH\tQ\t1.25664E+00\t\r\n");
}

void TestLcrSim::resultLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, commands);
    QFETCH(QByteArray, expected);

    SimProcess sim(arguments);
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send(commands));
    QCOMPARE(panel.readBytes(expected.size(), replyMs), expected);
    QCOMPARE(panel.readFor(100), QByteArray());
}

void TestLcrSim::parameterValue_data() {
    QTest::addColumn<QStringList>("component");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("unit");

    // Reference values worked out from the component's impedance by hand.
    const QStringList rc{"--component", "series-rc", "--r", "10", "--c", "100n"};
    QTest::newRow("series-rc Cs") << rc << "Cs"
                                  << "1000"
                                  << "1.00000E-07"
                                  << "F";
    QTest::newRow("series-rc Cp") << rc << "Cp"
                                  << "1000"
                                  << "9.99961E-08"
                                  << "F";
    QTest::newRow("series-rc Rs") << rc << "Rs"
                                  << "1000"
                                  << "1.00000E+01"
                                  << "Ohm";
    QTest::newRow("series-rc ESR") << rc << "ESR"
                                   << "1000"
                                   << "1.00000E+01"
                                   << "Ohm";
    QTest::newRow("series-rc Rp") << rc << "Rp"
                                  << "1000"
                                  << "2.53313E+05"
                                  << "Ohm";
    QTest::newRow("series-rc Xs") << rc << "Xs"
                                  << "1000"
                                  << "-1.59155E+03"
                                  << "Ohm";
    QTest::newRow("series-rc Z") << rc << "Z"
                                 << "1000"
                                 << "1.59158E+03"
                                 << "Ohm";
    QTest::newRow("series-rc Y") << rc << "Y"
                                 << "1000"
                                 << "6.28306E-04"
                                 << "S";
    QTest::newRow("series-rc Gp") << rc << "Gp"
                                  << "1000"
                                  << "3.94769E-06"
                                  << "S";
    QTest::newRow("series-rc Bp") << rc << "Bp"
                                  << "1000"
                                  << "6.28294E-04"
                                  << "S";
    QTest::newRow("series-rc P") << rc << "P"
                                 << "1000"
                                 << "-8.96400E+01"
                                 << "deg";
    QTest::newRow("series-rc DF") << rc << "DF"
                                  << "1000"
                                  << "6.28319E-03"
                                  << "";
    QTest::newRow("series-rc Q") << rc << "Q"
                                 << "1000"
                                 << "1.59155E+02"
                                 << "";
    QTest::newRow("series-rc Ls is negative") << rc << "Ls"
                                              << "1000"
                                              << "-2.53303E-01"
                                              << "H";
    QTest::newRow("series-rc DF at 10 kHz") << rc << "DF"
                                            << "10000"
                                            << "6.28319E-02"
                                            << "";
    QTest::newRow("series-rc DCR blocked") << rc << "DCR"
                                           << "1000"
                                           << "9.90000E+37"
                                           << "Ohm";
    QTest::newRow("series-rc I at 1 V") << rc << "I"
                                        << "1000"
                                        << "6.28306E-04"
                                        << "A";

    const QStringList rl{"--component", "series-rl", "--r", "10", "--l", "1m"};
    QTest::newRow("series-rl Ls") << rl << "Ls"
                                  << "1000"
                                  << "1.00000E-03"
                                  << "H";
    QTest::newRow("series-rl Lp") << rl << "Lp"
                                  << "1000"
                                  << "3.53303E-03"
                                  << "H";
    QTest::newRow("series-rl DCR") << rl << "DCR"
                                   << "1000"
                                   << "1.00000E+01"
                                   << "Ohm";
    QTest::newRow("series-rl DCI at 1 V") << rl << "DCI"
                                          << "1000"
                                          << "1.00000E-01"
                                          << "A";
    QTest::newRow("series-rl DCV") << rl << "DCV"
                                   << "1000"
                                   << "1.00000E+00"
                                   << "V";

    const QStringList prc{"--component", "parallel-rc", "--r", "1M", "--c", "100n"};
    QTest::newRow("parallel-rc Rp") << prc << "Rp"
                                    << "1000"
                                    << "1.00000E+06"
                                    << "Ohm";
    QTest::newRow("parallel-rc Cp") << prc << "Cp"
                                    << "1000"
                                    << "1.00000E-07"
                                    << "F";
    QTest::newRow("parallel-rc Gp") << prc << "Gp"
                                    << "1000"
                                    << "1.00000E-06"
                                    << "S";

    const QStringList prl{"--component", "parallel-rl", "--r", "1M", "--l", "1m"};
    QTest::newRow("parallel-rl Lp") << prl << "Lp"
                                    << "1000"
                                    << "1.00000E-03"
                                    << "H";

    const QStringList rlc{"--component", "series-rlc", "--r", "10", "--l", "1m", "--c", "100n"};
    QTest::newRow("series-rlc at resonance Z = R") << rlc << "Z"
                                                   << "15915.494309"
                                                   << "1.00000E+01"
                                                   << "Ohm";

    const QStringList rlpc{"--component", "rl-parallel-c"}; // 10 ohm, 100 uH, 1 nF
    QTest::newRow("rl-parallel-c Ls below resonance is L - R^2 C") << rlpc << "Ls"
                                                                   << "1000"
                                                                   << "9.99004E-05"
                                                                   << "H";
    QTest::newRow("rl-parallel-c at resonance Rs = L/(CR)") << rlpc << "Rs"
                                                            << "503292"
                                                            << "1.00000E+04"
                                                            << "Ohm";

    const QStringList crystal{"--component", "crystal", "--c0", "150p"}; // 50 ohm, 8 mH, 15 pF
    QTest::newRow("crystal far below resonance Cs = C0 + C1") << crystal << "Cs"
                                                              << "1000"
                                                              << "1.65000E-10"
                                                              << "F";
    QTest::newRow("crystal at series resonance Z = R1 || C0") << crystal << "Z"
                                                              << "459441"
                                                              << "4.99888E+01"
                                                              << "Ohm";
    QTest::newRow("crystal DCR blocked") << crystal << "DCR"
                                         << "1000"
                                         << "9.90000E+37"
                                         << "Ohm";

    // The first draw of seed 7 (n = 0.3219 from mt19937's first two outputs, worked out apart
    // from the simulator) moves |Z| from 1.59158E+03 by 0.16 % and leaves the phase.
    const QStringList noisy{"--noise", "0.5", "--seed", "7"};
    QTest::newRow("noise 0.5 %, seed 7: Z") << noisy << "Z"
                                            << "1000"
                                            << "1.59414E+03"
                                            << "Ohm";
    QTest::newRow("noise 0.5 %, seed 7: phase untouched") << noisy << "P"
                                                          << "1000"
                                                          << "-8.96400E+01"
                                                          << "deg";
}

void TestLcrSim::parameterValue() {
    QFETCH(QStringList, component);
    QFETCH(QString, parameter);
    QFETCH(QString, frequency);
    QFETCH(QString, value);
    QFETCH(QString, unit);

    SimProcess sim(component);
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send("conf:ppar " + parameter.toLatin1() + "\rconf:spar None\rconf:freq " +
                       frequency.toLatin1() + "\nMEAS:*WAIT:FETC?\r"));
    const QStringList fields = fieldsOf(panel.readLine(replyMs));
    QCOMPARE(fields.size(), 9);
    QCOMPARE(fields.mid(1, 3), (QStringList{parameter, value, unit}));
}

void TestLcrSim::capacitorSweep_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("fetch");
    QTest::addColumn<int>("valueField");

    QTest::newRow("lr40") << QStringList{} << QByteArray("conf:ppar Cs\rconf:spar Z\r")
                          << QByteArray("MEAS:*WAIT:FETC?\r") << 2;
    QTest::newRow("px80") << QStringList{"--dialect", "px80"}
                          << QByteArray("conf:ppar Cs\nconf:spar Z\n")
                          << QByteArray("MEAS:\n*STB?\nFetch?\n") << 1;
}

// A sweep over a capacitor: Cs stays put while |Z| falls with frequency.
void TestLcrSim::capacitorSweep() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, fetch);
    QFETCH(int, valueField);

    SimProcess sim(arguments);
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send(setup));
    const int secondaryValueField = valueField == 2 ? 7 : 4;
    double previousImpedance = 1e300;
    for (const char* hz : {"100", "1585", "25116", "99988"}) {
        QVERIFY(panel.send(QByteArray("conf:freq ") + hz + '\n' + fetch));
        QByteArray line = panel.readLine(replyMs);
        if (line == "0\r\n") // the px80 status reply comes first
            line = panel.readLine(replyMs);
        const QStringList fields = fieldsOf(line);
        QVERIFY2(fields.size() > secondaryValueField, line.constData());
        QCOMPARE(fields[valueField], QStringLiteral("1.00000E-07"));
        const double impedance = fields[secondaryValueField].toDouble();
        QVERIFY2(impedance < previousImpedance, line.constData());
        previousImpedance = impedance;
    }
}

void TestLcrSim::commandLog() {
    QTemporaryDir dir;
    const QString log = dir.filePath("commands.log");
    SimProcess sim({"--log", log});
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send(QByteArray("\rsyst:trig ext\rconf:freq 1000\nSyst:lock on\r"
                                  "a\x01"
                                  "b\roption 00 08 \rsave save\r\n*IDN?\r")));
    QCOMPARE(panel.readLine(replyMs), lr40Identity); // all commands before it are logged
    const QStringList expected{
        "\\r",        "syst:trig ext\\r", "conf:freq 1000\\n", "Syst:lock on\\r",
        "a\\x01b\\r", "option 00 08 \\r", "save save\\r",      "\\n",
        "*IDN?\\r",
    };
    QCOMPARE(fileLines(log), expected);
}

void TestLcrSim::unterminatedCommandLoggedAtExit() {
    QTemporaryDir dir;
    const QString log = dir.filePath("commands.log");
    SimProcess sim({"--log", log});
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send("*IDN?\rconf:aver 4"));
    QCOMPARE(panel.readLine(replyMs), lr40Identity);
    QCOMPARE(sim.terminate(), 0);
    QCOMPARE(fileLines(log), (QStringList{"*IDN?\\r", "conf:aver 4"}));
}

void TestLcrSim::stateFile_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("commands");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QStringList lr40;
    const QStringList px80{"--dialect", "px80"};
    QTest::newRow("lock on") << lr40 << QByteArray("Syst:lock on\r") << "locked"
                             << "on";
    QTest::newRow("lock, keyword lower case") << lr40 << QByteArray("syst:lock on\r") << "locked"
                                              << "on";
    QTest::newRow("lock then unlock")
        << px80 << QByteArray("Syst:lock on\nSyst:lock off\n") << "locked"
        << "off";
    QTest::newRow("cable keyword with a blank") << lr40 << QByteArray("syst cabl 2\r") << "cable"
                                                << "2";
    QTest::newRow("source resistance") << lr40 << QByteArray("syst:srci 3\r") << "source_resistance"
                                       << "3";
    QTest::newRow("leveling") << lr40 << QByteArray("syst:level ON\r") << "leveling"
                              << "ON";
    QTest::newRow("lr40 delay") << lr40 << QByteArray("conf:tde 5\r") << "delay"
                                << "5";
    QTest::newRow("px80 delay") << px80 << QByteArray("conf:tdel 7\n") << "delay"
                                << "7";
    QTest::newRow("px80 median") << px80 << QByteArray("conf:median ON\n") << "median"
                                 << "ON";
    QTest::newRow("lr40 range code") << lr40 << QByteArray("conf:range 1\r") << "range"
                                     << "1";
    QTest::newRow("option") << lr40 << QByteArray("option 00 08 \r") << "option"
                            << "00 08";
    QTest::newRow("save counted") << lr40 << QByteArray("save save\r") << "saves"
                                  << "1";
    QTest::newRow("frequency with LF") << lr40 << QByteArray("conf:freq 1500.5\n") << "frequency"
                                       << "1500.5";
    QTest::newRow("px80 level") << px80 << QByteArray("conf:ACTY V\nconf:ACV 0.50\n") << "level"
                                << "0.5";
    QTest::newRow("px80 auto primary A")
        << px80 << QByteArray("conf:ppar Cs\nconf:ppar A\n") << "primary"
        << "Auto";
    QTest::newRow("px80 refuses the LR40 spelling Auto")
        << px80 << QByteArray("conf:ppar Auto\n") << "rejected_commands"
        << "1";
    QTest::newRow("lr40 refuses PX80-only spelling A")
        << lr40 << QByteArray("conf:ppar A\r") << "rejected_commands"
        << "1";
    QTest::newRow("px80 has no DC parameters")
        << px80 << QByteArray("conf:ppar DCR\n") << "rejected_commands"
        << "1";
    QTest::newRow("bad frequency keeps the old one")
        << lr40 << QByteArray("conf:freq 1k\r") << "frequency"
        << "1000";
    QTest::newRow("other dialect's keyword is unknown")
        << lr40 << QByteArray("conf:tdel 7\r") << "last_unknown"
        << "conf:tdel 7";
    QTest::newRow("empty commands are not commands") << lr40 << QByteArray("\r\n\r") << "commands"
                                                     << "1"; // the *IDN? below
}

void TestLcrSim::stateFile() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, commands);
    QFETCH(QString, key);
    QFETCH(QString, value);

    QTemporaryDir dir;
    const QString state = dir.filePath("state");
    SimProcess sim(arguments << "--state-file" << state);
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send(commands + "*IDN?\r"));
    QVERIFY(panel.readLine(replyMs).endsWith('\n'));
    QCOMPARE(stateValue(state, key), value);
}

void TestLcrSim::silence_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<bool>("answered");

    const QStringList noIdn{"--silent-for", "*IDN?"};
    QTest::newRow("silenced query") << noIdn << QByteArray("*IDN?\r") << false;
    QTest::newRow("silenced query in lower case") << noIdn << QByteArray("*idn?\r") << false;
    QTest::newRow("other query still answered")
        << noIdn << QByteArray("MEAS:*WAIT:FETC?\r") << true;
    QTest::newRow("named in lower case") << QStringList{"--silent-for", "meas:*wait:fetc?"}
                                         << QByteArray("MEAS:*WAIT:FETC?\r") << false;
    const QStringList px80{"--dialect", "px80", "--silent-for", "*STB?,Fetch?"};
    QTest::newRow("px80 first of a list") << px80 << QByteArray("*STB?\n") << false;
    QTest::newRow("px80 second of a list") << px80 << QByteArray("MEAS:\nFetch?\n") << false;
    QTest::newRow("px80 not in the list") << px80 << QByteArray("*idn?\n") << true;
    QTest::newRow("silent") << QStringList{"--silent"} << QByteArray("*IDN?\r") << false;
}

void TestLcrSim::silence() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, query);
    QFETCH(bool, answered);

    SimProcess sim(arguments);
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send(query));
    const QByteArray reply = answered ? panel.readLine(replyMs) : panel.readFor(silenceMs);
    QCOMPARE(reply.endsWith("\r\n"), answered);
    QCOMPARE(reply.isEmpty(), !answered);
}

void TestLcrSim::splitReply() {
    constexpr int pieceSize = 7;
    constexpr int gapMs = 30;
    SimProcess sim({"--split", QString::number(pieceSize), "--gap-ms", QString::number(gapMs)});
    PtyClient panel(sim.devicePath());
    QElapsedTimer timer;
    timer.start();
    QVERIFY(panel.send("*IDN?\r"));
    const QList<QByteArray> pieces = panel.readPiecesOfLine(3000);
    const qint64 elapsed = timer.elapsed();

    QCOMPARE(pieces.join(), lr40Identity);
    const auto expectedPieces = static_cast<int>((lr40Identity.size() + pieceSize - 1) / pieceSize);
    QVERIFY2(pieces.size() > 1, "the reply came in one piece");
    for (const QByteArray& piece : pieces)
        QVERIFY(piece.size() <= pieceSize || pieces.size() < expectedPieces);
    // Generous lower bound: at least half the gaps must have passed.
    QVERIFY(elapsed >= (expectedPieces - 1) * gapMs / 2);
}

void TestLcrSim::delayedRepliesKeepOrderAndReception_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("every reply") << QStringList{"--delay-ms", "400"};
    // The next reply waits for it: replies never overtake each other.
    QTest::newRow("the first reply only") << QStringList{"--delay-for", "*IDN?=400"};
}

void TestLcrSim::delayedRepliesKeepOrderAndReception() {
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const QString log = dir.filePath("commands.log");
    SimProcess sim(arguments << "--log" << log);
    PtyClient panel(sim.devicePath());
    QElapsedTimer timer;
    timer.start();
    QVERIFY(panel.send("*IDN?\r"));
    QVERIFY(panel.send("MEAS:*WAIT:FETC?\r"));
    QCOMPARE(panel.readFor(150), QByteArray());
    // Both commands were taken in while the first reply was still pending.
    QCOMPARE(fileLines(log), (QStringList{"*IDN?\\r", "MEAS:*WAIT:FETC?\\r"}));

    // Each reply is delayed from its own command, so both may come in one read.
    QCOMPARE(panel.readBytes(lr40Identity.size(), replyMs), lr40Identity);
    QVERIFY(timer.elapsed() >= 300);
    QCOMPARE(fieldsOf(panel.readLine(replyMs)).size(), 9);
}

void TestLcrSim::delayFor_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<bool>("delayed"); // by 400 ms, else at once

    const QStringList idn{"--delay-for", "*IDN?=400"};
    QTest::newRow("named command") << idn << QByteArray("*idn?\r") << true;
    QTest::newRow("named in lower case") << QStringList{"--delay-for", "meas:*wait:fetc?=400"}
                                         << QByteArray("MEAS:*WAIT:FETC?\r") << true;
    QTest::newRow("other commands at once") << idn << QByteArray("MEAS:*WAIT:FETC?\r") << false;
    QTest::newRow("named by its whole text")
        << QStringList{"--answer", "Syst:lock on=ok\\r\\n", "--delay-for", "Syst:lock on=400"}
        << QByteArray("Syst:lock on\r") << true;
    const QStringList px80{"--dialect", "px80",        "--delay-for",
                           "*STB?=400", "--delay-for", "Fetch?=400"};
    QTest::newRow("repeatable, first") << px80 << QByteArray("*STB?\n") << true;
    QTest::newRow("repeatable, second") << px80 << QByteArray("MEAS:\nFetch?\n") << true;
    QTest::newRow("instead of --delay-ms")
        << QStringList{"--delay-ms", "400", "--delay-for", "*IDN?=0"} << QByteArray("*IDN?\r")
        << false;
}

void TestLcrSim::delayFor() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, query);
    QFETCH(bool, delayed);

    SimProcess sim(arguments);
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send(query));
    const QByteArray early = panel.readFor(silenceMs / 2);
    QCOMPARE(early.isEmpty(), delayed);
    QVERIFY((early + panel.readLine(replyMs)).endsWith("\r\n"));
}

void TestLcrSim::stallFirst() {
    SimProcess sim({"--stall-first", "MEAS:*WAIT:FETC?=5:400"});
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send("MEAS:*WAIT:FETC?\r"));
    const QByteArray head = panel.readFor(silenceMs / 2);
    QCOMPARE(head.size(), 5);
    const QByteArray rest = panel.readLine(replyMs);
    QCOMPARE(fieldsOf(head + rest).size(), 9);
    // The next reply comes whole, at once.
    QVERIFY(panel.send("MEAS:*WAIT:FETC?\r"));
    QCOMPARE(fieldsOf(panel.readFor(silenceMs / 2)).size(), 9);
}

void TestLcrSim::answerOverride_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("escapes decoded") << QStringList{"--answer", "*IDN?=Foo,Bar\\tBaz\\x21\\r\\n"}
                                     << QByteArray("*IDN?\r") << QByteArray("Foo,Bar\tBaz!\r\n");
    QTest::newRow("no line end added") << QStringList{"--answer", "*IDN?=partial"}
                                       << QByteArray("*IDN?\r") << QByteArray("partial");
    QTest::newRow("command that normally has no reply")
        << QStringList{"--dialect", "px80", "--answer", "MEAS:=junk\\n"} << QByteArray("MEAS:\n")
        << QByteArray("junk\n");
    QTest::newRow("result reply with too few fields")
        << QStringList{"--answer", "MEAS:*WAIT:FETC?=1\\tCs\\r\\n"}
        << QByteArray("meas:*wait:fetc?\r") << QByteArray("1\tCs\r\n");
    QTest::newRow("other commands keep their replies")
        << QStringList{"--answer", "MEAS:*WAIT:FETC?=x"} << QByteArray("*IDN?\r") << lr40Identity;
}

void TestLcrSim::answerOverride() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, expected);

    SimProcess sim(arguments);
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send(query));
    QCOMPARE(panel.readBytes(expected.size(), replyMs), expected);
    QCOMPARE(panel.readFor(100), QByteArray());
}

void TestLcrSim::megabyteAnswer() {
    constexpr int size = 1 << 20;
    SimProcess sim({"--answer-size", "*IDN?=" + QString::number(size)});
    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send("*IDN?\r"));
    const QByteArray reply = panel.readBytes(size, 5000);
    QCOMPARE(reply.size(), size);
    QVERIFY(!reply.contains('\n'));
    QVERIFY(!reply.contains('\r'));
    QCOMPARE(panel.readFor(100), QByteArray());
}

void TestLcrSim::closeAfter_data() {
    QTest::addColumn<bool>("exitAfterClose");
    QTest::newRow("stays running") << false;
    QTest::newRow("exits") << true;
}

void TestLcrSim::closeAfter() {
    QFETCH(bool, exitAfterClose);

    QTemporaryDir dir;
    const QString log = dir.filePath("commands.log");
    QStringList arguments{"--close-after", "2", "--log", log};
    if (exitAfterClose)
        arguments << "--exit-after-close";
    SimProcess sim(arguments);
    PtyClient panel(sim.devicePath());
    // The empty command does not count; the close comes before *IDN? is answered.
    QVERIFY(panel.send("syst:trig ext\r\r*IDN?\r"));
    QVERIFY(panel.waitForHangUp(replyMs));
    QCOMPARE(panel.readFor(0), QByteArray());
    QCOMPARE(fileLines(log), (QStringList{"syst:trig ext\\r", "\\r", "*IDN?\\r"}));
    if (exitAfterClose) {
        QCOMPARE(sim.waitForExit(replyMs), 0);
    } else {
        QTest::qWait(100);
        QVERIFY(sim.isRunning());
        QCOMPARE(sim.terminate(), 0);
    }
}

void TestLcrSim::reopenAfterClose_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("trigger"); // sent on each line before its close
    QTest::addColumn<int>("cuts");
    QTest::newRow("once, after a command")
        << QStringList{"--close-after", "1"} << QByteArray("*IDN?\r") << 1;
    QTest::newRow("every 0.5 s, three times")
        << QStringList{"--cut-every", "0.5"} << QByteArray() << 3;
}

void TestLcrSim::reopenAfterClose() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, trigger);
    QFETCH(int, cuts);

    QTemporaryDir dir;
    const QString link = dir.filePath("lr40");
    SimProcess sim(arguments << "--link" << link << "--reopen-after-ms"
                             << "100");
    QString line = sim.devicePath();
    QCOMPARE(QFileInfo(link).symLinkTarget(), line);

    for (int cut = 0; cut < cuts; ++cut) {
        PtyClient panel(link);
        QVERIFY(trigger.isEmpty() || panel.send(trigger));
        QVERIFY(panel.waitForHangUp(replyMs));
        // While the panel still holds the old device, the new line must get its own.
        const QString newPath = sim.nextAnnouncedPath(replyMs);
        QVERIFY(!newPath.isEmpty());
        QVERIFY(newPath != line);
        QCOMPARE(QFileInfo(link).symLinkTarget(), newPath);
        line = newPath;
    }

    PtyClient reopened(link);
    QVERIFY(reopened.isOpen());
    QVERIFY(reopened.send("*IDN?\r"));
    QCOMPARE(reopened.readLine(replyMs), lr40Identity);
}

void TestLcrSim::leftoverBytesWaitOnOpen() {
    SimProcess sim({"--leftover", "stale\\r\\n"});
    PtyClient panel(sim.devicePath());
    QCOMPARE(panel.readLine(replyMs), QByteArray("stale\r\n"));
    QVERIFY(panel.send("*IDN?\r"));
    QCOMPARE(panel.readLine(replyMs), lr40Identity);
}

// The simulator sets the line raw itself: a panel that does not touch the terminal
// settings sees neither an echo nor translated line ends.
void TestLcrSim::noEchoBeforePanelSetsTerminal() {
    QTemporaryDir dir;
    const QString log = dir.filePath("commands.log");
    SimProcess sim({"--log", log});
    PtyClient panel(sim.devicePath(), PtyClient::Mode::AsFound);
    QVERIFY(panel.send("*IDN?\r"));
    QCOMPARE(panel.readLine(replyMs), lr40Identity);
    QCOMPARE(panel.readFor(100), QByteArray());
    QCOMPARE(fileLines(log), QStringList{"*IDN?\\r"});
}

void TestLcrSim::terminateRemovesLink() {
    QTemporaryDir dir;
    const QString link = dir.filePath("px80");
    SimProcess sim({"--dialect", "px80", "--link", link});
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(sim.terminate(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestLcrSim::linkOverExistingPath_data() {
    QTest::addColumn<bool>("existingIsLink");
    QTest::newRow("stale link is replaced") << true;
    QTest::newRow("other file is left alone") << false;
}

void TestLcrSim::linkOverExistingPath() {
    QFETCH(bool, existingIsLink);

    QTemporaryDir dir;
    const QString link = dir.filePath("port");
    if (existingIsLink) {
        QVERIFY(QFile::link(dir.filePath("gone"), link));
    } else {
        QFile file(link);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep");
    }
    SimProcess sim({"--link", link});
    if (existingIsLink) {
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.devicePath());
    } else {
        QCOMPARE(sim.devicePath(), QString());
        QCOMPARE(sim.waitForExit(replyMs), 1);
        QVERIFY(!QFileInfo(link).isSymLink());
    }
}

// --device on the slave of a pseudo-terminal pair made here: the test plays the panel
// on the master, and no real serial port is involved.
void TestLcrSim::deviceMode() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(master >= 0);
    PtyClient panel(master);
    QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const QString slave = QString::fromLocal8Bit(::ptsname(master));

    SimProcess sim({"--device", slave, "--dialect", "px80"});
    QCOMPARE(sim.devicePath(), slave);
    QVERIFY(panel.send("*idn?\n"));
    // Raw mode on the device: no echo of the query, line ends untranslated.
    QCOMPARE(panel.readLine(replyMs), px80Identity);
}

// A panel closing and reopening the port must not leave the simulator spinning.
void TestLcrSim::idleAfterPanelReopensUsesNoCpu() {
    SimProcess sim({});
    for (int i = 0; i < 3; ++i) {
        PtyClient panel(sim.devicePath());
        QVERIFY(panel.send("*IDN?\r"));
        QCOMPARE(panel.readLine(replyMs), lr40Identity);
    }
    const long before = cpuTicks(sim.pid());
    QTest::qWait(500);
    // A busy loop would burn about 50 ticks in this time.
    QVERIFY2(cpuTicks(sim.pid()) - before <= 5, "the simulator is busy while idle");

    PtyClient panel(sim.devicePath());
    QVERIFY(panel.send("*IDN?\r"));
    QCOMPARE(panel.readLine(replyMs), lr40Identity);
}

QTEST_GUILESS_MAIN(TestLcrSim)
#include "tst_lcrsim.moc"
