// Saving over whatever the path names: a regular file, a symbolic link, a FIFO, a device.
#include "common/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include "Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace {

// Bytes a text-mode or line-mode path would change.
const QByteArray kPayload = QByteArray("config\r\n\0\xFF\x1A\n", 12) + QByteArray(3000, 'x');

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

#ifdef Q_OS_UNIX
mode_t TypeOf(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & S_IFMT;
}

// Reads what arrived on fd until count bytes are there or nothing comes for a while (a
// guard against a hang, not a measurement).
QByteArray ReadFd(int fd, int count)
{
    QByteArray got;
    char buffer[4096];
    while (got.size() < count) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0)
            break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, n);
    }
    return got;
}
#endif

} // namespace

class TestSaveFile : public QObject {
    Q_OBJECT

private slots:
    void regularFilesAndLinks_data();
    void regularFilesAndLinks();
    void linkLoopIsRefused();
    void fifoIsWrittenInto_data();
    void fifoIsWrittenInto();
    void characterDeviceIsWrittenInto_data();
    void characterDeviceIsWrittenInto();
    void deviceThatRefusesIsReported();
};

void TestSaveFile::regularFilesAndLinks_data()
{
    // What exists before the save: "file" holds old bytes; links are made in the order given
    // as NAME>TARGET. The save goes to "save"; "file" must end up with the new bytes.
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QStringList>("links");
    QTest::newRow("no file yet") << false << QStringList{QStringLiteral("save>file")};
    QTest::newRow("a regular file") << true << QStringList{};
    QTest::newRow("link to a file") << true << QStringList{QStringLiteral("save>file")};
    QTest::newRow("link to a link to a file")
        << true << QStringList{QStringLiteral("middle>file"), QStringLiteral("save>middle")};
    QTest::newRow("dangling link") << false << QStringList{QStringLiteral("save>file")};
    QTest::newRow("link into a subfolder") << true << QStringList{QStringLiteral("save>sub/../file")};
}

void TestSaveFile::regularFilesAndLinks()
{
    QFETCH(bool, fileExists);
    QFETCH(QStringList, links);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString file = dir.filePath(QStringLiteral("file"));
    if (fileExists)
        QVERIFY(WriteFile(file, "old bytes"));
    for (const QString& link : std::as_const(links)) {
        const QStringList parts = link.split(QLatin1Char('>'));
        QVERIFY(QFile::link(parts[1], dir.filePath(parts[0])));  // relative, as ln -s makes them
    }
    const QString save = links.isEmpty() ? file : dir.filePath(QStringLiteral("save"));

    QString error;
    QVERIFY2(SaveFileBytes(save, kPayload, &error), qPrintable(error));

    QCOMPARE(ReadAll(file), kPayload);
    QVERIFY(QFileInfo(file).isFile());
    QVERIFY(!QFileInfo(file).isSymLink());
    // Every link still points where it did.
    for (const QString& link : std::as_const(links)) {
        const QStringList parts = link.split(QLatin1Char('>'));
        const QFileInfo info(dir.filePath(parts[0]));
        QVERIFY2(info.isSymLink(), qPrintable(parts[0]));
        QCOMPARE(QFileInfo(info.symLinkTarget()).canonicalFilePath(), QFileInfo(dir.filePath(parts[1])).canonicalFilePath());
    }
    // No temporary file is left behind.
    QStringList expected{QStringLiteral("file")};
    for (const QString& link : std::as_const(links))
        expected << link.section(QLatin1Char('>'), 0, 0);
    expected.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System), expected);
}

void TestSaveFile::linkLoopIsRefused()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString a = dir.filePath(QStringLiteral("a"));
    QVERIFY(QFile::link(QStringLiteral("b"), a));
    QVERIFY(QFile::link(QStringLiteral("a"), dir.filePath(QStringLiteral("b"))));
    QString error;
    QVERIFY(!SaveFileBytes(a, kPayload, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(a).isSymLink());
    QCOMPARE(QFileInfo(a).symLinkTarget(), dir.filePath(QStringLiteral("b")));
}

void TestSaveFile::fifoIsWrittenInto_data()
{
    QTest::addColumn<bool>("named");
    QTest::newRow("a FIFO") << true;
    // What /dev/stdout is when the output goes into a pipe: a link only the system follows.
    QTest::newRow("a pipe through /proc/self/fd") << false;
}

