// SPDX-License-Identifier: GPL-3.0-or-later
// Faults of the log file, end to end for both programs on the real serial layer against the
// simulator: a file that cannot be written from the start (a full disk, a folder without
// write permission, a folder that does not exist, a path that names a FIFO, a folder, a
// device or a socket), and one that fails in the middle of a logged sweep (the disk fills
// up, the file is removed). Each is reported once with the path and the reason; logging
// then stays off, the run goes on, and what is on disk is whole lines only. A signal that
// ends the program mid-sweep leaves the log, the trace and the port as its Exit would.
#include "app/PanelMain.h"
#include "measure/FrmMeasure.h"
#include "support/FileSizeLimit.h"
#include "support/LogFileLines.h"
#include "support/RealProgram.h"
#include "support/SimulatorProcess.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <sys/fsuid.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
QString dialectOf(const QString& variant) {
    return variant == QLatin1String("LR40") ? QStringLiteral("lr40") : QStringLiteral("px80");
}

// Root passes every permission check, so for root the file system is asked to check this
// thread as the unprivileged user "nobody" while the program opens the file.
class AsUnprivilegedUser {
public:
    static constexpr uid_t Nobody = 65534;
    AsUnprivilegedUser() : m_wasRoot(::geteuid() == 0) {
        if (m_wasRoot)
            ::setfsuid(Nobody);
    }
    ~AsUnprivilegedUser() {
        if (m_wasRoot)
            ::setfsuid(0);
    }
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;
    // setfsuid answers with the former value when given one it refuses.
    bool inEffect() const {
        return !m_wasRoot || ::setfsuid(static_cast<uid_t>(-1)) == static_cast<int>(Nobody);
    }

private:
    bool m_wasRoot;
};

// A socket bound at path, there until destroyed.
class BoundSocket {
public:
    explicit BoundSocket(const QString& path) : m_fd(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        if (m_fd < 0 || name.size() >= static_cast<int>(sizeof address.sun_path))
            return;
        qstrcpy(address.sun_path, name.constData());
        m_bound = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~BoundSocket() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;
    bool bound() const { return m_bound; }

private:
    int m_fd;
    bool m_bound = false;
};

QString logTitle(const QString& variant) {
    return variant == QLatin1String("LR40") ? QStringLiteral("LR40") : QStringLiteral("PX80");
}

// Logging is off and the window says so.
void verifyNotLogging(const FrmMeasure& w, const RealProgram& p) {
    QVERIFY(!w.bLog());
    QCOMPARE(w.windowTitle(), QStringLiteral("Results"));
    QVERIFY(w.cmdLog()->isEnabled());
    QVERIFY(!w.StopLog()->isEnabled());
    QVERIFY(!p.root->resultLog().isOpen());
}
} // namespace

class LogFileFaults : public QObject {
    Q_OBJECT
private slots:
    void cannotBeWritten_data();
    void cannotBeWritten();
    void failsDuringSweep_data();
    void failsDuringSweep();
    void signalDuringSweep_data();
    void signalDuringSweep();
};

void LogFileFaults::cannotBeWritten_data() {
    QTest::addColumn<QString>("variant");
    // "full", "read-only", "missing", or what the path names: "fifo", "folder", "device",
    // "socket"
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("reason");
    const QString notAFile = QStringLiteral("Not a regular file");
    for (const char* v : {"LR40", "PX80"}) {
        const QString variant = QString::fromLatin1(v);
        QTest::newRow(QByteArray(v) + " full disk") << variant << "full"
                                                    << "File too large";
        QTest::newRow(QByteArray(v) + " folder without write permission") << variant << "read-only"
                                                                          << "Permission denied";
        QTest::newRow(QByteArray(v) + " folder that does not exist") << variant << "missing"
                                                                     << "No such file or directory";
        QTest::newRow(QByteArray(v) + " FIFO") << variant << "fifo" << notAFile;
        QTest::newRow(QByteArray(v) + " folder") << variant << "folder" << notAFile;
        QTest::newRow(QByteArray(v) + " device /dev/null") << variant << "device" << notAFile;
        QTest::newRow(QByteArray(v) + " socket") << variant << "socket" << notAFile;
    }
}

