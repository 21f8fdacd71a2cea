#pragma once
// Draws the configuration report on any paged device: the printer, the preview's printer or
// a PDF writer, each in its own device units.
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;
struct ConfigModel;
struct ReportPage;

// One page's texts (clipped to their rectangles) and rules.
void PaintReportPage(QPainter& painter, const ReportPage& page);

// Pages first..last (1..5) of the report on device, each on a page of its own. False when the
// device cannot be painted on (a printer or file that failed to open).
// ratioEntries: the voltage page's ratio list (the fixed entries when empty).
bool PaintReport(QPagedPaintDevice& device, const ConfigModel& model, const QString& filePath,
                 const QString& printTime, int first = 1, int last = 5, const QStringList& ratioEntries = {});

// The report as a PDF document of 600 dpi A4 pages, in memory.
QByteArray ReportPdf(const ConfigModel& model, const QString& filePath, const QString& printTime);
