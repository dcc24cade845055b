// SPDX-License-Identifier: GPL-3.0-or-later
#include "sweepview/PlainTextDelegate.h"

#include <QApplication>
#include <QPainter>

const QStaticText& PlainTextDelegate::laidOut(const QString& text, const QFont& font) const {
    if (font != m_font || m_laidOut.size() >= KeptTexts) {
        m_laidOut.clear();
        m_font = font;
    }
    const auto known = m_laidOut.constFind(text);
    if (known != m_laidOut.constEnd())
        return *known;
    QStaticText fresh(text);
    fresh.setTextFormat(Qt::PlainText);
    fresh.prepare(QTransform(), font);
    return *m_laidOut.insert(text, fresh);
}

void PlainTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    // The row's own background (alternating colours) is already drawn by the view.
    const bool selected = option.state & QStyle::State_Selected;
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));

    const QStaticText& text = laidOut(index.data().toString(), option.font);
    // The styles' own text margin, which the size hint of the columns allows for.
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    painter->save();
    // Clipping costs more than the drawing; only a text wider than its column needs it.
    if (text.size().width() > area.width())
        painter->setClipRect(area, Qt::IntersectClip);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawStaticText(
        QPointF(area.left(), area.top() + (area.height() - text.size().height()) / 2.0), text);
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor =
            option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}
