#include "ConfigDoc.h"

#include "common/UserPrompt.h"
#include "model/ConfigFile.h"
#include "model/ModelChanged.h"

#include <QFileInfo>

namespace {

const QString kUntitled = QStringLiteral("Untitled");
const QString kSaveFailed = QStringLiteral("Failed to save document.");

} // namespace

CConfigDoc::CConfigDoc(UserPrompt& prompt, QObject* parent)
    : QObject(parent)
    , m_prompt(prompt)
{
}

QString CConfigDoc::Title() const
{
    return m_path.isEmpty() ? kUntitled : QFileInfo(m_path).fileName();
}

void CConfigDoc::SetPathName(const QString& path)
{
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    emit PathChanged(m_path);
}

bool CConfigDoc::OnNewDocument()
{
    SetPathName(QString());
    ApplyNewDocumentDefaults(m_model);
    emit DocumentReplaced();
    return true;
}

bool CConfigDoc::OnOpenDocument(const QString& path)
{
    ConfigModel loaded = m_model;
    QString error;
    if (!LoadConfigFile(path, loaded, m_prompt, &error)) {
        m_prompt.Notice(error.isEmpty() ? UnexpectedFileFormatText() : error);
        return false;
    }
    m_model = loaded;
    SetPathName(path);
    emit DocumentReplaced();
    return true;
}

bool CConfigDoc::OnSaveDocument(const QString& path)
{
    if (m_collect)
        m_collect();
    modelChanged().Clear();
    QString error;
    if (!SaveConfigFile(path, m_model, &error)) {
        // The file on disk is not what the model holds: the next close must still ask.
        modelChanged().Set();
        m_prompt.Notice(error.isEmpty() ? kSaveFailed : error);
        return false;
    }
    return true;
}

bool CConfigDoc::DoSaveAs()
{
    const QString proposed = m_path.isEmpty() ? QStringLiteral("Config.cfg") : m_path;
    const QString path = m_askSaveAs ? m_askSaveAs(proposed) : QString();
    if (path.isEmpty())
        return false;
    if (!OnSaveDocument(path))
        return false;
    SetPathName(path);
    return true;
}

bool CConfigDoc::DoFileSave()
{
    if (m_path.isEmpty())
        return DoSaveAs();
    return OnSaveDocument(m_path);
}

bool CConfigDoc::SaveModified()
{
    if (!modelChanged().IsSet())
        return true;
    const QString name = m_path.isEmpty() ? kUntitled : m_path;
    switch (m_prompt.AskYesNoCancel(QStringLiteral("Save changes to %1?").arg(name), QuestionIcon::Warning)) {
    case YesNoCancel::Cancel:
        return false;
    case YesNoCancel::No:
        return true;
    case YesNoCancel::Yes:
        break;
    }
    return DoFileSave();
}
