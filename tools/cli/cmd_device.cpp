// identify and passwd: the connection page's "Проверка связи" and the "Сменить пароль"
// command, from the command line.
#include "CliCommon.h"
#include "CliLink.h"
#include "common/Cp1251.h"
#include "device/DeviceMessages.h"
#include "pages/ConnectionCheck.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString JsonString(const QString& text)
{
    // A one-element array is the simplest way to get Qt's JSON string escaping.
    QString quoted = QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    return quoted.mid(1, quoted.size() - 2);
}

bool IsLatinOrDigit(const QByteArray& password)
{
    for (char c : password) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

} // namespace

int CmdIdentify(const QStringList& args)
{
    cli::Options options;
    if (!options.Parse(args, cli::LinkValuedOptions(), cli::LinkFlagOptions()))
        return cli::Usage(options.error());
    if (!options.Positional().isEmpty())
        return cli::Usage(QStringLiteral("ladograf-cli identify LINK"));
    int exitCode = cli::kOk;
    auto link = cli::MeterLink::FromOptions(options, &exitCode);
    if (!link)
        return exitCode;
    CProcessCommand& engine = link->Engine();
    const std::optional<DeviceIdentity> identity = CheckConnection(link->Target(), engine, link->Prompt());
    if (!identity)
        return cli::kFailure;
    cli::Out(QStringLiteral("{\"serial\": %1, \"version\": %2, \"modification\": %3}\n")
                 .arg(JsonString(cp1251::Decode(identity->serial)), JsonString(cp1251::Decode(identity->version)),
                      JsonString(cp1251::Decode(identity->modelName))));
    return cli::kOk;
}

int CmdPasswd(const QStringList& args)
{
    cli::Options options;
    QStringList valued = cli::LinkValuedOptions();
    valued << QStringLiteral("--old") << QStringLiteral("--new");
    if (!options.Parse(args, valued, cli::LinkFlagOptions()))
        return cli::Usage(options.error());
    const QString level = options.Value(QStringLiteral("--level"));
    if (!options.Positional().isEmpty() || (level != QLatin1String("1") && level != QLatin1String("2"))
        || !options.Has(QStringLiteral("--new")))
        return cli::Usage(QStringLiteral("ladograf-cli passwd LINK --level N --old P --new Q"));
    const QByteArray oldPassword = cp1251::Encode(options.Value(QStringLiteral("--old")));
    const QByteArray newPassword = cp1251::Encode(options.Value(QStringLiteral("--new")));
    if (oldPassword.size() > 8 || newPassword.size() > 8)
        return cli::Usage(QStringLiteral("a password has at most 8 characters"));
    int exitCode = cli::kOk;
    auto link = cli::MeterLink::FromOptions(options, &exitCode);
    if (!link)
        return exitCode;
    // The dialog checks the new password before anything else happens.
    if (!IsLatinOrDigit(newPassword)) {
        link->Prompt().Notice(msg::kPasswordBadCharacters);
        return cli::kFailure;
    }
    // The address goes into a 16-bit field: a number beyond it would reach another meter.
    if (!link->AddressValid()) {
        link->Prompt().PlainNotice(msg::kAddressRange);
        return cli::kFailure;
    }
    return link->Engine().ChangePassword(level.toInt() - 1, oldPassword, newPassword) ? cli::kOk : cli::kFailure;
}
