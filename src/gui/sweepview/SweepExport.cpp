#include "sweepview/SweepExport.h"

#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace SweepExport {

namespace {
std::optional<QString> commit(QSaveFile& file) {
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

std::optional<QString> writeSvg(QSaveFile& file, QWidget& view) {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(view.size());
    generator.setViewBox(view.rect());
    generator.setTitle(QStringLiteral("Sweep"));
    QPainter painter;
    if (!painter.begin(&generator))
        return QStringLiteral("The SVG image could not be started.");
    // The scene as the view shows it, drawn as vectors.
    view.render(&painter);
    painter.end();
    return std::nullopt;
}

std::optional<QString> writePng(QSaveFile& file, QWidget& view) {
    QImageWriter writer(&file, "png");
    if (!writer.write(view.grab().toImage()))
        return writer.errorString();
    return std::nullopt;
}
} // namespace

std::optional<QString> writeText(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    return commit(file);
}

std::optional<QString> writeImage(const QString& path, QWidget& view) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const bool svg = path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
    if (std::optional<QString> failure = svg ? writeSvg(file, view) : writePng(file, view)) {
        file.cancelWriting();
        return failure;
    }
    return commit(file);
}

} // namespace SweepExport
