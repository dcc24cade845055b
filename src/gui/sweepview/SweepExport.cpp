#include "sweepview/SweepExport.h"

#include "files/WholeFileWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>
#include <QWidget>

namespace SweepExport {

namespace {
std::optional<QString> renderSvg(QBuffer& buffer, QWidget& view) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
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

std::optional<QString> renderPixels(QBuffer& buffer, QWidget& view, const QByteArray& format) {
    QImageWriter writer(&buffer, format);
    if (!writer.write(view.grab().toImage()))
        return writer.errorString();
    return std::nullopt;
}

// The image format that a file name's extension names, empty when none this program
// writes.
QByteArray formatNamedBy(const QString& path) {
    QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix == "svg")
        return suffix;
    QByteArray format = suffix == "jpeg" ? QByteArray("jpg") : suffix;
    if ((format == "png" || format == "jpg" || format == "bmp") &&
        QImageWriter::supportedImageFormats().contains(format))
        return format;
    return {};
}
} // namespace

std::optional<QString> writeText(const QString& path, const QString& text) {
    return WholeFileWriter::write(path, text.toUtf8());
}

std::optional<QString> writeImage(const QString& path, QWidget& view) {
    const QByteArray format = formatNamedBy(path);
    if (format.isEmpty())
        return QStringLiteral("Not an image type that can be written here: name the file "
                              ".png, .jpg, .bmp or .svg");
    // The image is made in memory first, then written whole.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (std::optional<QString> failure =
            format == "svg" ? renderSvg(buffer, view) : renderPixels(buffer, view, format))
        return failure;
    return WholeFileWriter::write(path, buffer.data());
}

} // namespace SweepExport
