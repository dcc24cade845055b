// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QCustomPlot;

// Files the operator saves from the sweep view, each written whole or not at all
// (WholeFileWriter). A failure returns its reason.
namespace SweepExport {

std::optional<QString> writeText(const QString& path, const QString& text);
// In the format that the name's extension names: .png, .jpg or .jpeg, .bmp, .svg (any
// case). Another extension, or none, is refused and nothing is written. SVG is drawn as
// vectors.
std::optional<QString> writeImage(const QString& path, QCustomPlot& chart);

} // namespace SweepExport
