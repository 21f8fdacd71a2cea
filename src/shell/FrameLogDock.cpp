#include "FrameLogDock.h"

#include "common/SaveFile.h"
#include "common/UserPrompt.h"

#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QColor>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

using frametrace::FrameFacts;
using frametrace::LoggedFrame;

namespace {

const QString kTitle = QStringLiteral("Журнал обмена");
const QString kFileFilter = QStringLiteral("Журнал обмена (*.txt);;Все файлы (*)");

QString StatusText(const FrameFacts& f)
{
    if (f.sent || !f.hasHeader)
        return QString();
    const QString meaning = frametrace::StatusMeaning(f.status);
    return meaning.isEmpty() ? QString::number(f.status) : QStringLiteral("%1 (%2)").arg(f.status).arg(meaning);
}

QString CommandText(const FrameFacts& f)
{
    // A reply without a header is shown under the request it answers.
    const std::uint8_t command = f.hasHeader ? f.command : f.requestCommand;
    const std::uint8_t sub = f.hasHeader ? f.subCommand : f.requestSubCommand;
    if (!f.hasHeader && f.sent)
        return QString();
    return frametrace::CommandCode(command, sub) + QLatin1Char(' ') + frametrace::CommandMeaning(command, sub);
}

} // namespace

CFrameLogModel::CFrameLogModel(int capacity, QObject* parent)
    : QAbstractTableModel(parent)
    , m_log(capacity)
{
}

void CFrameLogModel::OnFrame(const FrameEvent& event)
{
    if (m_log.Full()) {
        beginRemoveRows({}, 0, 0);
        m_log.DropOldest();
        endRemoveRows();
    }
    const int row = m_log.Size();
    beginInsertRows({}, row, row);
    m_log.Append(event);
    endInsertRows();
}

int CFrameLogModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_log.Size(); }

int CFrameLogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CFrameLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_log.Size())
        return {};
    const LoggedFrame& frame = m_log.At(index.row());
    const FrameFacts& f = frame.facts;
    if (role == Qt::BackgroundRole && f.Flagged())
        return QBrush(QColor(255, 221, 221));
    if (role == Qt::TextAlignmentRole && (index.column() == Time || index.column() == Length))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Time:
        return QString::number(frame.seconds, 'f', 3);
    case Direction:
        return f.sent ? QStringLiteral("передача") : QStringLiteral("приём");
    case Command:
        return CommandText(f);
    case Status:
        return StatusText(f);
    case Length:
        return f.size;
    case Bytes:
        return frametrace::HexPairs(frame.event.bytes);
    case Findings:
        return frametrace::Findings(f).join(QStringLiteral("; "));
    default:
        return {};
    }
}

QVariant CFrameLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char16_t* const kHeads[ColumnCount]
        = {u"Время, с", u"Направление", u"Команда", u"Статус", u"Длина", u"Байты", u"Замечания"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf16(kHeads[section]) : QVariant();
}

CFrameLogDock::CFrameLogDock(UserPrompt& prompt, QWidget* parent, int capacity)
    : QDockWidget(kTitle, parent)
    , m_prompt(prompt)
    , m_model(capacity)
{
    setObjectName(QStringLiteral("frameLogDock"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Копировать"), body);
    copy->setObjectName(QStringLiteral("frameLogCopy"));
    auto* save = new QPushButton(QStringLiteral("Сохранить..."), body);
    save->setObjectName(QStringLiteral("frameLogSave"));
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addStretch();
    layout->addLayout(buttons);

    m_table = new QTableView(body);
    m_table->setObjectName(QStringLiteral("frameLogTable"));
    m_table->setAccessibleName(kTitle);
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(CFrameLogModel::Time, 70);
    m_table->setColumnWidth(CFrameLogModel::Direction, 90);
    m_table->setColumnWidth(CFrameLogModel::Command, 300);
    m_table->setColumnWidth(CFrameLogModel::Status, 150);
    m_table->setColumnWidth(CFrameLogModel::Length, 60);
    m_table->setColumnWidth(CFrameLogModel::Bytes, 320);
    layout->addWidget(m_table);
    setWidget(body);

    // New frames come into view while the newest one is showing.
    connect(&m_model, &QAbstractItemModel::rowsInserted, m_table, [this] {
        if (isVisible())
            m_table->scrollToBottom();
    });
    connect(copy, &QPushButton::clicked, this, &CFrameLogDock::OnCopy);
    connect(save, &QPushButton::clicked, this, &CFrameLogDock::OnSave);
    m_askSave = [this] { return QFileDialog::getSaveFileName(this, QString(), QString(), kFileFilter); };
}

QString CFrameLogDock::SelectedText() const
{
    const frametrace::FrameLog& log = m_model.Log();
    std::set<int> rows;
    if (m_table->selectionModel()) {
        const QModelIndexList selected = m_table->selectionModel()->selectedRows();
        for (const QModelIndex& index : selected)
            rows.insert(index.row());
    }
    if (rows.empty())
        return log.Lines(0, log.Size() - 1);
    QString text;
    for (int row : rows)
        text += log.Lines(row, row);
    return text;
}

void CFrameLogDock::OnCopy() { QApplication::clipboard()->setText(SelectedText()); }

void CFrameLogDock::OnSave()
{
    const QString path = m_askSave ? m_askSave() : QString();
    if (!path.isEmpty())
        SaveTo(path);
}

bool CFrameLogDock::SaveTo(const QString& path)
{
    const frametrace::FrameLog& log = m_model.Log();
    QString error;
    if (SaveFileBytes(path, log.Lines(0, log.Size() - 1).toUtf8(), &error))
        return true;
    m_prompt.Error(QStringLiteral("Не удалось сохранить журнал обмена.\n") + error);
    return false;
}
