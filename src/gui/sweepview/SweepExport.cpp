// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweepview/SweepExport.h"

#include "files/WholeFileWriter.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QSvgGenerator>
#include <QWidget>

namespace SweepExport {

namespace {
std::optional<QString> renderSvg(QBuffer& buffer, QCustomPlot& chart) {
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(chart.size());
    generator.setViewBox(chart.rect());
    generator.setTitle(QStringLiteral("Sweep"));
    QCPPainter painter;
    if (!painter.begin(&generator))
        return QStringLiteral("The SVG image could not be started.");
    // The chart drawn afresh as lines and text; rendering the widget would draw its
    // buffered pixels, a bitmap inside the SVG.
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    chart.toPainter(&painter, chart.width(), chart.height());
    painter.end();
    return std::nullopt;
}

std::optional<QString> renderPixels(QBuffer& buffer, QWidget& chart, const QByteArray& format) {
    QImageWriter writer(&buffer, format);
    if (!writer.write(chart.grab().toImage()))
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

std::optional<QString> writeImage(const QString& path, QCustomPlot& chart) {
    const QByteArray format = formatNamedBy(path);
    if (format.isEmpty())
        return QStringLiteral("Not an image type that can be written here: name the file "
                              ".png, .jpg, .bmp or .svg");
    // The image is made in memory first, then written whole.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (std::optional<QString> failure =
            format == "svg" ? renderSvg(buffer, chart) : renderPixels(buffer, chart, format))
        return failure;
    return WholeFileWriter::write(path, buffer.data());
}

} // namespace SweepExport
