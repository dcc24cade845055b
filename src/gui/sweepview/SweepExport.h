#pragma once

#include <QString>

#include <optional>

class QWidget;

// Files the operator saves from the sweep view. Each is written whole or not at all: the
// file is replaced only once everything is written. A failure returns its reason.
namespace SweepExport {

std::optional<QString> writeText(const QString& path, const QString& text);
// SVG for a name ending in ".svg", PNG otherwise.
std::optional<QString> writeImage(const QString& path, QWidget& view);

} // namespace SweepExport
