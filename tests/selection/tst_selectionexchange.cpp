// The groups, archive-selection and deviation-limit blocks against the in-process meter:
// whole blocks byte for byte in both directions, and a short reply that changes nothing.
#include "ExchangeBench.h"
#include "device/DeviceMessages.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "selection/SelectionExchange.h"

#include <QTest>

namespace {

struct Page {
    int command;
    int size;
    SelectionBlockId id;
    QByteArray (*section)(const ConfigModel&);

    bool read(const LinkSettings& s, CProcessCommand& e, ConfigModel& m, ProgressSink& p, UserPrompt& u,
              const PageHooks& h) const
    {
        return ReadSelection(id, s, e, m, p, u, h);
    }
    bool write(const LinkSettings& s, CProcessCommand& e, ConfigModel& m, ProgressSink& p, UserPrompt& u,
               const PageHooks& h) const
    {
        return WriteSelection(id, s, e, m, p, u, h);
    }
};

QByteArray GroupsSection(const ConfigModel& m) { return GroupsToBytes(m.groups); }
QByteArray ArchiveSection(const ConfigModel& m)
{
    return QByteArray(reinterpret_cast<const char*>(m.archive_mask.data()), kArchiveMaskSize);
}
QByteArray LimitsSection(const ConfigModel& m)
{
    return QByteArray(reinterpret_cast<const char*>(m.deviation_limits.data()), kDeviationLimitsSize);
}

Page PageNamed(const QString& name)
{
    if (name == QLatin1String("groups"))
        return {0x10, kGroupsBlockSize, SelectionBlockId::Groups, GroupsSection};
    if (name == QLatin1String("archive"))
        return {0x0B, kArchiveMaskSize, SelectionBlockId::Archive, ArchiveSection};
    return {0x15, kDeviationLimitsSize, SelectionBlockId::Limits, LimitsSection};
}

// Bytes no configuration default has: every position distinct.
QByteArray Pattern(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + 3) & 0xFF);
    return b;
}

} // namespace

class SelectionExchangeTest : public QObject {
    Q_OBJECT
private:
    void pages()
    {
        QTest::addColumn<QString>("page");
        QTest::newRow("groups") << QStringLiteral("groups");
        QTest::newRow("archive") << QStringLiteral("archive");
        QTest::newRow("limits") << QStringLiteral("limits");
    }

private slots:
    void readTakesTheWholeBlock_data() { pages(); }
    void readTakesTheWholeBlock()
    {
        QFETCH(QString, page);
        const Page p = PageNamed(page);
        ExchangeBench b;
        b.meter.SetBlock(std::uint8_t(p.command), 1, Pattern(p.size));
        ConfigModel m = NewConfigModel();
        modelChanged().Clear();
        int loads = 0;
        PageHooks hooks;
        hooks.loadPage = [&loads] { ++loads; };
        QVERIFY(p.read(b.settings, b.engine, m, b.progress, b.prompt, hooks));
        QCOMPARE(p.section(m), Pattern(p.size));
        QCOMPARE(b.Sent(), (QList<SentFrame>{{p.command, 0x01, {}}}));
        QCOMPARE(loads, 1);
        QVERIFY(modelChanged().IsSet());
        QVERIFY(b.prompt.shown().isEmpty());
    }

    void writeSendsTheWholeBlock_data() { pages(); }
    void writeSendsTheWholeBlock()
    {
        QFETCH(QString, page);
        const Page p = PageNamed(page);
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        PageHooks hooks;
        // The page stores its controls first; what it stores is what goes out.
        hooks.storePage = [&m] {
            m.groups[5].SetNameText("X");
            m.archive_mask[55] = 0x12;
            m.deviation_limits[0] = 9;
        };
        QVERIFY(p.write(b.settings, b.engine, m, b.progress, b.prompt, hooks));
        QCOMPARE(b.Sent(), (QList<SentFrame>{{p.command, 0x81, p.section(m)}}));
        QCOMPARE(b.Sent().first().data.size(), p.size);
        QCOMPARE(b.meter.Block(std::uint8_t(p.command), 1), p.section(m));
        QVERIFY(b.prompt.shown().isEmpty());
    }

