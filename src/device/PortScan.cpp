#include "PortScan.h"

#include "SerialPort.h"

#include <QThread>

CPortScan::CPortScan(QObject* parent)
    : QObject(parent)
{
}

CPortScan::~CPortScan()
{
    // A scan still probing when the program ends is waited for: the probe holds ports open
    // only for a moment.
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool CPortScan::Start()
{
    if (m_thread)
        return false;
    const Probe probe = m_probe;
    m_thread = QThread::create([this, probe] {
        const QStringList ports = probe();
        QMetaObject::invokeMethod(this, [this, ports] {
            if (m_thread) {
                m_thread->wait();
                delete m_thread;
                m_thread = nullptr;
            }
            emit Finished(ports);
        }, Qt::QueuedConnection);
    });
    m_thread->start(QThread::LowPriority);
    return true;
}

QStringList CPortScan::OpenablePorts()
{
    QStringList ports;
    const QStringList candidates = SerialPortCandidates();
    for (const QString& name : candidates) {
        if (PortExists(name))
            ports << name;
    }
    return ports;
}

int PortEntryFor(const QStringList& list, const QString& saved)
{
    if (list.isEmpty())
        return -1;
    if (!saved.isEmpty()) {
        for (int i = 0; i < list.size(); ++i) {
            if (list[i].startsWith(saved, Qt::CaseInsensitive))
                return i;
        }
    }
    return 0;
}

int BaudEntryFor(const QStringList& list, const QString& saved)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].startsWith(saved))
            return i;
    }
    return list.isEmpty() ? -1 : 0;
}