void LogFileFaults::cannotBeWritten() {
    QFETCH(QString, variant);
    QFETCH(QString, place);
    QFETCH(QString, reason);
    SimulatorProcess sim(dialectOf(variant));
    QVERIFY(sim.started());
    sim.becomePort(1);
    RealProgram p(variantNamed(variant));
    p.connect();
    FrmMeasure* w = p.results();
    QVERIFY(w);

    QString path = sim.tempPath(QStringLiteral("results.csv"));
    QStringList messages;
    std::unique_ptr<BoundSocket> socket;
    if (place == QLatin1String("full")) {
        // The file exists, so the program asks first; then the disk has no room left (the
        // file size limit stands in for it: a real full disk says "No space left on
        // device").
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        messages << QStringLiteral("Overwrite ") + path;
        const FileSizeLimit noRoom(0);
        QVERIFY(noRoom.active());
        p.startLogging(path);
    } else if (place == QLatin1String("read-only")) {
        const QString folder = sim.tempPath(QStringLiteral("read-only"));
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadOther | QFile::ExeOther));
        // The folder above it lets everybody through.
        QVERIFY(
            QFile::setPermissions(QFileInfo(folder).path(), QFile::ReadOwner | QFile::WriteOwner |
                                                                QFile::ExeOwner | QFile::ExeOther));
        path = folder + QStringLiteral("/results.csv");
        const AsUnprivilegedUser unprivileged;
        if (!unprivileged.inEffect())
            QSKIP("running as root, and the file system cannot check as another user here");
        p.startLogging(path);
    } else if (place == QLatin1String("missing")) {
        path = sim.tempPath(QStringLiteral("no-such-folder/results.csv"));
        p.startLogging(path);
    } else {
        // Refused without being opened: opening a FIFO nobody reads would block for ever.
        if (place == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (place == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(path));
        } else if (place == QLatin1String("device")) {
            path = QStringLiteral("/dev/null");
        } else {
            socket = std::make_unique<BoundSocket>(path);
            QVERIFY(socket->bound());
        }
        p.startLogging(path);
    }

    messages << path + QStringLiteral("  ") + reason;
    QCOMPARE(p.dialogs->texts(), messages);
    const ScriptedDialogs::Shown& report = p.dialogs->shown().back();
    QCOMPARE(report.title, logTitle(variant));
    QCOMPARE(report.buttons, MessageButtons::Ok);
    verifyNotLogging(*w, p);
    if (place == QLatin1String("read-only") || place == QLatin1String("missing"))
        QVERIFY(!QFile::exists(path));
    if (place == QLatin1String("full"))
        QCOMPARE(QFileInfo(path).size(), 0); // whole lines only: none

    // The program measures on; nothing more is reported.
    w->Start()->click();
    QCOMPARE(w->statusBox()->text(), QStringLiteral("Complete"));
    QCOMPARE(p.dialogs->texts(), messages);
    verifyNotLogging(*w, p);
}

void LogFileFaults::failsDuringSweep_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("removed"); // the file is removed, else the disk fills up
    QTest::addColumn<QString>("reason");
    const QString tooLarge = QStringLiteral("File too large");
    const QString gone = QStringLiteral("The log file was removed or replaced while logging");
    QTest::newRow("LR40 disk fills up") << "LR40" << false << tooLarge;
    QTest::newRow("LR40 file removed") << "LR40" << true << gone;
    QTest::newRow("PX80 disk fills up") << "PX80" << false << tooLarge;
    QTest::newRow("PX80 file removed") << "PX80" << true << gone;
}

