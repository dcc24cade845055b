// SPDX-License-Identifier: GPL-3.0-or-later
#include "traces/ReferenceReader.h"

#include "export/SweepColumns.h"
#include "run/SettingSweep.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace {
constexpr qint64 MostBytes = qint64{16} * 1024 * 1024;
constexpr int MostRows = 100000;
// The eight columns every saved sweep table starts with.
const QStringList& tableHeader() {
    static const QStringList header = SweepColumns::headers().mid(0, SweepColumns::firstDerived());
    return header;
}

// The traces of a file with steps: one a step value, in the order the steps came, named
// "name step value" (just "name" without steps).
class StepTraces {
public:
    Trace& of(const QString& step) {
        if (!m_traces.count(step))
            m_order << step;
        return m_traces[step];
    }
    ReferenceFile take(const QString& name) {
        ReferenceFile file;
        for (const QString& step : m_order) {
            Trace& trace = m_traces[step];
            trace.name = step.isEmpty() ? name : name + QStringLiteral(" step ") + step;
            file.traces.push_back(std::move(trace));
        }
        return file;
    }

private:
    std::map<QString, Trace> m_traces;
    QStringList m_order;
};

struct Refusal {
    QString problem;
    int line;
};

ReferenceFile refused(const QString& problem, int line) {
    ReferenceFile file;
    file.problem = problem;
    file.line = line;
    return file;
}

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A plottable value: a number short of the instrument's overload; NaN otherwise.
double valueOf(const QString& text) {
    const std::optional<double> value = number(text);
    return value && std::abs(*value) < 9.9e37 ? *value : NAN;
}

// One line of comma-separated fields, with "Save data..."'s quoting.
QStringList csvFields(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() &&
                line.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

// Adds one row to a trace; the first row names its curves.
void addRow(Trace& trace, double frequency, const QStringList& texts) {
    if (trace.size() == 0) {
        trace.primaryName = texts.at(0);
        trace.primaryUnit = texts.at(2);
        trace.secondaryName = texts.at(3);
        trace.secondaryUnit = texts.at(5);
    }
    trace.add(frequency, valueOf(texts.at(1)), valueOf(texts.at(4)));
}

// The six result texts of a row, checked: a frequency and at least one value that is a number.
std::optional<Refusal> checkRow(const QString& frequency, const QStringList& texts, int line) {
    if (!number(frequency))
        return Refusal{QStringLiteral("the frequency \"%1\" is not a number").arg(frequency), line};
    if (std::isnan(valueOf(texts.at(1))) && std::isnan(valueOf(texts.at(4))))
        return Refusal{QStringLiteral("no number in the value columns"), line};
    return std::nullopt;
}

ReferenceFile readTable(const QStringList& lines, const QString& name) {
    const QStringList header = csvFields(lines.front());
    const int step = static_cast<int>(header.indexOf(QStringLiteral("Step")));
    // A voltage or bias sweep's table: its traces lie along the volts, not the frequency.
    RunSetting swept = RunSetting::Frequency;
    int along = 1;
    for (const RunSetting setting : {RunSetting::Voltage, RunSetting::Bias})
        if (const int column = static_cast<int>(header.indexOf(SweepColumns::sweptHeader(setting)));
            column >= 0) {
            swept = setting;
            along = column;
        }
    StepTraces traces;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines.at(i).isEmpty())
            continue;
        const QStringList fields = csvFields(lines.at(i));
        if (fields.size() < tableHeader().size() || fields.size() <= std::max(step, along))
            return refused(
                QStringLiteral("a row with %1 fields, fewer than the header's").arg(fields.size()),
                i + 1);
        const QStringList texts = fields.mid(2, 6);
        if (const std::optional<Refusal> refusal = checkRow(fields.at(1), texts, i + 1))
            return refused(refusal->problem, refusal->line);
        if (!number(fields.at(along)))
            return refused(QStringLiteral("the %1 \"%2\" is not a number")
                               .arg(runSettingName(swept).toLower(), fields.at(along)),
                           i + 1);
        Trace& trace = traces.of(step >= 0 ? fields.at(step) : QString());
        trace.swept = swept;
        addRow(trace, *number(fields.at(along)), texts);
    }
    return traces.take(name);
}

