// new FILE: write a configuration with every default. dump FILE: print it as JSON.
#include "CliCommon.h"
#include "CliPrompt.h"

#include "model/ConfigDump.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"

namespace {

int Failure(const QString& message)
{
    cli::Err(QStringLiteral("error: ") + message);
    return cli::kFailure;
}

} // namespace

int CmdNew(const QStringList& args)
{
    cli::Options options;
    if (!options.Parse(args, {}, {}) || options.Positional().size() != 1)
        return cli::Usage(QStringLiteral("ladograf-cli new FILE"));
    QString error;
    if (!SaveConfigFile(options.Positional().front(), NewConfigModel(), &error))
        return Failure(error);
    return cli::kOk;
}

int CmdDump(const QStringList& args)
{
    cli::Options options;
    if (!options.Parse(args, {}, {}) || options.Positional().size() != 1)
        return cli::Usage(QStringLiteral("ladograf-cli dump FILE"));
    // Like opening a file in the program: the fields an older file does not reach keep the
    // values of a new configuration.
    ConfigModel model = NewConfigModel();
    CliPrompt prompt(false, std::nullopt);
    QString error;
    if (!LoadConfigFile(options.Positional().front(), model, prompt, &error))
        return Failure(error);
    cli::Out(QString::fromUtf8(ConfigToJson(model)));
    return cli::kOk;
}
