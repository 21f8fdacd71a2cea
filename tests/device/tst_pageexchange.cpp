// The read and write commands of the main window: address test, identification, the
// version check before a write, and the hand-over to the active page.
#include "ExchangeBench.h"
#include "common/Cp1251.h"
#include "device/DeviceMessages.h"
#include "pages/AllPages.h"
#include "pages/PageTable.h"
#include "model/ConfigModel.h"

#include <QTest>

namespace {

const QByteArray kMeterVersion = "1.7.0 / 2.1.3";
const QByteArray kMeterModel = cp1251::Encode(u"Ворант-ПКЭ-1.7");
const QString kVersionConflict = QStringLiteral("Конфликт версий.     \nДанные не записаны.");
const QString kExchangeFailure = QStringLiteral("Сбой при обмене данными.   \n Повторите запись.");

bool IsIdentify(const SentFrame& f) { return f.command == 0x0A && f.subCommand == 0x02; }

using Command = bool (*)(PageId, PageContext&, const PageHooks&);

bool Run(Command command, PageId page, ExchangeBench& b, ConfigModel& m, std::function<void()> identityTaken = {})
{
    PageContext context{b.settings, b.engine, m, b.progress, b.prompt, std::move(identityTaken)};
    return command(page, context, {});
}

} // namespace

class PageExchangeTest : public QObject {
    Q_OBJECT
private slots:
    // One link test, one login, one identification, then the pages in tab order; here the
    // last page cannot run (no dictionary), and the four pages read before it leave no trace
    // in the model.
    void readAllInTabOrderAndAllOrNothing()
    {
        ExchangeBench b(0);
        b.prompt.LoginNext(2, b.meter.Password(2));
        b.meter.SetBlock(frame::kCmdArchive, 1, QByteArray(kArchiveMaskSize, '\x5A'));
        ConfigModel m = NewConfigModel();
        const ConfigModel before = m;
        PageContext context{b.settings, b.engine, m, b.progress, b.prompt, {}};
        std::optional<PageId> failed;
        QVERIFY(!ReadAllPages(context, {}, &failed));
        QCOMPARE(failed, std::optional<PageId>(PageId::Pulse));
        QCOMPARE(b.prompt.texts().last(), msg::ReadAllStopped(QStringLiteral("Импульсные входы/выходы")));
        QVERIFY(m.archive_mask == before.archive_mask);
        QCOMPARE(m.firmware_version, QByteArray());

        QList<int> commands;
        for (const QByteArray& r : b.meter.Requests())
            commands << ((std::uint8_t(r[frame::kCommandOffset]) << 8) | std::uint8_t(r[frame::kSubCommandOffset]));
        QCOMPARE(commands.mid(0, 3), (QList<int>{0x0000, 0x0E82, 0x0A02}));
        QCOMPARE(commands.count(0x0000), 1);
        QCOMPARE(commands.count(0x0E82), 1);
        QCOMPARE(commands.count(0x0A02), 1);
        const int lastSetpoint = int(commands.lastIndexOf(0x1601));
        QVERIFY(lastSetpoint > 2);
        QVERIFY(lastSetpoint < commands.indexOf(0x1001));
        QVERIFY(commands.indexOf(0x1001) < commands.indexOf(0x0B01));
        QVERIFY(commands.indexOf(0x0B01) < commands.indexOf(0x1501));
        QCOMPARE(commands.last(), 0x1501);
    }

