// read and write: the main window's read and write commands for one page, from the command
// line. read fills FILE (new defaults when it does not exist yet) and saves it after a
// successful read; write loads FILE and writes the page.
#include "CliCommon.h"
#include "CliLink.h"

#include "common/Cp1251.h"
#include "device/ProgressSink.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "pages/PageTable.h"
#include "rules/TermDictionary.h"

#include <QFileInfo>

namespace {

struct PageCommand {
    PageId page = PageId::Setpoints;
    QString file;
    std::unique_ptr<cli::MeterLink> link;
    TermDictionary dictionary;
};

// Parses PAGE LINK --cfg FILE; on a usage error returns false with *exitCode set.
bool ParsePageCommand(const QString& verb, const QStringList& args, PageCommand& command, int* exitCode)
{
    const QString usage
        = QStringLiteral("ladograf-cli %1 PAGE LINK --cfg FILE\nPAGE = %2").arg(verb, CliPageWords(QStringLiteral(" | ")));
    cli::Options options;
    QStringList valued = cli::LinkValuedOptions();
    valued << QStringLiteral("--cfg");
    if (!options.Parse(args, valued, cli::LinkFlagOptions())) {
        *exitCode = cli::Usage(options.error() + QLatin1Char('\n') + usage);
        return false;
    }
    const std::optional<PageId> page
        = options.Positional().size() == 1 ? PageFromCliWord(options.Positional().first()) : std::nullopt;
    if (!page || !options.Has(QStringLiteral("--cfg"))) {
        *exitCode = cli::Usage(usage);
        return false;
    }
    command.page = *page;
    command.file = options.Value(QStringLiteral("--cfg"));
    command.link = cli::MeterLink::FromOptions(options, exitCode);
    return command.link != nullptr;
}

// Like the pulse I/O page: a missing dictionary is reported and the page goes on with what
// was read (an empty rules text still compiles, every word is unknown).
void LoadDictionary(PageCommand& command)
{
    if (command.page == PageId::Pulse)
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
    // Here the file plays the editor: without a showText hook the decoded rules go straight
    // into the model.
    PageHooks hooks;
    hooks.dictionary = &command.dictionary;
    PageContext context{command.link->Target(), command.link->Engine(), model, progress, command.link->Prompt(), {}};
    if (!ReadActivePage(command.page, context, hooks))
        return cli::kFailure;
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
    PageHooks hooks;
    hooks.dictionary = &command.dictionary;
    hooks.showMessages = [&compilerLines](const QStringList& lines) { compilerLines = lines; };
    PageContext context{command.link->Target(), command.link->Engine(), model, progress, command.link->Prompt(), {}};
    const bool written = WriteActivePage(command.page, context, hooks);
    // The compiler's message list, as the compile command prints it.
    for (const QString& line : std::as_const(compilerLines))
        cli::Out(line + QLatin1Char('\n'));
    return written ? cli::kOk : cli::kFailure;
}
