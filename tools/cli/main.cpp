// ladograf-cli: the program's core from the command line (scripted commissioning, backups).
#include "CliCommon.h"
#include "CliEdit.h"
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
    return it->second(words);
}
