#pragma once
// Runs the meter-sim program for end-to-end tests and reads where it serves.
#include <QProcess>
#include <QString>
#include <QStringList>

class MeterProcess {
public:
    ~MeterProcess();
    // Starts meter-sim with the arguments (add "--tcp 127.0.0.1:0" to get a free port).
    bool Start(const QStringList& arguments);
    quint16 TcpPort() const { return m_port; }
    QString ReadyLine() const { return m_ready; }

private:
    QProcess m_process;
    quint16 m_port = 0;
    QString m_ready;
};

// Runs a program to its end; returns the exit code and fills stdout / stderr (UTF-8).
int RunProgram(const QString& program, const QStringList& arguments, QString* out, QString* err);
