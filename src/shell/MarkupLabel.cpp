#include "MarkupLabel.h"

#include "Markup.h"

#include <QPainter>

namespace {
constexpr int kTopMargin = 5;
constexpr int kCellWidth = 9;
}

CMarkupLabel::CMarkupLabel(const QByteArray& markup, QWidget* parent)
    : QWidget(parent)
    , m_markup(markup)
{
    setAccessibleName(MarkupPlainText(m_markup));
}

void CMarkupLabel::SetMarkup(const QByteArray& markup)
{
    m_markup = markup;
    setAccessibleName(MarkupPlainText(m_markup));
    updateGeometry();
    update();
}

QSize CMarkupLabel::sizeHint() const
{
    int right = 0;
    for (const MarkupGlyph& glyph : LayoutMarkup(0, kTopMargin, m_markup))
        right = std::max(right, glyph.x + kCellWidth);
    return QSize(right, fontMetrics().height() + 2 * kTopMargin);
}

void CMarkupLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    DrawMarkupLabel(0, kTopMargin, m_markup, painter);
}
