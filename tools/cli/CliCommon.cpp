#include "CliCommon.h"

#include <QHash>

#include <cstdio>

namespace cli {

void Out(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

namespace {

int g_errLines = 0;

void ErrorStream(const QString& line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

int ErrLines() { return g_errLines; }

void Question(const QString& text) { ErrorStream(text); }

void Err(const QString& text)
{
    ++g_errLines;
    ErrorStream(text);
}

int Usage(const QString& text)
{
    Err(QStringLiteral("usage: ") + text);
    return kUsage;
}

bool Options::Parse(const QStringList& words, const QStringList& valued, const QStringList& flags)
{
    for (int i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        if (w.startsWith(QLatin1String("--"))) {
            if (flags.contains(w)) {
                m_flags << w;
            } else if (valued.contains(w)) {
                if (i + 1 >= words.size()) {
                    m_error = QStringLiteral("option %1 needs a value").arg(w);
                    return false;
                }
                m_values.insert(w, words[++i]);
            } else {
                m_error = QStringLiteral("unknown option %1").arg(w);
                return false;
            }
        } else {
            m_positional << w;
        }
    }
    return true;
}

} // namespace cli
