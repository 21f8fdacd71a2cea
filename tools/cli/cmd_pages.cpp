// read and write: the main window's read and write commands for one page, from the command
// line. read fills FILE (new defaults when it does not exist yet) and saves it after a
// successful read; write loads FILE and writes the page.
#include "CliCommon.h"
#include "CliLink.h"

#include "common/Cp1251.h"
#include "device/PageExchange.h"
#include "device/ProgressSink.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "rules/TermDictionary.h"

#include <QFileInfo>

namespace {

struct PageCommand {
    PageKind page = PageKind::Setpoints;
    QString file;
    std::unique_ptr<cli::MeterLink> link;
    TermDictionary dictionary;
};

// Parses PAGE LINK --cfg FILE; on a usage error returns false with *exitCode set.
bool ParsePageCommand(const QString& verb, const QStringList& args, PageCommand& command, int* exitCode)
{
    const QString usage = QStringLiteral("ladograf-cli %1 PAGE LINK --cfg FILE\n"
                                         "PAGE = setpoints | groups | archive | limits | pulse")
                              .arg(verb);
    cli::Options options;
    QStringList valued = cli::LinkValuedOptions();
    valued << QStringLiteral("--cfg");
    if (!options.Parse(args, valued, cli::LinkFlagOptions())) {
        *exitCode = cli::Usage(options.error() + QLatin1Char('\n') + usage);
        return false;
    }
    const std::optional<PageKind> page
        = options.Positional().size() == 1 ? PageKindFromName(options.Positional().first()) : std::nullopt;
    if (!page || !options.Has(QStringLiteral("--cfg"))) {
        *exitCode = cli::Usage(usage);
        return false;
    }
    command.page = *page;
    command.file = options.Value(QStringLiteral("--cfg"));
    command.link = cli::MeterLink::FromOptions(options, exitCode);
    return command.link != nullptr;
}

LinkSettings SettingsOf(cli::MeterLink& link)
{
    CProcessCommand& engine = link.Engine();
    const long long address = link.Address();
    // Anything beyond the 16-bit field is refused by the address test, never wrapped.
    const int tested = address < 0 || address > 65535 ? 0 : int(address);
    return LinkSettings{engine.PortName(), engine.LinkParameter(), tested};
}

// Like the pulse I/O page: a missing dictionary is reported and the page goes on with what
// was read (an empty rules text still compiles, every word is unknown).
void LoadDictionary(PageCommand& command)
{
    if (command.page == PageKind::Pulse)
        command.dictionary.Load(TermDictionary::DefaultPath(), command.link->Prompt());
}

} // namespace

int CmdRead(const QStringList& args)
{
    PageCommand command;
    int exitCode = cli::kOk;
    if (!ParsePageCommand(QStringLiteral("read"), args, command, &exitCode))
        return exitCode;

    ConfigModel model = NewConfigModel();
    QString error;
    // Only a regular file is read first: a device or FIFO (/dev/stdout) just takes the result.
    if (QFileInfo(command.file).isFile() && !LoadConfigFile(command.file, model, command.link->Prompt(), &error)) {
        cli::Err(QStringLiteral("error: ") + error);
        return cli::kFailure;
    }
    LoadDictionary(command);

    NullProgress progress;
    QByteArray decoded;
    PageCallbacks callbacks;
    callbacks.dictionary = &command.dictionary;
    callbacks.decodedRules = &decoded;
    if (!ReadActivePage(command.page, SettingsOf(*command.link), command.link->Engine(), model, progress,
                        command.link->Prompt(), callbacks))
        return cli::kFailure;
    // Here the file plays the editor: the decoded rules go straight into the model.
    if (command.page == PageKind::Pulse)
        model.pulse_rules_text = decoded;
    if (!SaveConfigFile(command.file, model, &error)) {
        cli::Err(QStringLiteral("error: ") + error);
        return cli::kFailure;
    }
    return cli::kOk;
}

int CmdWrite(const QStringList& args)
{
    PageCommand command;
    int exitCode = cli::kOk;
    if (!ParsePageCommand(QStringLiteral("write"), args, command, &exitCode))
        return exitCode;

    ConfigModel model = NewConfigModel();
    QString error;
    if (!LoadConfigFile(command.file, model, command.link->Prompt(), &error)) {
        cli::Err(QStringLiteral("error: ") + error);
        return cli::kFailure;
    }
    LoadDictionary(command);

    NullProgress progress;
    QStringList compilerLines;
    PageCallbacks callbacks;
    callbacks.dictionary = &command.dictionary;
    callbacks.compilerMessages = &compilerLines;
    const bool written = WriteActivePage(command.page, SettingsOf(*command.link), command.link->Engine(), model,
                                         progress, command.link->Prompt(), callbacks);
    // The compiler's message list, as the compile command prints it.
    for (const QString& line : std::as_const(compilerLines))
        cli::Out(line + QLatin1Char('\n'));
    return written ? cli::kOk : cli::kFailure;
}
