#pragma once
// A pseudo-terminal for the virtual meter (POSIX only; the one platform file of the meter).
// The meter reads and writes the master side; a program under test opens the slave side
// as if it were a serial port, through a symbolic link at a path of the caller's choice.
#include <QString>

class Pty {
public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Creates the terminal in raw mode and links linkPath to its slave device.
    bool Create(const QString& linkPath, QString* error);
    int MasterFd() const { return m_master; }
    QString SlavePath() const { return m_slavePath; }

    // Non-blocking read and write on the master side; -1 on error.
    long ReadSome(char* buffer, long count);
    long WriteAll(const char* buffer, long count);

private:
    int m_master = -1;
    int m_slaveHold = -1;  // kept open so the master never sees a hang-up between exchanges
    QString m_slavePath;
    QString m_linkPath;
};
