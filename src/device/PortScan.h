#pragma once
// The port scan: probes every serial port of the machine on a worker thread and reports the
// ones that can be opened right now. Only the list is computed on the worker; whoever
// listens to Finished changes its controls on the user-interface thread.
#include <QObject>
#include <QStringList>

class QThread;

class CPortScan final : public QObject {
    Q_OBJECT
public:
    explicit CPortScan(QObject* parent = nullptr);
    ~CPortScan() override;

    // Starts a scan unless one is running; returns false when one is.
    bool Start();
    bool IsRunning() const { return m_thread != nullptr; }

    // Lets tests and the command line replace the machine's ports. The function runs on the
    // worker thread.
    using Probe = QStringList (*)();
    void SetProbe(Probe probe) { m_probe = probe; }

    // The machine's openable serial ports, in the order the lists show them.
    static QStringList OpenablePorts();

signals:
    void Finished(const QStringList& ports);

private:
    QThread* m_thread = nullptr;
    Probe m_probe = &CPortScan::OpenablePorts;
};

// The entry of list to select for a saved port name: the first entry that begins with it
// (letter case ignored), else the first entry; -1 for an empty list.
int PortEntryFor(const QStringList& list, const QString& saved);

// The entry of a baud-rate list to select for a saved rate: the first entry that begins
// with it, else the first entry.
int BaudEntryFor(const QStringList& list, const QString& saved);