ReferenceFile readResultLog(const QStringList& lines, const QString& name) {
    ReferenceFile file;
    Trace current;
    int direction = 0;
    const auto finish = [&] {
        if (current.size() > 0) {
            current.name = QStringLiteral("%1 #%2").arg(name).arg(file.traces.size() + 1);
            file.traces.push_back(std::move(current));
        }
        current = Trace();
        direction = 0;
    };
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(QLatin1Char(','));
        // A sweep record: seven fields (eight and nine with a swept and a step value), a
        // frequency first. Anything else ends the trace.
        if (fields.size() < 7 || fields.size() > 9 || !number(fields.at(0))) {
            finish();
            continue;
        }
        const QStringList texts = fields.mid(1, 6);
        if (const std::optional<Refusal> refusal = checkRow(fields.at(0), texts, i + 1))
            return refused(refusal->problem, refusal->line);
        const double frequency = *number(fields.at(0));
        if (current.size() > 0) {
            const bool sameCurves =
                current.primaryName == texts.at(0) && current.primaryUnit == texts.at(2) &&
                current.secondaryName == texts.at(3) && current.secondaryUnit == texts.at(5);
            const double last = current.frequencies.back();
            const int step = frequency > last ? 1 : frequency < last ? -1 : 0;
            if (!sameCurves || (direction != 0 && step != 0 && step != direction))
                finish();
            else if (step != 0)
                direction = step;
        }
        addRow(current, frequency, texts);
    }
    finish();
    return file;
}

ReferenceFile readJsonLines(const QStringList& lines, const QString& name) {
    // A voltage or bias sweep's traces lie along its volts.
    StepTraces traces;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(lines.at(i).toUtf8(), &error);
        if (!document.isObject())
            return refused(QStringLiteral("not a JSON object: %1").arg(error.errorString()), i + 1);
        const QJsonObject row = document.object();
        const QJsonValue hertz = row.value(QStringLiteral("frequency_hz"));
        const QString frequency =
            hertz.isDouble() ? QString::number(hertz.toDouble(), 'g', 17) : hertz.toString();
        const QStringList texts{row.value(QStringLiteral("primary")).toString(),
                                row.value(QStringLiteral("primary_value")).toString(),
                                row.value(QStringLiteral("primary_unit")).toString(),
                                row.value(QStringLiteral("secondary")).toString(),
                                row.value(QStringLiteral("secondary_value")).toString(),
                                row.value(QStringLiteral("secondary_unit")).toString()};
        if (const std::optional<Refusal> refusal = checkRow(frequency, texts, i + 1))
            return refused(refusal->problem, refusal->line);
        const QJsonValue step = row.value(QStringLiteral("step"));
        Trace& trace =
            traces.of(step.isDouble() ? QString::number(step.toDouble(), 'g', 17) : QString());
        double along = *number(frequency);
        for (const RunSetting setting : {RunSetting::Voltage, RunSetting::Bias}) {
            const QJsonValue volts = row.value(SweepColumns::sweptJsonKey(setting));
            if (volts.isDouble()) {
                trace.swept = setting;
                along = volts.toDouble();
            }
        }
        addRow(trace, along, texts);
    }
    return traces.take(name);
}
} // namespace

namespace ReferenceReader {

ReferenceFile read(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return refused(QStringLiteral("the file does not exist"), 0);
    if (info.isDir())
        return refused(QStringLiteral("a folder, not a file"), 0);
    if (info.size() > MostBytes)
        return refused(QStringLiteral("the file is larger than 16 MiB"), 0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(file.errorString(), 0);
    // Read one byte more than allowed, in case the file grew since it was looked at.
    const QByteArray bytes = file.read(MostBytes + 1);
    if (bytes.size() > MostBytes)
        return refused(QStringLiteral("the file is larger than 16 MiB"), 0);
    return parse(bytes, info.completeBaseName());
}

ReferenceFile parse(const QByteArray& bytes, const QString& name) {
    if (bytes.size() > MostBytes)
        return refused(QStringLiteral("the file is larger than 16 MiB"), 0);
    QList<QByteArray> rawLines = bytes.split('\n');
    if (!rawLines.isEmpty() && rawLines.back().isEmpty())
        rawLines.removeLast();
    if (rawLines.size() > MostRows + 1)
        return refused(QStringLiteral("more than 100,000 rows"), MostRows + 2);
    QStringList lines;
    for (int i = 0; i < rawLines.size(); ++i) {
        QByteArray raw = rawLines.at(i);
        if (raw.endsWith('\r'))
            raw.chop(1);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString line = utf8.decode(raw);
        if (utf8.hasError())
            return refused(QStringLiteral("not UTF-8 text"), i + 1);
        if (i == 0 && line.startsWith(QChar(0xfeff)))
            line.remove(0, 1);
        lines << line;
    }
    if (lines.isEmpty())
        return refused(QStringLiteral("no recognisable header"), 1);
    const QString& first = lines.front();
    ReferenceFile file;
    if (csvFields(first).mid(0, tableHeader().size()) == tableHeader())
        file = readTable(lines, name);
    else if (first.startsWith(QLatin1String("Start Log ,")))
        file = readResultLog(lines, name);
    else if (first.startsWith(QLatin1Char('{')))
        file = readJsonLines(lines, name);
    else
        return refused(QStringLiteral("no recognisable header"), 1);
    if (file.problem.isEmpty() && file.traces.empty())
        return refused(QStringLiteral("no measured point"), 0);
    return file;
}

} // namespace ReferenceReader
