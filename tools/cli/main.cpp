// ladograf-cli: the program's core from the command line (scripted commissioning, backups).
#include "CliCommon.h"
#include "CliEdit.h"
#include "CliLink.h"
#include "common/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <functional>
#include <cstring>
#include <map>
#include <memory>

namespace {

const char kUsageText[] =
    "ladograf-cli new FILE\n"
    "       ladograf-cli dump FILE\n"
    "       ladograf-cli diff A B [--json]\n"
    "       ladograf-cli set FILE NAME=VALUE...\n"
    "       ladograf-cli identify LINK\n"
    "       ladograf-cli read PAGE LINK --cfg FILE\n"
    "       ladograf-cli write PAGE LINK --cfg FILE\n"
    "       ladograf-cli passwd LINK --level N --old P --new Q\n"
    "       ladograf-cli compile RULES --out CODE [--dictionary DB]\n"
    "       ladograf-cli decode CODE [--dictionary DB]\n"
    "       ladograf-cli report FILE --pdf OUT\n"
    "LINK = (--tcp HOST:PORT [--timeout SECONDS] | --serial PORT [--baud N])\n"
    "       --address N [--level 1|2] [--password P] [--yes]\n"
    "PAGE = setpoints | groups | archive | limits | pulse";

// The closing line of a failed command that said nothing of its own (the engine keeps
// quiet about some refusals, as the program's pages want): what failed and, when the meter
// refused, its status.
QString FailureLine(const QString& command, const QStringList& words)
{
    QString what = command;
    if ((command == QLatin1String("read") || command == QLatin1String("write")) && !words.isEmpty())
        what += QLatin1Char(' ') + words.first();
    const std::optional<ReplyStatus> last = cli::LastMeterStatus();
    if (last && last->status != 0)
        return QStringLiteral("error: %1: прибор отказал, статус %2 (команда 0x%3/0x%4).")
            .arg(what)
            .arg(last->status)
            .arg(last->command, 2, 16, QLatin1Char('0'))
            .arg(last->subCommand, 2, 16, QLatin1Char('0'));
    return QStringLiteral("error: %1: команда не выполнена.").arg(what);
}

} // namespace

int main(int argc, char* argv[])
{
    // The report draws text, which needs the fonts of a GUI application; without a display
    // it draws offscreen. Every other command stays a plain console program.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "report") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Without a desktop session there is no runtime folder; a private one keeps the
        // GUI library from warning about it on stderr, where only our messages belong.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            const QString runtime = QDir::tempPath() + QStringLiteral("/ladograf-cli-runtime-")
                + QString::fromLocal8Bit(qgetenv("USER"));
            if (QDir().mkpath(runtime)
                && QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setOrganizationName(QStringLiteral("VX"));
    QCoreApplication::setApplicationName(QStringLiteral("Ладограф"));

    QStringList words = QCoreApplication::arguments().mid(1);
    if (words.isEmpty())
        return cli::Usage(QString::fromLatin1(kUsageText));
    const QString command = words.takeFirst();
    // --help and --version answer on stdout and touch nothing else.
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        QString usage = QString::fromLatin1(kUsageText);
        usage.replace(QStringLiteral("\nLINK = "), QStringLiteral("\n       ladograf-cli --help | --version\nLINK = "));
        cli::Out(QStringLiteral("usage: ") + usage + QLatin1Char('\n'));
        return 0;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        cli::Out(QStringLiteral("ladograf-cli %1\n").arg(QLatin1String(kProgramVersion)));
        return 0;
    }

    const std::map<QString, std::function<int(const QStringList&)>> commands = {
        {QStringLiteral("new"), CmdNew},
        {QStringLiteral("dump"), CmdDump},
        {QStringLiteral("diff"), CmdDiff},
        {QStringLiteral("set"), CmdSet},
        {QStringLiteral("identify"), CmdIdentify},
        {QStringLiteral("passwd"), CmdPasswd},
        {QStringLiteral("read"), CmdRead},
        {QStringLiteral("write"), CmdWrite},
        {QStringLiteral("compile"), CmdCompile},
        {QStringLiteral("decode"), CmdDecode},
        {QStringLiteral("report"), CmdReport},
    };
    const auto it = commands.find(command);
    if (it == commands.end())
        return cli::Usage(QString::fromLatin1(kUsageText));
    const int exitCode = it->second(words);
    // diff answers "different" with 1: that is its result, not a failure.
    if (exitCode == cli::kFailure && cli::ErrLines() == 0 && command != QLatin1String("diff"))
        cli::Err(FailureLine(command, words));
    return exitCode;
}
