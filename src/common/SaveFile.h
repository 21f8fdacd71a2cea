#pragma once
// How every writer of the program saves a file (configurations, control code, reports,
// transcripts, exchange logs).
//
// A regular file, or a path where nothing exists yet, is replaced atomically: the bytes go
// to a temporary file beside it that takes the name only when everything was written, so a
// failed save leaves the previous file intact. Anything else at the path (a device, a FIFO,
// a terminal) is written into directly: renaming a file over it would destroy it, and as
// root that could be /dev/null. A symbolic link is followed: its target is saved and the
// link keeps pointing where it did.
#include <QByteArrayView>
#include <QString>

#include <memory>

class QFile;
class QIODevice;
class QSaveFile;

class FileSave {
public:
    explicit FileSave(const QString& path);
    ~FileSave();  // an atomic save that was not committed is discarded
    FileSave(const FileSave&) = delete;
    FileSave& operator=(const FileSave&) = delete;

    // Opens the destination for writing; false with ErrorString() when it cannot be.
    bool Open();
    // Where the bytes go; valid between a successful Open and Commit.
    QIODevice* Device() const;
    // Finishes the save: everything written reaches the destination, and an atomic save
    // replaces the previous file only now. False with ErrorString() when anything failed.
    bool Commit();
    QString ErrorString() const { return m_error; }
    // True when the destination is written in place (not a regular file).
    bool IsDirect() const { return m_direct != nullptr; }

private:
    bool Fail(const QString& text);

    QString m_path;
    QString m_error;
    std::unique_ptr<QSaveFile> m_atomic;
    std::unique_ptr<QFile> m_direct;
};

// Saves bytes to path as above. On failure *error (when given) gets the reason.
bool SaveFileBytes(const QString& path, QByteArrayView bytes, QString* error);
