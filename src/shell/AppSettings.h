#pragma once
// The per-user settings file: how the user last reached a meter and the terminal's port.
// An INI file of four sections, read once when the page host starts and written once at
// exit. Every value is text; a value longer than its key's maximum is cut when read.
#include <QString>

struct AppSettings {
    // "SETTING"
    QString number = QStringLiteral("1");   // device address of the last used link
    QString type = QStringLiteral("0");     // "0" serial, "1" TCP
    QString telephone;
    QString telephoneInit;
    // "COM"
    QString comName = QStringLiteral("COM1");
    QString comBaud = QStringLiteral("115200");
    // "Ethernet"
    QString ethernetName;
    QString ethernetPort;
    QString ethernetTimeout = QStringLiteral("10");
    // "TERM"
    QString termName = QStringLiteral("COM1");
    QString termBaud = QStringLiteral("115200");
    QString termStamps = QStringLiteral("0");  // the terminal's "Метки времени": "1" on

    bool operator==(const AppSettings&) const = default;
};

// Longest values read back (the rest of a longer stored value is dropped).
constexpr int kShortValueMax = 9;      // Number, Type, COM and TERM keys
constexpr int kTelephoneValueMax = 99; // Telephon, TelephonString
constexpr int kEthernetValueMax = 19;  // Ethernet keys

// <local application data>/VX/Ладограф/Ладограф.ini
QString SettingsFilePath();

// Missing file, section or key: the default. Nothing is reported.
AppSettings ReadSettings(const QString& path);

// Writes every key, empty ones included, creating the folders and the file when missing.
// Failures are ignored.
void WriteSettings(const QString& path, const AppSettings& settings);

// The saved serial port of "COM" or "TERM", read again by the port scan.
QString ReadSavedPortName(const QString& path, const QString& section);
