#include "Pty.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

Pty::~Pty()
{
    if (m_slaveHold >= 0)
        ::close(m_slaveHold);
    if (m_master >= 0)
        ::close(m_master);
    if (!m_linkPath.isEmpty())
        QFile::remove(m_linkPath);
}

bool Pty::Create(const QString& linkPath, QString* error)
{
    auto fail = [error](const char* what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail("grantpt");
    const char* name = ::ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);
    m_slaveHold = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slaveHold < 0)
        return fail("open slave");
    termios tio {};
    if (::tcgetattr(m_slaveHold, &tio) != 0)
        return fail("tcgetattr");
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B115200);
    ::cfsetospeed(&tio, B115200);
    if (::tcsetattr(m_slaveHold, TCSANOW, &tio) != 0)
        return fail("tcsetattr");
    const int flags = ::fcntl(m_master, F_GETFL);
    ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
        if (!QFile::link(m_slavePath, linkPath)) {
            if (error)
                *error = QStringLiteral("cannot link %1 to %2").arg(linkPath, m_slavePath);
            return false;
        }
        m_linkPath = linkPath;
    }
    return true;
}

long Pty::ReadSome(char* buffer, long count)
{
    const ssize_t n = ::read(m_master, buffer, size_t(count));
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EIO))
        return 0;
    return long(n);
}

long Pty::WriteAll(const char* buffer, long count)
{
    long done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_master, buffer + done, size_t(count - done));
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                ::usleep(1000);
                continue;
            }
            return -1;
        }
        done += long(n);
    }
    return done;
}