    // A meter that keeps its old block must not look like a successful write.
    void refusedWriteIsAFailure_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        for (const char* page : {"groups", "archive", "limits"}) {
            QTest::addRow("%s, 2", page) << QString::fromLatin1(page) << 2 << msg::kNotAllWritten;
            QTest::addRow("%s, 3", page) << QString::fromLatin1(page) << 3 << msg::kNotAllWritten;
            QTest::addRow("%s, 18", page) << QString::fromLatin1(page) << 18 << msg::kNotStoppedNotAllWritten;
        }
    }
    void refusedWriteIsAFailure()
    {
        QFETCH(QString, page);
        QFETCH(int, status);
        QFETCH(QString, message);
        const Page p = PageNamed(page);
        ExchangeBench b;
        b.Fault(MeterFault::Kind::Status, status, p.command, 0x81);
        ConfigModel m = NewConfigModel();
        QVERIFY(!p.write(b.settings, b.engine, m, b.progress, b.prompt, {}));
        QCOMPARE(b.Written().size(), 1);
        QCOMPARE(b.prompt.texts(), QStringList{message});
        QCOMPARE(b.prompt.kinds(), QStringList{QStringLiteral("error")});
    }

    // The groups read checks the length like the other two: a short answer would otherwise
    // overwrite the groups with zeros.
    void shortReadChangesNothing_data() { pages(); }
    void shortReadChangesNothing()
    {
        QFETCH(QString, page);
        const Page p = PageNamed(page);
        ExchangeBench b;
        b.meter.SetBlock(std::uint8_t(p.command), 1, Pattern(p.size));
        b.Fault(MeterFault::Kind::Short, 24 + p.size - 10, p.command);
        ConfigModel m = NewConfigModel();
        const ConfigModel before = m;
        modelChanged().Clear();
        bool loaded = false;
        PageHooks hooks;
        hooks.loadPage = [&loaded] { loaded = true; };
        QVERIFY(!p.read(b.settings, b.engine, m, b.progress, b.prompt, hooks));
        QVERIFY(m == before);
        QVERIFY(!loaded);
        QVERIFY(!modelChanged().IsSet());
        QCOMPARE(b.prompt.texts(), QStringList{msg::kReadFailure});
        QCOMPARE(b.prompt.kinds(), QStringList{QStringLiteral("warning")});
    }

    void failedExchangeChangesNothing()
    {
        ExchangeBench b;
        b.Fault(MeterFault::Kind::Status, 7, 0x0B);
        ConfigModel m = NewConfigModel();
        const ConfigModel before = m;
        QVERIFY(!ReadSelection(SelectionBlockId::Archive, b.settings, b.engine, m, b.progress, b.prompt));
        QVERIFY(m == before);
        QCOMPARE(b.prompt.texts(), QStringList{msg::kBusy});
    }

    void progressSteps()
    {
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        QVERIFY(ReadSelection(SelectionBlockId::Groups, b.settings, b.engine, m, b.progress, b.prompt));
        QCOMPARE(b.progress.ranges, (QList<QPair<int, int>>{{0, 10}}));
        QCOMPARE(b.progress.stepped, 10);
        QCOMPARE(b.progress.pauses, QList<int>(10, 20));

        RecordingProgress archive;
        QVERIFY(WriteSelection(SelectionBlockId::Archive, b.settings, b.engine, m, archive, b.prompt));
        QCOMPARE(archive.steps, QList<int>{50});
        QCOMPARE(archive.stepped, 4);
        QCOMPARE(archive.pauses, QList<int>({100, 100, 100}));
    }
};

QTEST_GUILESS_MAIN(SelectionExchangeTest)
#include "tst_selectionexchange.moc"
