// ladograf-cli: the program's core from the command line (scripted commissioning, backups).
#include "CliCommon.h"
#include "CliEdit.h"

#include <QCoreApplication>

#include <functional>
#include <map>

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
    "LINK = (--tcp HOST:PORT [--timeout SECONDS] | --serial PORT [--baud N])\n"
    "       --address N [--level 1|2] [--password P] [--yes]\n"
    "PAGE = setpoints | groups | archive | limits | pulse";

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VX"));
    QCoreApplication::setApplicationName(QStringLiteral("Ладограф"));

    QStringList words = QCoreApplication::arguments().mid(1);
    if (words.isEmpty())
        return cli::Usage(QString::fromLatin1(kUsageText));
    const QString command = words.takeFirst();

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
    };
    const auto it = commands.find(command);
    if (it == commands.end())
        return cli::Usage(QString::fromLatin1(kUsageText));
    return it->second(words);
}
