#include "SaveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Deeper than any sensible chain: a loop of links ends the search.
constexpr int kMaxLinkDepth = 40;

// The path a save really writes: symbolic links followed to their last target (which need
// not exist yet). Empty when the links go round in a loop.
QString FollowLinks(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink(); ++depth) {
        if (depth == kMaxLinkDepth)
            return QString();
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

} // namespace

FileSave::FileSave(const QString& path)
    : m_path(path)
{
}

FileSave::~FileSave() = default;

bool FileSave::Fail(const QString& text)
{
    m_error = text;
    m_atomic.reset();
    m_direct.reset();
    return false;
}

bool FileSave::Open()
{
    m_error.clear();
    // What the path names, links followed by the system (QFileInfo follows them too).
    const QFileInfo info(m_path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        // No temporary file and no truncation: a device or a FIFO only takes the bytes.
        // Opened by the path as given, so that links only the system can follow (such as
        // /dev/stdout onto a pipe) still lead there. Unbuffered, so a device that refuses
        // the bytes (a full one) says so at the write.
        m_direct = std::make_unique<QFile>(m_path);
        if (!m_direct->open(QIODevice::WriteOnly | QIODevice::ExistingOnly | QIODevice::Unbuffered))
            return Fail(m_direct->errorString());
        return true;
    }
    const QString target = FollowLinks(m_path);
    if (target.isEmpty())
        return Fail(QStringLiteral("Too many levels of symbolic links"));
    m_atomic = std::make_unique<QSaveFile>(target);
    if (!m_atomic->open(QIODevice::WriteOnly))
        return Fail(m_atomic->errorString());
    return true;
}

QIODevice* FileSave::Device() const
{
    if (m_atomic)
        return m_atomic.get();
    return m_direct.get();
}

bool FileSave::Commit()
{
    if (m_direct) {
        // A write the device refused has set the error already; close() reports the rest.
        if (m_direct->error() == QFileDevice::NoError)
            m_direct->close();
        if (m_direct->error() != QFileDevice::NoError)
            return Fail(m_direct->errorString());
        m_direct.reset();
        return true;
    }
    if (!m_atomic)
        return Fail(m_error.isEmpty() ? QStringLiteral("The file is not open") : m_error);
    // The explicit flush matters: a write that fails only when commit() empties the buffer
    // (a full disk) could otherwise go unnoticed and the cut temporary file would replace
    // the previous one. A write error earlier makes commit() discard the temporary file.
    if (!m_atomic->flush() || !m_atomic->commit())
        return Fail(m_atomic->errorString());
    m_atomic.reset();
    return true;
}

bool SaveFileBytes(const QString& path, QByteArrayView bytes, QString* error)
{
    FileSave save(path);
    bool saved = save.Open();
    if (saved) {
        const qint64 written = save.Device()->write(bytes.data(), bytes.size());
        saved = written == bytes.size() && save.Commit();
    }
    if (!saved && error)
        *error = save.ErrorString().isEmpty() ? save.Device()->errorString() : save.ErrorString();
    return saved;
}
