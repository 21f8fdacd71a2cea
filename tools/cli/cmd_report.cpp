// report FILE --pdf OUT: the printed configuration report of FILE as a PDF, drawn by the
// program's own report painter on 600 dpi A4 pages. FILE "new" is a new configuration,
// whose footer names the device address as printing an unsaved configuration does.
#include "CliCommon.h"
#include "CliPrompt.h"

#include "common/SaveFile.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "shell/AppSettings.h"
#include "shell/ReportContent.h"
#include "shell/ReportPainter.h"

#include <QDateTime>
#include <QFileInfo>

int CmdReport(const QStringList& args)
{
    const QString usage = QStringLiteral("ladograf-cli report FILE --pdf OUT");
    cli::Options options;
    if (!options.Parse(args, {QStringLiteral("--pdf")}, {}))
        return cli::Usage(options.error() + QStringLiteral("\n") + usage);
    if (options.Positional().size() != 1 || !options.Has(QStringLiteral("--pdf")))
        return cli::Usage(usage);

    const QString file = options.Positional().first();
    ConfigModel model = NewConfigModel();
    QString path;
    if (file == QLatin1String("new")) {
        // A new document takes the device address of a first start, as in the program.
        model.connection_address = AppSettings().number.toInt();
    } else {
        CliPrompt prompt(false, std::nullopt);
        QString error;
        if (!LoadConfigFile(file, model, prompt, &error)) {
            cli::Err(QStringLiteral("error: ") + error);
            return cli::kFailure;
        }
        path = QFileInfo(file).absoluteFilePath();
    }

    const QByteArray pdf = ReportPdf(model, path, ReportPrintTime(QDateTime::currentDateTime()));
    const QString out = options.Value(QStringLiteral("--pdf"));
    if (pdf.isEmpty() || !SaveFileBytes(out, pdf, nullptr)) {
        cli::Err(QStringLiteral("error: Не удалось записать файл %1.").arg(out));
        return cli::kFailure;
    }
    return cli::kOk;
}