void TestSaveFile::fifoIsWrittenInto()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, named);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path;
    int reader = -1;
    int writer = -1;
    if (named) {
        path = dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        // The read end is open first, so the save neither waits for a reader nor (being
        // smaller than the pipe's buffer) for the bytes to be read.
        reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
    } else {
        if (!QFileInfo::exists(QStringLiteral("/proc/self/fd")))
            QSKIP("this system has no /proc/self/fd");
        int ends[2];
        QCOMPARE(::pipe(ends), 0);
        reader = ends[0];
        writer = ends[1];
        path = QStringLiteral("/proc/self/fd/%1").arg(writer);
    }

    QString error;
    const bool saved = SaveFileBytes(path, kPayload, &error);
    if (writer >= 0)
        ::close(writer);  // the save's own descriptor is closed already: the reader sees the end
    const QByteArray got = ReadFd(reader, int(kPayload.size()));
    ::close(reader);

    QVERIFY2(saved, qPrintable(error));
    QCOMPARE(got, kPayload);
    if (named) {
        QCOMPARE(TypeOf(path), mode_t(S_IFIFO));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("pipe")});
    }
#else
    QSKIP("FIFOs are a POSIX matter");
#endif
}

void TestSaveFile::characterDeviceIsWrittenInto_data()
{
    // A terminal shows that the bytes arrive; a node of our own (a terminal cannot be opened
    // through a node outside its own file system) shows that the node survives.
    QTest::addColumn<bool>("ownNode");
    QTest::newRow("a link to a terminal") << false;
    QTest::newRow("a null device node of our own") << true;
}

void TestSaveFile::characterDeviceIsWrittenInto()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, ownNode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    if (ownNode) {
        if (::geteuid() != 0)
            QSKIP("making a device node needs root; run the test as root to cover it");
        const QString node = dir.filePath(QStringLiteral("null"));
        QCOMPARE(::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0600, makedev(1, 3)), 0);
        if (!QFile(node).open(QIODevice::WriteOnly | QIODevice::ExistingOnly))
            QSKIP("the temporary folder's file system does not open device nodes");
        QVERIFY2(SaveFileBytes(node, kPayload, &error), qPrintable(error));
        QCOMPARE(TypeOf(node), mode_t(S_IFCHR));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("null")});
        return;
    }
    // A raw pseudo-terminal: what goes into its slave side comes out of the master unchanged.
    Pty pty;
    const QString link = dir.filePath(QStringLiteral("tty"));
    QVERIFY2(pty.Create(link, &error), qPrintable(error));
    const bool saved = SaveFileBytes(link, kPayload, &error);
    const QByteArray got = ReadFd(pty.MasterFd(), int(kPayload.size()));
    QVERIFY2(saved, qPrintable(error));
    QCOMPARE(got, kPayload);
    QCOMPARE(TypeOf(link), mode_t(S_IFLNK));
    QCOMPARE(QFileInfo(link).symLinkTarget(), pty.SlavePath());
    QCOMPARE(TypeOf(pty.SlavePath()), mode_t(S_IFCHR));
#else
    QSKIP("device nodes are a POSIX matter");
#endif
}

void TestSaveFile::deviceThatRefusesIsReported()
{
#ifdef Q_OS_UNIX
    // A full device takes no byte: the save fails and says why (so the bytes went into the
    // device, not into a file beside it), and the node stays a node. Without root the
    // system's own /dev/full serves, which a non-root save could not replace anyway.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = QStringLiteral("/dev/full");
    if (::geteuid() == 0) {
        path = dir.filePath(QStringLiteral("full"));
        QCOMPARE(::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 7)), 0);
        if (!QFile(path).open(QIODevice::WriteOnly | QIODevice::ExistingOnly))
            QSKIP("the temporary folder's file system does not open device nodes");
    } else if (TypeOf(path) != S_IFCHR) {
        QSKIP("this system has no /dev/full");
    }
    QString error;
    QVERIFY(!SaveFileBytes(path, kPayload, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(TypeOf(path), mode_t(S_IFCHR));
#else
    QSKIP("device nodes are a POSIX matter");
#endif
}

QTEST_GUILESS_MAIN(TestSaveFile)
#include "tst_savefile.moc"
