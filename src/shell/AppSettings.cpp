#include "AppSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString ReadKey(QSettings& ini, const QString& key, const QString& fallback, int maxLength)
{
    const QVariant value = ini.value(key);
    if (!value.isValid())
        return fallback;
    // An unquoted value with commas comes back as a list; the user meant one text.
    const QString text = value.typeId() == QMetaType::QStringList ? value.toStringList().join(QStringLiteral(", "))
                                                                   : value.toString();
    return text.left(maxLength);
}

} // namespace

QString SettingsFilePath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base + QStringLiteral("/VX/Ладограф/Ладограф.ini");
}

AppSettings ReadSettings(const QString& path)
{
    AppSettings s;
    if (!QFileInfo::exists(path))
        return s;
    QSettings ini(path, QSettings::IniFormat);
    s.number = ReadKey(ini, QStringLiteral("SETTING/Number"), s.number, kShortValueMax);
    s.type = ReadKey(ini, QStringLiteral("SETTING/Type"), s.type, kShortValueMax);
    s.telephone = ReadKey(ini, QStringLiteral("SETTING/Telephon"), s.telephone, kTelephoneValueMax);
    s.telephoneInit = ReadKey(ini, QStringLiteral("SETTING/TelephonString"), s.telephoneInit, kTelephoneValueMax);
    s.comName = ReadKey(ini, QStringLiteral("COM/Name"), s.comName, kShortValueMax);
    s.comBaud = ReadKey(ini, QStringLiteral("COM/Baud"), s.comBaud, kShortValueMax);
    s.ethernetName = ReadKey(ini, QStringLiteral("Ethernet/Name"), s.ethernetName, kEthernetValueMax);
    s.ethernetPort = ReadKey(ini, QStringLiteral("Ethernet/Port"), s.ethernetPort, kEthernetValueMax);
    s.ethernetTimeout = ReadKey(ini, QStringLiteral("Ethernet/Timeout"), s.ethernetTimeout, kEthernetValueMax);
    s.termName = ReadKey(ini, QStringLiteral("TERM/Name"), s.termName, kShortValueMax);
    s.termBaud = ReadKey(ini, QStringLiteral("TERM/Baud"), s.termBaud, kShortValueMax);
    s.termStamps = ReadKey(ini, QStringLiteral("TERM/Stamps"), s.termStamps, kShortValueMax);
    return s;
}

void WriteSettings(const QString& path, const AppSettings& s)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue(QStringLiteral("SETTING/Number"), s.number);
    ini.setValue(QStringLiteral("SETTING/Type"), s.type);
    ini.setValue(QStringLiteral("COM/Name"), s.comName);
    ini.setValue(QStringLiteral("COM/Baud"), s.comBaud);
    ini.setValue(QStringLiteral("Ethernet/Name"), s.ethernetName);
    ini.setValue(QStringLiteral("Ethernet/Port"), s.ethernetPort);
    ini.setValue(QStringLiteral("Ethernet/Timeout"), s.ethernetTimeout);
    ini.setValue(QStringLiteral("SETTING/Telephon"), s.telephone);
    ini.setValue(QStringLiteral("SETTING/TelephonString"), s.telephoneInit);
    ini.setValue(QStringLiteral("TERM/Name"), s.termName);
    ini.setValue(QStringLiteral("TERM/Baud"), s.termBaud);
    ini.setValue(QStringLiteral("TERM/Stamps"), s.termStamps);
    ini.sync();
}

QString ReadSavedPortName(const QString& path, const QString& section)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("COM1");
    QSettings ini(path, QSettings::IniFormat);
    return ReadKey(ini, section + QStringLiteral("/Name"), QStringLiteral("COM1"), kShortValueMax);
}
