#pragma once

#include <QString>

#include <optional>

class QWidget;

// Files the operator saves from the sweep view, each written whole or not at all
// (WholeFileWriter). A failure returns its reason.
namespace SweepExport {

std::optional<QString> writeText(const QString& path, const QString& text);
// In the format that the name's extension names: .png, .jpg or .jpeg, .bmp, .svg (any
// case). Another extension, or none, is refused and nothing is written.
std::optional<QString> writeImage(const QString& path, QWidget& view);

} // namespace SweepExport
