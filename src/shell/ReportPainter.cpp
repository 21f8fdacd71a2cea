#include "ReportPainter.h"

#include "ReportContent.h"
#include "setpoints/TransformerRatios.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

QRect ToRect(const ReportRect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// The device's own font family, sized in device units so that the widest label of the
// title page ends before its value column (1100) and a line fits its 110-unit row, at any
// resolution the device has.
QFont ReportFont(QPaintDevice& device)
{
    QFont font;
    for (int pixels = 90; pixels > 20; pixels -= 2) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font, &device).horizontalAdvance(QStringLiteral("Заводской номер измерителя:")) < 980)
            break;
    }
    return font;
}

} // namespace

void PaintReportPage(QPainter& painter, const ReportPage& page)
{
    painter.save();
    painter.setPen(Qt::black);
    for (const ReportRect& rule : page.rules)
        painter.fillRect(ToRect(rule), Qt::black);
    for (const ReportText& text : page.texts) {
        const QRect rect = ToRect(text.rect);
        painter.setClipRect(rect);
        painter.drawText(rect, (text.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop | Qt::TextSingleLine,
                         text.text);
    }
    painter.restore();
}

bool PaintReport(QPagedPaintDevice& device, const ConfigModel& model, const QString& filePath,
                 const QString& printTime, int first, int last, const QStringList& ratioEntries)
{
    const QStringList& entries = ratioEntries.isEmpty() ? TransformerRatioEntries() : ratioEntries;
    first = std::max(first, 1);
    last = std::min(last, kReportPageCount);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setFont(ReportFont(device));
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage())
            return false;
        PaintReportPage(painter, ReportPageContent(model, filePath, printTime, page, device.width(), device.height(),
                                                   entries));
    }
    return painter.end();
}

QByteArray ReportPdf(const ConfigModel& model, const QString& filePath, const QString& printTime)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        // A printer's usual unprintable edge, so the PDF looks like the paper.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
        writer.setCreator(QStringLiteral("Ладограф"));
        if (!PaintReport(writer, model, filePath, printTime))
            return QByteArray();
    }
    return pdf;
}
