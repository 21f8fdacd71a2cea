#pragma once
// The program's one document: the configuration model, the file it came from, and the
// document's life cycle (new, open, save, the save prompt). No widgets: the file-name
// dialog and the collection of the pages come in through callbacks.
#include "model/ConfigModel.h"

#include <QObject>
#include <QString>

#include <functional>

class UserPrompt;

class CConfigDoc : public QObject {
    Q_OBJECT
public:
    explicit CConfigDoc(UserPrompt& prompt, QObject* parent = nullptr);

    ConfigModel& Model() { return m_model; }
    const ConfigModel& Model() const { return m_model; }
    const QString& PathName() const { return m_path; }
    // The file's name, or "Untitled" for a document never saved.
    QString Title() const;

    // Stores every page into the model; the page host sets it.
    void SetCollector(std::function<void()> collect) { m_collect = std::move(collect); }
    // Asks for the name to save under; an empty answer cancels. The main window sets it.
    void SetSaveAsAsker(std::function<QString(const QString& proposed)> ask) { m_askSaveAs = std::move(ask); }

    // Every default of a new configuration, no file.
    bool OnNewDocument();
    // Reads the file into a copy of the model and keeps it only when the whole load
    // succeeded; otherwise shows the report and leaves the document exactly as it was.
    bool OnOpenDocument(const QString& path);
    // Collects the pages, then writes the file (atomically). A failed save shows the report
    // and keeps the document marked as changed.
    bool OnSaveDocument(const QString& path);

    // File Save: under the document's file, or under a name asked for when it has none.
    bool DoFileSave();
    // File Save As.
    bool DoSaveAs();
    // Before the document is closed or replaced: while the model has unsaved changes asks
    // "Save changes to %1?" and saves on Yes. False when the user cancels or the save failed.
    bool SaveModified();

signals:
    // After New and a successful Open: the pages are to be loaded from the model.
    void DocumentReplaced();
    // The file the document belongs to changed (open, save under a new name, new).
    void PathChanged(const QString& path);

private:
    void SetPathName(const QString& path);

    UserPrompt& m_prompt;
    ConfigModel m_model;
    QString m_path;
    std::function<void()> m_collect;
    std::function<QString(const QString&)> m_askSaveAs;
};
