#pragma once
// "Журнал обмена": a dock with one row per frame the engine sent or received during this run
// (the last 10 000), with what it is and what is wrong with it, to copy or save as trace
// lines.
#include "device/FrameTrace.h"

#include <QAbstractTableModel>
#include <QDockWidget>

#include <functional>

class QTableView;
class UserPrompt;

class CFrameLogModel final : public QAbstractTableModel, public FrameObserver {
public:
    enum Column { Time, Direction, Command, Status, Length, Bytes, Findings, ColumnCount };

    explicit CFrameLogModel(int capacity = frametrace::FrameLog::kDefaultCapacity, QObject* parent = nullptr);

    void OnFrame(const FrameEvent& event) override;
    const frametrace::FrameLog& Log() const { return m_log; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    frametrace::FrameLog m_log;
};

class CFrameLogDock final : public QDockWidget {
    Q_OBJECT
public:
    explicit CFrameLogDock(UserPrompt& prompt, QWidget* parent = nullptr,
                           int capacity = frametrace::FrameLog::kDefaultCapacity);

    FrameObserver& Observer() { return m_model; }
    CFrameLogModel& Model() { return m_model; }
    QTableView* Table() const { return m_table; }

    // The trace lines of the selected rows, or of every row when none is selected.
    QString SelectedText() const;
    // "Копировать": those lines to the clipboard.
    void OnCopy();
    // "Сохранить...": every row to a file chosen by the asker (an empty answer cancels).
    void OnSave();
    bool SaveTo(const QString& path);
    void SetSaveAsker(std::function<QString()> ask) { m_askSave = std::move(ask); }

private:
    UserPrompt& m_prompt;
    CFrameLogModel m_model;
    QTableView* m_table = nullptr;
    std::function<QString()> m_askSave;
};