    void writeChecksTheMeterIdentity_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<bool>("written");
        QTest::newRow("same meter") << kMeterVersion << kMeterModel << true;
        QTest::newRow("empty identity adopts the meter's") << QByteArray() << QByteArray() << true;
        QTest::newRow("empty version only") << QByteArray() << kMeterModel << true;
        QTest::newRow("other version") << QByteArray("1.7.0 / 2.1.4") << kMeterModel << false;
        QTest::newRow("other model") << kMeterVersion << cp1251::Encode(u"Ворант-ПКЭ-1.8") << false;
        QTest::newRow("case matters") << kMeterVersion << cp1251::Encode(u"ворант-ПКЭ-1.7") << false;
    }
    void writeChecksTheMeterIdentity()
    {
        QFETCH(QByteArray, version);
        QFETCH(QByteArray, model);
        QFETCH(bool, written);
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        m.firmware_version = version;
        m.modification = model;
        QCOMPARE(Run(WriteActivePage, PageId::Groups, b, m), written);
        const QList<SentFrame> sent = b.Sent();
        QVERIFY(IsIdentify(sent.first()));
        QCOMPARE(b.Written().size(), written ? 1 : 0);
        QCOMPARE(b.prompt.texts(), written ? QStringList() : QStringList{kVersionConflict});
        if (written) {
            QCOMPARE(m.firmware_version, kMeterVersion);
            QCOMPARE(m.modification, kMeterModel);
        }
        QCOMPARE(b.progress.ranges.first(), qMakePair(0, 150));
    }

    void readIdentifiesOnlyAnUnknownMeter()
    {
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        int loads = 0;
        const auto identityTaken = [&loads] { ++loads; };
        QVERIFY(Run(ReadActivePage, PageId::Connection, b, m, identityTaken));
        QCOMPARE(b.Sent().size(), 1);
        QCOMPARE(m.firmware_version, kMeterVersion);
        QCOMPARE(m.modification, kMeterModel);
        QCOMPARE(loads, 1);

        // Known now: the connection page sends nothing, another page only its own block,
        // whatever meter answers.
        b.meter.ClearRequests();
        m.firmware_version = "9.9.9 / 9.9.9";
        QVERIFY(Run(ReadActivePage, PageId::Connection, b, m, identityTaken));
        QVERIFY(Run(ReadActivePage, PageId::Archive, b, m, identityTaken));
        QCOMPARE(b.Sent(), (QList<SentFrame>{{0x0B, 0x01, {}}}));
        QCOMPARE(loads, 1);
    }

    void addressOutsideTheRangeSendsNothing_data()
    {
        QTest::addColumn<int>("address");
        QTest::newRow("0") << 0;
        QTest::newRow("65536") << 65536;
        QTest::newRow("negative") << -1;
    }
    void addressOutsideTheRangeSendsNothing()
    {
        QFETCH(int, address);
        ExchangeBench b;
        b.settings.deviceAddress = address;
        ConfigModel m = NewConfigModel();
        QVERIFY(!Run(ReadActivePage, PageId::Groups, b, m));
        QVERIFY(!Run(WriteActivePage, PageId::Groups, b, m));
        QVERIFY(b.meter.Requests().isEmpty());
        QCOMPARE(b.prompt.texts(), QStringList(2, msg::kAddressRangePage));
        QCOMPARE(b.prompt.kinds(), QStringList(2, QStringLiteral("plain")));
    }

    void identificationFailure()
    {
        ExchangeBench b;
        b.Fault(MeterFault::Kind::Status, 7, 0x0A, 0x02, 2);
        ConfigModel m = NewConfigModel();
        QVERIFY(!Run(ReadActivePage, PageId::Setpoints, b, m));
        QVERIFY(!Run(WriteActivePage, PageId::Setpoints, b, m));
        QCOMPARE(b.prompt.texts(), QStringList({msg::kBusy, kExchangeFailure, msg::kBusy, kExchangeFailure}));
        QCOMPARE(b.Sent().size(), 2);
        QVERIFY(m.firmware_version.isEmpty());
    }

    void disabledPagesDoNothing()
    {
        ExchangeBench b;
        ConfigModel m = NewConfigModel();
        QVERIFY(!Run(ReadActivePage, PageId::Terminal, b, m));
        QVERIFY(!Run(WriteActivePage, PageId::Terminal, b, m));
        QVERIFY(!Run(WriteActivePage, PageId::Connection, b, m));
        QVERIFY(b.meter.Requests().isEmpty());
        QVERIFY(b.prompt.shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(PageExchangeTest)
#include "tst_pageexchange.moc"
