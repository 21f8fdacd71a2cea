#include "TermDictionary.h"

#include "common/Cp1251.h"
#include "common/UserPrompt.h"
#include "rules/RulesMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <atomic>

namespace {

QString Fold(QByteArrayView word)
{
    return cp1251::Decode(word).toLower();
}

QString ErrorText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// Only a database can be opened. SQLite itself accepts any file at open and fails at the first
// query, and takes an empty file for an empty database; neither is a dictionary to open.
bool IsDatabaseFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16);
}

quint8 ByteAt(const QSqlQuery& query, int column)
{
    return column < 0 ? 0 : quint8(query.value(column).toUInt());
}

QByteArray TextAt(const QSqlQuery& query, int column)
{
    return column < 0 ? QByteArray() : cp1251::Encode(query.value(column).toString());
}

} // namespace

bool TermDictionary::Load(const QString& path, UserPrompt& prompt)
{
    Clear();
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    // SQLite would happily create a missing file; the dictionary is only ever read.
    if (!QFileInfo(fullPath).isFile() || !IsDatabaseFile(fullPath)) {
        prompt.Notice(msg::DictionaryNotFound(QDir::toNativeSeparators(fullPath)));
        return false;
    }

    static std::atomic<int> connectionCount{0};
    const QString connection = QStringLiteral("ladograf-dictionary-%1").arg(++connectionCount);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(fullPath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            prompt.Notice(msg::DictionaryNotFound(QDir::toNativeSeparators(fullPath)));
            ok = false;
        } else {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!query.exec(QStringLiteral("SELECT * FROM Alphavit ORDER BY Number ASC"))) {
                prompt.Notice(ErrorText(query.lastError()));
                ok = false;
            } else {
                const QSqlRecord record = query.record();
                const int name = record.indexOf(QStringLiteral("Name"));
                const int value1 = record.indexOf(QStringLiteral("Value1"));
                const int value2 = record.indexOf(QStringLiteral("Value2"));
                const int type = record.indexOf(QStringLiteral("Type"));
                const int faza = record.indexOf(QStringLiteral("Faza"));
                while (query.next())
                    Append(TextAt(query, value1), TextAt(query, name),
                           ByteAt(query, type), ByteAt(query, value2), ByteAt(query, faza));
                if (query.lastError().isValid()) {
                    prompt.Notice(ErrorText(query.lastError()));
                    ok = false;
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

QStringList TermDictionary::SearchPaths()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString file = QStringLiteral("Data/pke.dat");
    QStringList paths = {
        appDir + QLatin1Char('/') + file,
        // Programs in the build tree live two levels below the tree's Data folder.
        QDir::cleanPath(appDir + QStringLiteral("/../../") + file),
        QDir::cleanPath(appDir + QStringLiteral("/../share/ladograf/") + file),
    };
#ifdef LADOGRAF_INSTALL_DATADIR
    paths << QStringLiteral(LADOGRAF_INSTALL_DATADIR "/") + file;
#endif
    return paths;
}

QString TermDictionary::DefaultPath()
{
    const QStringList paths = SearchPaths();
    for (const QString& path : paths) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return paths.first();
}

void TermDictionary::Append(const QByteArray& designation, const QByteArray& name,
                            quint8 type, quint8 value2, quint8 faza)
{
    m_terms.append(Term{designation, name, quint32(type) | quint32(value2) << 8 | quint32(faza) << 16});
    m_folded.append(Fold(designation));
}

int TermDictionary::FindTerm(QByteArrayView word) const
{
    const QString folded = Fold(word);
    const auto it = std::find(m_folded.cbegin(), m_folded.cend(), folded);
    return it == m_folded.cend() ? kNone : int(it - m_folded.cbegin());
}

quint32 TermDictionary::KeyOf(int index) const
{
    return index >= 0 && index < size() ? m_terms.at(index).key : 0;
}

int TermDictionary::FindByCode(quint8 type, quint16 operand) const
{
    const quint32 key = quint32(type) | quint32(operand) << 8;
    for (int i = 0; i < size(); ++i) {
        if (m_terms.at(i).key == key)
            return i;
    }
    return kNone;
}

QByteArray TermDictionary::DesignationOf(int index) const
{
    return index >= 0 && index < size() ? m_terms.at(index).designation : QByteArray();
}
