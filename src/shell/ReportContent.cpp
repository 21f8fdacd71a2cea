#include "ReportContent.h"

#include "common/CFormat.h"
#include "common/Cp1251.h"
#include "model/ConfigModel.h"
#include "setpoints/TransformerRatios.h"

#include <QDir>

namespace {

// Maker line of the title page.
const QString kMakerLine = QStringLiteral("VX, 2012");

ReportRect Moved(ReportRect r, int dy)
{
    r.top += dy;
    r.bottom += dy;
    return r;
}

// The ratio the voltage page shows for ratio_index, or nothing for an index beyond its list.
QString RatioText(const ConfigModel& model, const QStringList& entries)
{
    if (model.ratio_index < 0 || model.ratio_index >= entries.size())
        return QString();
    return FormatC("%.2f", entries[model.ratio_index].toDouble());
}

void TitlePage(const ConfigModel& model, int width, ReportPage& page)
{
    ReportRect r{0, 200, width, 310};
    page.texts.push_back({r, QStringLiteral("Отчёт о настройке измерителя \"Ворант-ПКЭ\""), true});
    r = Moved(r, 150);
    page.texts.push_back({r, QStringLiteral("\"Ладограф\" Версия 4.0"), true});
    r = Moved(r, 150);
    page.texts.push_back({r, kMakerLine, true});
    page.rules.push_back({100, 800, width, 801});

    const struct {
        int top;
        QString label;
        QString value;
    } rows[] = {
        {900, QStringLiteral("Заводской номер измерителя:"),
         model.connection_address != 0 ? QString::number(model.connection_address) : QString()},
        {1020, QStringLiteral("Модификация:"), cp1251::Decode(model.modification)},
        {1140, QStringLiteral("Версия ПО:"), cp1251::Decode(model.firmware_version)},
    };
    for (const auto& row : rows) {
        page.texts.push_back({{100, row.top, width, row.top + 110}, row.label, false});
        if (!row.value.isEmpty())
            page.texts.push_back({{1100, row.top, width, row.top + 110}, row.value, false});
    }
    page.rules.push_back({100, 1440, width, 1441});
}

void VoltagePage(const ConfigModel& model, int width, const QStringList& ratioEntries, ReportPage& page)
{
    constexpr int kValueX = 2600;
    ReportRect r{100, 100, width, 210};
    const auto value = [&](const ReportRect& row, int x, const QString& text) {
        page.texts.push_back({{x, row.top, width, row.bottom}, text, false});
    };
    page.texts.push_back({r, QStringLiteral("1. Напряжение"), false});
    if (model.firmware_version.startsWith('2')) {
        value(r, kValueX, QStringLiteral("Фидер 1"));
        value(r, 3600, QStringLiteral("Фидер 2"));
    }
    r = Moved(r, 200);
    page.texts.push_back({r, QStringLiteral("Коэффициент трансформации:"), false});
    if (model.input_type == 1) {
        const QString ratio = RatioText(model, ratioEntries);
        if (!ratio.isEmpty())
            value(r, kValueX, ratio);
    }
    r = Moved(r, 120);
    page.texts.push_back({r, QStringLiteral("Номинальное фазное напряжение:"), false});
    value(r, kValueX, FormatC("%0.3f", model.u_nom_phase));
    r = Moved(r, 120);
    page.texts.push_back({r, QStringLiteral("Номинальное междуфазное напряжение:"), false});
    value(r, kValueX, FormatC("%0.3f", model.u_nom_line));
    r = Moved(r, 120);
    page.texts.push_back({r, QStringLiteral("Схема включения:"), false});
}

} // namespace

QString ReportPrintTime(const QDateTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss dd/MM/yyyy"));
}

QString ReportFooter(const ConfigModel& model, const QString& filePath, const QString& printTime, int page)
{
    const QString source = filePath.isEmpty() ? QStringLiteral("Прибор № %1").arg(model.connection_address)
                                              : QStringLiteral("Файл: ") + QDir::toNativeSeparators(filePath);
    return source + QStringLiteral("    ") + printTime
        + QStringLiteral("    страница %1 из %2").arg(page).arg(kReportPageCount);
}

ReportPage ReportPageContent(const ConfigModel& model, const QString& filePath, const QString& printTime, int page,
                             int width, int height)
{
    return ReportPageContent(model, filePath, printTime, page, width, height, TransformerRatioEntries());
}

ReportPage ReportPageContent(const ConfigModel& model, const QString& filePath, const QString& printTime, int page,
                             int width, int height, const QStringList& ratioEntries)
{
    ReportPage content;
    content.texts.push_back({{0, height - 100, width, height}, ReportFooter(model, filePath, printTime, page), false});
    content.rules.push_back({0, height - 105, width, height - 104});
    const ReportRect heading{100, 100, width, 210};
    switch (page) {
    case 1:
        TitlePage(model, width, content);
        break;
    case 2:
        VoltagePage(model, width, ratioEntries, content);
        break;
    case 3:
        content.texts.push_back({heading, QStringLiteral("6. Коэффициенты гармонической составляющей"), false});
        break;
    case 4:
        content.texts.push_back({heading, QStringLiteral("6.2 Предельно допустимые значения коэффициентов"), false});
        break;
    case 5:
        content.texts.push_back({heading, QStringLiteral("7. Частота"), false});
        break;
    default:
        break;
    }
    return content;
}