void LogFileFaults::failsDuringSweep() {
    QFETCH(QString, variant);
    QFETCH(bool, removed);
    QFETCH(QString, reason);

    SimulatorProcess sim(dialectOf(variant));
    QVERIFY(sim.started());
    sim.becomePort(1);
    RealProgram p(variantNamed(variant));
    p.connect();
    FrmMeasure* w = p.results();
    QVERIFY(w);
    p.chooseSweep(QStringLiteral("1000"), QStringLiteral("5000"), QStringLiteral("4"));
    const QString path = sim.tempPath(QStringLiteral("results.csv"));
    p.startLogging(path);
    QVERIFY(w->bLog());

    // When the third point begins, the first two are on disk; then the fault strikes.
    std::unique_ptr<FileSizeLimit> limit;
    QStringList onDiskBefore;
    const QMetaObject::Connection strike =
        connect(w->statusBox(), &QLineEdit::textChanged, this, [&](const QString& status) {
            if (status != QLatin1String("Measuring 2") || !onDiskBefore.isEmpty())
                return;
            onDiskBefore = logFileLines(path);
            if (removed) {
                QFile::remove(path);
                return;
            }
            // Room for part of the next line only.
            limit = std::make_unique<FileSizeLimit>(QFileInfo(path).size() + 10);
        });
    w->Start()->click();
    disconnect(strike);
    const bool limited = limit && limit->active();
    limit.reset();
    if (!removed && !limited)
        QFAIL("the file size limit could not be set");

    QCOMPARE(onDiskBefore.size(), 3);
    QCOMPARE(p.dialogs->texts(), QStringList{path + QStringLiteral("  ") + reason});
    QCOMPARE(p.dialogs->shown().front().title, logTitle(variant));
    // The run went on to its end with logging off.
    QCOMPARE(w->statusBox()->text(), QStringLiteral("Complete"));
    QCOMPARE(enabledButtons(*w), idleButtons(false));
    verifyNotLogging(*w, p);
    if (removed)
        QVERIFY(!QFile::exists(path));
    else
        QCOMPARE(logFileLines(path), onDiskBefore); // whole lines only

    // Logging can start again, into a new file.
    const QString again = sim.tempPath(QStringLiteral("again.csv"));
    p.dialogs->clear();
    p.startLogging(again);
    w->Start()->click();
    w->StopLog()->click();
    QCOMPARE(p.dialogs->texts(), QStringList());
    QCOMPARE(logFileLines(again).size(), 7);
}

void LogFileFaults::signalDuringSweep_data() {
    QTest::addColumn<QString>("variant");
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("LR40 SIGTERM") << "LR40" << int(SIGTERM);
    QTest::newRow("PX80 SIGHUP") << "PX80" << int(SIGHUP);
}

void LogFileFaults::signalDuringSweep() {
    QFETCH(QString, variant);
    QFETCH(int, signalNumber);
    SimulatorProcess sim(dialectOf(variant));
    QVERIFY(sim.started());
    sim.becomePort(1);
    const QString tracePath = sim.tempPath(QStringLiteral("trace.txt"));
    qputenv("LCRPANEL_TRACE", QFile::encodeName(tracePath));
    RealProgram p(variantNamed(variant));
    qunsetenv("LCRPANEL_TRACE");
    int endedBy = 0;
    endOnTerminationSignals(*p.root, endedBy);
    p.connect();
    FrmMeasure* w = p.results();
    QVERIFY(w);
    p.chooseSweep(QStringLiteral("1000"), QStringLiteral("5000"), QStringLiteral("4"));
    const QString path = sim.tempPath(QStringLiteral("results.csv"));
    p.startLogging(path);

    connect(w->statusBox(), &QLineEdit::textChanged, this, [signalNumber](const QString& status) {
        if (status == QLatin1String("Measuring 2"))
            ::kill(::getpid(), signalNumber);
    });
    w->Start()->click(); // returns when the run has been unwound

    QCOMPARE(endedBy, signalNumber);
    QVERIFY(p.root->ended());
    QVERIFY(p.dialogs->texts().isEmpty());
    QVERIFY(deviceIsFree(sim.device()));
    // The opening line and the two points measured, whole; the port closed in the trace.
    const QStringList lines = logFileLines(path);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.first().startsWith(QLatin1String("Start Log ,")));
    p.root.reset();
    QFile trace(tracePath);
    QVERIFY(trace.open(QIODevice::ReadOnly));
    QVERIFY(QRegularExpression(QStringLiteral(" = close\n[0-9.]+ = trace ends\n$"))
                .match(QString::fromLatin1(trace.readAll()))
                .hasMatch());
}

QTEST_MAIN(LogFileFaults)
#include "test_fault_logfile.moc"
