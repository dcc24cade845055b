// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Draws a cell as one line of plain text. A table that gains a row at each point of a long
// run repaints every visible cell each time; the styles' general item painting (icons,
// check boxes, eliding) and laying the text out afresh each time cost several times more
// than drawing it, so the laid-out texts are kept.
class PlainTextDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const QStaticText& laidOut(const QString& text, const QFont& font) const;

    // More than the texts of a tall screenful of rows; all are dropped when the table has
    // shown that many, and all are laid out in this font.
    static constexpr int KeptTexts = 600;
    mutable QHash<QString, QStaticText> m_laidOut;
    mutable QFont m_font;
};
