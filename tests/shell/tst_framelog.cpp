// "Журнал обмена": the dock behind "Вид" sees every frame of the main window's engine, one
// row each with its meaning and findings, keeps the last frames only, and copies and saves
// them as trace lines.
#include "MemoryLink.h"
#include "ScriptedPrompt.h"
#include "device/Frame.h"
#include "device/ProcessCommand.h"
#include "shell/ConfigView.h"
#include "shell/FrameLogDock.h"
#include "shell/MainFrame.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenuBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

FrameEvent Sent(std::uint8_t command, std::uint8_t subCommand)
{
    FrameEvent e;
    e.time = std::chrono::steady_clock::now();
    e.bytes = frame::BuildRequest(command, subCommand, 1, frame::kKindOther);
    return e;
}

FrameEvent Reply(const FrameEvent& request, int status, QByteArrayView data, bool damage)
{
    frame::Header h;
    frame::ParseHeader(request.bytes, &h);
    h.length = std::uint16_t(data.size());
    h.status = std::uint16_t(status);
    FrameEvent e;
    e.direction = FrameEvent::Direction::Received;
    e.time = request.time;
    e.bytes = frame::Build(h, data);
    if (damage)
        e.bytes[frame::kHeaderSize] = char(e.bytes[frame::kHeaderSize] ^ 0x10);
    e.request = request.bytes;
    e.awaited = int(e.bytes.size());
    return e;
}

QStringList Row(const QAbstractItemModel& model, int row)
{
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.index(row, c).data().toString();
    return cells;
}

QAction* MenuAction(QMenuBar* bar, const QString& menu, const QString& text)
{
    for (QAction* top : bar->actions()) {
        if (top->text() != menu || !top->menu())
            continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->text() == text)
                return a;
        }
    }
    return nullptr;
}

} // namespace

class FrameLogTest : public QObject {
    Q_OBJECT
private slots:
    void viewMenuShowsTheEnginesFrames()
    {
        ScriptedPrompt prompt;
        CMainFrame::Options options;
        options.prompt = &prompt;
        QTemporaryDir dir;
        options.settingsPath = dir.filePath(QStringLiteral("Ладограф.ini"));
        options.recentFiles = false;
        CMainFrame frame(options);
        CFrameLogDock& dock = frame.FrameLog();
        QVERIFY(!dock.isVisibleTo(&frame));
        QCOMPARE(dock.Model().Log().Capacity(), 10000);
        QAction* show = MenuAction(frame.menuBar(), QStringLiteral("Вид"), QStringLiteral("Журнал обмена"));
        QVERIFY(show);
        show->trigger();
        QVERIFY(dock.isVisibleTo(&frame));

        MeterSim meter;
        MemoryLink link(meter);
        CProcessCommand& engine = frame.View().Processor();
        engine.SetTransport(&link);
        engine.SetPauseFunction([](int) {});
        engine.SetPortName(QStringLiteral("COM1"));
        engine.SetDeviceAddress(1);
        QVERIFY(engine.TestLink());
        const QAbstractItemModel& model = dock.Model();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(Row(model, 0).mid(1, 5), QStringList({"передача", "00/00 проверка связи", "", "25",
                                                       "00 00 00 00 00 00 00 00 01 00 08 00 01 01 00 00 00 01 01 01 01 00 "
                                                       "00 00 c9"}));
        QCOMPARE(Row(model, 1).mid(1, 4), QStringList({"приём", "00/00 проверка связи", "0 (выполнено)", "25"}));
        QCOMPARE(Row(model, 1).last(), QString());
    }

    void rowsNameWhatIsWrong()
    {
        ScriptedPrompt prompt;
        CFrameLogDock dock(prompt);
        FrameObserver& observer = dock.Observer();
        const FrameEvent read = Sent(0x10, 0x01);
        observer.OnFrame(read);
        const FrameEvent damaged = Reply(read, 0, "\x01\x02", true);
        observer.OnFrame(damaged);
        FrameEvent cut = Reply(read, 0, "\x01\x02", false);
        cut.bytes.truncate(10);
        cut.awaited = 27;
        observer.OnFrame(cut);
        const QAbstractItemModel& model = dock.Model();
        QCOMPARE(Row(model, 1).mid(1),
                 QStringList({"приём", "10/01 чтение: группы параметров", "0 (выполнено)", "27",
                              frametrace::HexPairs(damaged.bytes), "контрольная сумма не совпадает"}));
        // Cut inside the header: shown under the request it answers.
        QCOMPARE(Row(model, 2).mid(1, 4), QStringList({"приём", "10/01 чтение: группы параметров", "", "10"}));
        QCOMPARE(Row(model, 2).last(), QStringLiteral("короткий ответ: 10 из 27 байт"));
        QVERIFY(!model.index(0, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(model.index(1, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(model.index(2, 0).data(Qt::BackgroundRole).isValid());
    }

    void keepsTheLastFrames()
    {
        ScriptedPrompt prompt;
        CFrameLogDock dock(prompt, nullptr, 3);
        for (int sub = 1; sub <= 5; ++sub)
            dock.Observer().OnFrame(Sent(0x09, std::uint8_t(sub)));
        QCOMPARE(dock.Model().rowCount(), 3);
        QCOMPARE(dock.Model().index(0, CFrameLogModel::Command).data().toString(),
                 QStringLiteral("09/03 чтение: уставки, частота"));
        QCOMPARE(dock.Model().index(2, CFrameLogModel::Command).data().toString(),
                 QStringLiteral("09/05 чтение: уставки, гармоники"));
    }

    void copyAndSaveTraceLines()
    {
        ScriptedPrompt prompt;
        CFrameLogDock dock(prompt);
        const FrameEvent read = Sent(0x0B, 0x01);
        dock.Observer().OnFrame(read);
        dock.Observer().OnFrame(Reply(read, 7, {}, false));
        const QString all = dock.Model().Log().Lines(0, 1);
        QCOMPARE(all.count(QLatin1Char('\n')), 2);
        QVERIFY(all.contains(QStringLiteral(" RX ")));

        dock.OnCopy();
        QCOMPARE(QGuiApplication::clipboard()->text(), all);
        dock.Table()->selectionModel()->select(dock.Model().index(1, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        dock.OnCopy();
        QCOMPARE(QGuiApplication::clipboard()->text(), dock.Model().Log().Lines(1, 1));
        QVERIFY(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("статус 7 (прибор занят)\n")));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("журнал.txt"));
        dock.SetSaveAsker([&path] { return path; });
        dock.OnSave();
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()), all);

        // Cancelled, nothing happens; a folder that is not there is reported.
        dock.SetSaveAsker([] { return QString(); });
        dock.OnSave();
        QVERIFY(prompt.texts().isEmpty());
        QVERIFY(!dock.SaveTo(dir.filePath(QStringLiteral("нет/такой/папки.txt"))));
        QCOMPARE(prompt.kinds(), QStringList{QStringLiteral("error")});
        QVERIFY(prompt.texts().first().startsWith(QStringLiteral("Не удалось сохранить журнал обмена.\n")));
    }
};

QTEST_MAIN(FrameLogTest)
#include "tst_framelog.moc"
