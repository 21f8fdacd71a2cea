// diff A B [--json]: what differs between two configurations. set FILE NAME=VALUE...: change
// fields of a configuration, all or nothing.
#include "CliEdit.h"

#include "CliCommon.h"
#include "CliPrompt.h"

#include "model/ConfigDiff.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "model/ConfigSet.h"

namespace {

// Like opening a file in the program (and like dump): the fields an older file does not
// reach keep the values of a new configuration.
bool Load(const QString& path, ConfigModel& model)
{
    model = NewConfigModel();
    CliPrompt prompt(false, std::nullopt);
    QString error;
    if (LoadConfigFile(path, model, prompt, &error))
        return true;
    cli::Err(QStringLiteral("error: %1: %2").arg(path, error));
    return false;
}

} // namespace

int CmdDiff(const QStringList& args)
{
    const QString usage = QStringLiteral("ladograf-cli diff A B [--json]");
    cli::Options options;
    if (!options.Parse(args, {}, {QStringLiteral("--json")}))
        return cli::Usage(options.error() + QStringLiteral("\n") + usage);
    if (options.Positional().size() != 2)
        return cli::Usage(usage);

    // Exit 1 means "different", so a file that cannot be read is a usage-level failure.
    ConfigModel a;
    ConfigModel b;
    if (!Load(options.Positional()[0], a) || !Load(options.Positional()[1], b))
        return cli::kUsage;
    const QList<FieldDifference> differences = DiffConfigs(a, b);
    const QByteArray text = options.Has(QStringLiteral("--json")) ? DifferencesJson(differences)
                                                                   : DifferencesText(differences);
    cli::Out(QString::fromUtf8(text));
    return differences.isEmpty() ? cli::kOk : cli::kFailure;
}

int CmdSet(const QStringList& args)
{
    const QString usage = QStringLiteral("ladograf-cli set FILE NAME=VALUE...");
    cli::Options options;
    if (!options.Parse(args, {}, {}))
        return cli::Usage(options.error() + QStringLiteral("\n") + usage);
    if (options.Positional().size() < 2)
        return cli::Usage(usage);

    const QString path = options.Positional().front();
    ConfigModel model;
    if (!Load(path, model))
        return cli::kFailure;

    // Every assignment is checked, and every refusal reported, before anything is written.
    bool refused = false;
    for (const QString& assignment : options.Positional().mid(1)) {
        const QString error = AssignConfigField(model, assignment);
        if (!error.isEmpty()) {
            cli::Err(QStringLiteral("error: ") + error);
            refused = true;
        }
    }
    if (refused) {
        cli::Err(QStringLiteral("error: Файл %1 не изменён.").arg(path));
        return cli::kUsage;
    }

    QString error;
    if (!SaveConfigFile(path, model, &error)) {
        cli::Err(QStringLiteral("error: ") + error);
        return cli::kFailure;
    }
    return cli::kOk;
}
