#pragma once
// What the printed configuration report shows: five pages of texts and rules at fixed
// positions in the output device's units (a 600 dpi page), the footer on every page. The
// painter of the UI library draws these on a printer, the preview or a PDF.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

struct ConfigModel;

constexpr int kReportPageCount = 5;

// A rectangle as left, top, right, bottom in device units.
struct ReportRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ReportRect&) const = default;
};

struct ReportText {
    ReportRect rect;
    QString text;
    bool centred = false;  // horizontally; otherwise left-aligned. Always at the top.
};

struct ReportPage {
    std::vector<ReportText> texts;
    std::vector<ReportRect> rules;  // horizontal rules, drawn as thin rectangles
};

// The print time as the footer shows it: "14:05:09 31/12/2012".
QString ReportPrintTime(const QDateTime& time);

// The footer: "Прибор № 1" for a configuration without a file, "Файл: " and the full path
// otherwise; four spaces, the print time, "    страница n из 5".
QString ReportFooter(const ConfigModel& model, const QString& filePath, const QString& printTime, int page);

// Page `page` (1..5) on a printable area of width x height device units; pages outside the
// range have only the footer. ratioEntries is the voltage page's ratio list as it stands
// (ratios typed in this run come after the fixed ones); ratio_index picks from it.
ReportPage ReportPageContent(const ConfigModel& model, const QString& filePath, const QString& printTime, int page,
                             int width, int height, const QStringList& ratioEntries);
ReportPage ReportPageContent(const ConfigModel& model, const QString& filePath, const QString& printTime, int page,
                             int width, int height);
