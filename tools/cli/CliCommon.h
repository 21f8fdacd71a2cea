#pragma once
// Shared pieces of the command-line tool: output in UTF-8, exit codes, option parsing.
#include <QString>
#include <QHash>
#include <QStringList>

#include <optional>

namespace cli {

constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

void Out(const QString& text);   // stdout, UTF-8, as is
void Err(const QString& text);   // stderr, UTF-8, a line
// A question on stderr: it says nothing about a failure, so ErrLines does not count it.
void Question(const QString& text);
// How many lines Err has printed so far: a failed command that printed none gets a closing
// line saying what failed.
int ErrLines();

// A usage error: prints "usage: ..." on stderr and returns kUsage.
int Usage(const QString& text);

// Simple option scanner over the words after the command name. Options take one value
// ("--tcp HOST:PORT") unless listed as flags.
class Options {
public:
    // Returns false (after printing the usage error) on an unknown option or a missing value.
    bool Parse(const QStringList& words, const QStringList& valued, const QStringList& flags);
    bool Has(const QString& name) const { return m_values.contains(name) || m_flags.contains(name); }
    QString Value(const QString& name, const QString& fallback = QString()) const { return m_values.value(name, fallback); }
    const QStringList& Positional() const { return m_positional; }
    QString error() const { return m_error; }

private:
    QHash<QString, QString> m_values;
    QStringList m_flags;
    QStringList m_positional;
    QString m_error;
};

} // namespace cli

// Command entry points; each gets the words after the command name and returns the exit code.
int CmdNew(const QStringList& args);
int CmdDump(const QStringList& args);
int CmdIdentify(const QStringList& args);
int CmdPasswd(const QStringList& args);
int CmdRead(const QStringList& args);
int CmdWrite(const QStringList& args);
int CmdCompile(const QStringList& args);
int CmdDecode(const QStringList& args);
int CmdReport(const QStringList& args);
