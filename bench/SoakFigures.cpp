// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoakFigures.h"

#include <QDir>
#include <QFile>

#include <sys/resource.h>

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    // A file of /proc has no size, so it is read whole rather than line by line.
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toLong();
    return -1;
}

int openDescriptors() {
    // The listing holds one descriptor of its own while it reads, at every sample alike.
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
}

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

ProcessSample sampleProcess() {
    return {residentKiB(), openDescriptors()};
}

namespace {
bool isResultRecord(const QString& line) {
    return !line.startsWith(QLatin1String("Start Log ,")) &&
           !line.startsWith(QLatin1String("Stop Log ,")) &&
           line != QLatin1String("Configuration Changed");
}

// The frequencies of one sweep, checked as they come.
class SweepFollower {
public:
    explicit SweepFollower(const SweepPlan& plan) : m_plan(plan) {}

    void next(int frequency, LogCheck& check) {
        if (frequency == m_plan.start) {
            ++check.sweeps;
            m_index = 0;
        } else if (m_index < 0) {
            fail(check, QStringLiteral("the log begins inside a sweep, at %1 Hz").arg(frequency));
            return;
        } else {
            ++m_index;
            // Evenly spaced points are known exactly; others need only rise.
            const int span = m_plan.stop - m_plan.start;
            const bool even = m_plan.steps > 0 && span % m_plan.steps == 0;
            const int expected = m_plan.start + m_index * (even ? span / m_plan.steps : 0);
            if ((even && frequency != expected) || (!even && frequency <= m_previous) ||
                m_index > m_plan.steps)
                fail(check, QStringLiteral("point %1 of sweep %2 is at %3 Hz")
                                .arg(m_index)
                                .arg(check.sweeps)
                                .arg(frequency));
        }
        if (m_index == m_plan.steps && frequency == m_plan.stop)
            ++check.wholeSweeps;
        m_previous = frequency;
    }

private:
    static void fail(LogCheck& check, const QString& problem) {
        if (check.frequenciesInOrder)
            check.frequencyProblem = problem;
        check.frequenciesInOrder = false;
    }

    SweepPlan m_plan;
    int m_index = -1;
    int m_previous = 0;
};
} // namespace

LogCheck checkLog(const QString& logPath, const QString& shownPath, const SweepPlan& plan) {
    LogCheck check;
    QFile file(logPath);
    QFile shownFile(shownPath);
    if (!file.open(QIODevice::ReadOnly) || !shownFile.open(QIODevice::ReadOnly)) {
        check.firstDifference = QStringLiteral("the log or the results shown cannot be read");
        return check;
    }
    QStringList shown = QString::fromUtf8(shownFile.readAll()).split(QLatin1Char('\n'));
    shown.removeLast(); // after the last line end
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    check.wholeLines = lines.takeLast().isEmpty();

    SweepFollower follower(plan);
    QStringList logged;
    for (const QString& line : lines) {
        if (!isResultRecord(line))
            continue;
        QString fields = line;
        if (plan.steps > 0) {
            const int comma = static_cast<int>(line.indexOf(QLatin1Char(',')));
            follower.next(line.left(comma).toInt(), check);
            fields = line.mid(comma + 1);
        }
        logged << fields;
    }
    check.records = static_cast<int>(logged.size());
    check.matchesShown = logged == shown;
    if (!check.matchesShown) {
        int i = 0;
        while (i < logged.size() && i < shown.size() && logged[i] == shown[i])
            ++i;
        check.firstDifference = QStringLiteral("result %1: shown \"%2\", logged \"%3\"")
                                    .arg(i + 1)
                                    .arg(shown.value(i, QStringLiteral("(none)")),
                                         logged.value(i, QStringLiteral("(none)")));
    }
    return check;
}
