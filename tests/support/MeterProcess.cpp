#include "MeterProcess.h"

#include <QRegularExpression>

MeterProcess::~MeterProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool MeterProcess::Start(const QStringList& arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(METER_SIM_PATH), arguments);
    if (!m_process.waitForStarted(5000))
        return false;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(5000))
            return false;
    }
    m_ready = QString::fromUtf8(m_process.readLine()).trimmed();
    const auto match = QRegularExpression(QStringLiteral("tcp [0-9.]+:(\\d+)")).match(m_ready);
    if (match.hasMatch())
        m_port = quint16(match.captured(1).toUInt());
    return m_ready.startsWith(QLatin1String("meter-sim ready"));
}

int RunProgram(const QString& program, const QStringList& arguments, QString* out, QString* err)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000))
        return -1;
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
