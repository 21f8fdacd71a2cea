// The protocol engine against the virtual meter through an in-memory link.
#include "MemoryLink.h"
#include "MeterSim.h"
#include "ScriptedPrompt.h"
#include "device/DeviceMessages.h"
#include "device/Frame.h"
#include "device/ProcessCommand.h"

#include <QTest>

namespace {

struct Bench {
    MeterSim meter;
    MemoryLink link{meter};
    ScriptedPrompt prompt;
    CProcessCommand engine{prompt};
    QList<int> pauses;

    Bench()
    {
        engine.SetTransport(&link);
        engine.SetPortName(QStringLiteral("COM3"));
        engine.SetLinkParameter(9600);
        engine.SetDeviceAddress(1);
        engine.SetPauseFunction([this](int ms) { pauses << ms; });
    }
    // Log in at a level without the dialog, as a finished "Проверка связи" leaves it.
    void LoggedIn(int level)
    {
        prompt.LoginNext(level, meter.Password(level));
        QVERIFY(engine.Login(QByteArray()));
        meter.ClearRequests();
        prompt.clear();
    }
    QList<int> SubCommands() const
    {
        QList<int> out;
        for (const QByteArray& r : meter.Requests())
            out << std::uint8_t(r[frame::kSubCommandOffset]);
        return out;
    }
};

MeterFault Fault(MeterFault::Kind kind, int value, int command, int count = 1)
{
    MeterFault f;
    f.kind = kind;
    f.value = value;
    f.command = command;
    f.count = count;
    return f;
}

} // namespace

class ProcessCommandTest : public QObject {
    Q_OBJECT
private slots:
    void refusesBadArgumentsWithoutSending()
    {
        Bench b;
        std::uint8_t buffer[8];
        std::uint16_t length = 0;
        QVERIFY(!b.engine.ReadBlock(0x16, 0x01, buffer, &length));
        length = 4;
        QVERIFY(!b.engine.ReadBlock(0x16, 0x01, nullptr, &length));
        QVERIFY(!b.engine.WriteBlock(0x16, 0x81, buffer, 0));
        QVERIFY(b.meter.Requests().isEmpty());
        QVERIFY(b.prompt.shown().isEmpty());

        b.engine.SetDeviceAddress(0);
        QVERIFY(!b.engine.ReadBlock(0x16, 0x01, buffer, &length));
        QVERIFY(!b.engine.WriteBlock(0x16, 0x81, buffer, 4));
        QVERIFY(!b.engine.ChangePassword(0, "1111", "2"));
        QCOMPARE(b.prompt.texts(), QStringList(3, msg::kAddressRange));
        QCOMPARE(b.prompt.kinds(), QStringList(3, QStringLiteral("plain")));
        QVERIFY(b.meter.Requests().isEmpty());
    }

    void firstReadAsksForLevelAndPassword()
    {
        Bench b;
        b.prompt.LoginNext(2, "2222");
        std::uint8_t buffer[4] = {};
        std::uint16_t length = 4;
        b.meter.SetBlock(0x16, 0x01, QByteArray("\x0a\x0b\x0c\x0d", 4));
        QVERIFY(b.engine.ReadBlock(0x16, 0x01, buffer, &length));
        QCOMPARE(b.SubCommands(), (QList<int>{0x82, 0x01}));
        QCOMPARE(b.engine.AccessLevel(), 2);
        QCOMPARE(b.engine.StoredPassword(), QByteArray("2222"));
        // A complete reply of n data bytes returns n + 2.
        QCOMPARE(length, 6);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buffer), 4), QByteArray("\x0a\x0b\x0c\x0d", 4));
        // The login frame carries the password and one zero byte; every frame opens and closes the link.
        QCOMPARE(b.meter.Requests().first().mid(24, 5), QByteArray("2222\0", 5));
        QCOMPARE(b.link.OpenCount(), 2);
        QCOMPARE(b.link.CloseCount(), 2);
        QCOMPARE(b.pauses, (QList<int>{100, 100}));
        QCOMPARE(b.link.LastPortName(), QStringLiteral("COM3"));
        QCOMPARE(b.link.LastParameter(), 9600u);
    }

    void readStatuses_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("2 silent") << 2 << QString() << QString();
        QTest::newRow("3 silent") << 3 << QString() << QString();
        QTest::newRow("7 busy") << 7 << "plain" << msg::kBusy;
        QTest::newRow("16") << 16 << "error" << msg::ReadStatus(16);
        QTest::newRow("17") << 17 << "error" << msg::ReadStatus(17);
        QTest::newRow("18") << 18 << "error" << msg::ReadStatus(18);
        QTest::newRow("200") << 200 << "error" << msg::ReadStatus(200);
    }
    void readStatuses()
    {
        QFETCH(int, status);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        Bench b;
        b.LoggedIn(1);
        b.meter.InjectFault(Fault(MeterFault::Kind::Status, status, 0x16));
        std::uint8_t buffer[4] = {1, 2, 3, 4};
        std::uint16_t length = 4;
        QVERIFY(!b.engine.ReadBlock(0x16, 0x01, buffer, &length));
        QCOMPARE(b.prompt.kinds(), kind.isEmpty() ? QStringList() : QStringList{kind});
        QCOMPARE(b.prompt.texts(), text.isEmpty() ? QStringList() : QStringList{text});
        // The destination of a failed read is not written.
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buffer), 4), QByteArray("\x01\x02\x03\x04", 4));
        QCOMPARE(b.link.OpenCount(), b.link.CloseCount());
        // The cause stays readable for a caller that reports every failure.
        const std::optional<ReplyStatus> last = b.engine.LastStatus();
        QVERIFY(last);
        QCOMPARE(int(last->command), 0x16);
        QCOMPARE(int(last->subCommand), 0x01);
        QCOMPARE(last->status, status);
    }

    void writeStatuses_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("statusOut");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << false << true << 0 << QString() << QString();
        QTest::newRow("2") << 2 << false << true << 2 << QString() << QString();
        QTest::newRow("3") << 3 << false << true << 2 << QString() << QString();
        QTest::newRow("18") << 18 << false << true << 18 << QString() << QString();
        QTest::newRow("7") << 7 << false << false << 99 << "plain" << msg::kBusy;
        QTest::newRow("16 ok") << 16 << true << true << 99 << "okcancel" << msg::kNotAllWrittenContinue;
        QTest::newRow("16 cancel") << 16 << false << false << 99 << "okcancel" << msg::kNotAllWrittenContinue;
        QTest::newRow("17") << 17 << false << false << 99 << "error" << msg::WriteStatus(17);
        QTest::newRow("40") << 40 << false << false << 99 << "error" << msg::WriteStatus(40);
    }
    void writeStatuses()
    {
        QFETCH(int, status);
        QFETCH(bool, answer);
        QFETCH(bool, result);
        QFETCH(int, statusOut);
        QFETCH(QString, kind);
        QFETCH(QString, text);
        Bench b;
        b.LoggedIn(2);
        if (status != 0)
            b.meter.InjectFault(Fault(MeterFault::Kind::Status, status, 0x16));
        b.prompt.AnswerNext(answer);
        const std::uint8_t data[4] = {9, 8, 7, 6};
        std::uint8_t out = 99;
        QCOMPARE(b.engine.WriteBlock(0x16, 0x81, data, 4, &out), result);
        QCOMPARE(int(out), statusOut);
        QCOMPARE(b.prompt.kinds(), kind.isEmpty() ? QStringList() : QStringList{kind});
        QCOMPARE(b.prompt.texts(), text.isEmpty() ? QStringList() : QStringList{text});
        if (status == 16)
            QCOMPARE(b.prompt.lastIcon(), QuestionIcon::Error);
        const QByteArray sent = b.meter.Requests().last();
        QCOMPARE(int(sent[frame::kFrameKindOffset]), 0x00);
        QCOMPARE(sent.mid(24, 4), QByteArray("\x09\x08\x07\x06", 4));
    }

    void passwordRequiredEverywhereStopsAfterThreeLogins()
    {
        Bench b;
        b.LoggedIn(2);
        b.meter.InjectFault(Fault(MeterFault::Kind::Status, 15, 0x16, -1));
        std::uint8_t buffer[4] = {};
        std::uint16_t length = 4;
        QVERIFY(!b.engine.ReadBlock(0x16, 0x01, buffer, &length));
        QCOMPARE(b.SubCommands(), (QList<int>{0x01, 0x82, 0x01, 0x82, 0x01, 0x82}));
        QCOMPARE(b.prompt.texts(), QStringList{msg::ReadStatus(15)});

        b.meter.ClearRequests();
        b.prompt.clear();
        const std::uint8_t data[4] = {};
        QVERIFY(!b.engine.WriteBlock(0x16, 0x81, data, 4));
        QCOMPARE(b.SubCommands(), (QList<int>{0x81, 0x82, 0x81, 0x82, 0x81, 0x82}));
        QCOMPARE(b.prompt.texts(), QStringList{msg::WriteStatus(15)});
    }

    void passwordRequiredOnceResendsWithStoredPassword()
    {
        Bench b;
        b.LoggedIn(1);
        b.meter.InjectFault(Fault(MeterFault::Kind::Status, 15, 0x16));
        std::uint8_t buffer[4] = {};
        std::uint16_t length = 4;
        QVERIFY(b.engine.ReadBlock(0x16, 0x01, buffer, &length));
        QCOMPARE(b.SubCommands(), (QList<int>{0x01, 0x81, 0x01}));
        QCOMPARE(b.meter.Requests()[1].mid(24, 5), QByteArray("1111\0", 5));
        QVERIFY(b.prompt.shown().isEmpty());
    }

    void echoMismatchFailsReadButNotWrite()
    {
        Bench b;
        b.LoggedIn(2);
        b.meter.InjectFault(Fault(MeterFault::Kind::EchoMismatch, 0, 0x16, 2));
        std::uint8_t buffer[4] = {};
        std::uint16_t length = 4;
        QVERIFY(!b.engine.ReadBlock(0x16, 0x01, buffer, &length));
        QCOMPARE(b.prompt.texts(), QStringList{msg::kBadReply});
        std::uint8_t out = 99;
        QVERIFY(b.engine.WriteBlock(0x16, 0x81, buffer, 4, &out));
        QCOMPARE(out, 0);
    }

    void shortReplies_data()
    {
        QTest::addColumn<int>("cut");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("23 bytes") << 23 << false << 62 << QByteArray();
        // A bare header passes; the data are then read from offset 24 on, and none came.
        QTest::newRow("24 bytes") << 24 << true << 1 << QByteArray(4, '\0');
        QTest::newRow("25 bytes") << 25 << true << 2 << QByteArray("\x0a\0\0\0", 4);
        QTest::newRow("27 bytes") << 27 << true << 4 << QByteArray("\x0a\x0b\x0c\0", 4);
        QTest::newRow("complete") << 29 << true << 6 << QByteArray("\x0a\x0b\x0c\x0d", 4);
    }
    void shortReplies()
    {
        QFETCH(int, cut);
        QFETCH(bool, result);
        QFETCH(int, length);
        QFETCH(QByteArray, data);
        Bench b;
        b.LoggedIn(1);
        b.meter.SetBlock(0x16, 0x01, QByteArray("\x0a\x0b\x0c\x0d", 4));
        b.meter.InjectFault(Fault(MeterFault::Kind::Short, cut, 0x16));
        std::uint8_t buffer[4] = {0x55, 0x55, 0x55, 0x55};
        std::uint16_t got = 4;
        QCOMPARE(b.engine.ReadBlock(0x16, 0x01, buffer, &got), result);
        if (!result) {
            QCOMPARE(b.prompt.texts(), QStringList{msg::kBadReply});
            QVERIFY(!b.engine.LastStatus());  // no status arrived
            return;
        }
        QCOMPARE(int(got), length);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buffer), 4), data);
    }

    void loginOutcomes()
    {
        // Three wrong passwords: the question twice, a 3 s pause, failure without a message.
        // The link is held through the pause and closed after it.
        Bench b;
        for (int i = 0; i < 3; ++i)
            b.prompt.LoginNext(1, "0000");
        b.prompt.AnswerNext(true);
        b.prompt.AnswerNext(true);
        QList<bool> openDuringPause;
        b.engine.SetPauseFunction([&b, &openDuringPause](int ms) {
            b.pauses << ms;
            openDuringPause << b.link.IsOpen();
        });
        QVERIFY(!b.engine.Login(QByteArray()));
        QCOMPARE(b.prompt.kinds(), (QStringList{"auth", "yesno", "auth", "yesno", "auth"}));
        QCOMPARE(b.prompt.texts()[1], msg::kLoginWrongPassword);
        QCOMPARE(b.pauses.last(), 3000);
        QCOMPARE(openDuringPause.last(), true);
        QVERIFY(!b.link.IsOpen());
        QCOMPARE(b.link.OpenCount(), 3);
        QCOMPARE(b.link.CloseCount(), 3);
        QCOMPARE(b.engine.AccessLevel(), 0);

        // "No" to the question stops at once.
        Bench c;
        c.prompt.LoginNext(2, "0000");
        c.prompt.AnswerNext(false);
        QVERIFY(!c.engine.Login(QByteArray()));
        QCOMPARE(c.meter.Requests().size(), 1);

        // Any status other than 0 and 17 counts as success and leaves the level as it was.
        Bench d;
        d.meter.InjectFault(Fault(MeterFault::Kind::Status, 7, 0x0E));
        QVERIFY(d.engine.Login("1111"));
        QCOMPARE(d.engine.AccessLevel(), 0);
        QVERIFY(d.engine.StoredPassword().isEmpty());

        // A short reply: the channel notice.
        Bench e;
        e.meter.InjectFault(Fault(MeterFault::Kind::Short, 24, 0x0E));
        QVERIFY(!e.engine.Login("1111"));
        QCOMPARE(e.prompt.texts(), QStringList{msg::kLoginChannelFailure});

        // Cancelled dialog: nothing is sent.
        Bench f;
        f.prompt.CancelNextLogin();
        QVERIFY(!f.engine.Login(QByteArray()));
        QVERIFY(f.meter.Requests().isEmpty());
    }

    void writeAtFirstLevelAsksForSecond()
    {
        Bench b;
        b.LoggedIn(1);
        const std::uint8_t data[4] = {};
        b.prompt.AnswerNext(false);
        QVERIFY(!b.engine.WriteBlock(0x16, 0x81, data, 4));
        QCOMPARE(b.prompt.texts(), QStringList{msg::kNeedSecondLevel});
        QVERIFY(b.meter.Requests().isEmpty());

        b.prompt.clear();
        b.prompt.AnswerNext(true);
        b.prompt.LoginNext(2, "2222");
        QVERIFY(b.engine.WriteBlock(0x16, 0x81, data, 4));
        QCOMPARE(b.SubCommands(), (QList<int>{0x82, 0x81}));
        QCOMPARE(b.engine.AccessLevel(), 2);
    }

    void changePassword()
    {
        Bench b;
        QVERIFY(b.engine.ChangePassword(1, "2222", "abc9"));
        QCOMPARE(b.SubCommands(), (QList<int>{0x82, 0x84}));
        QCOMPARE(b.meter.Requests().last().mid(24, 5), QByteArray("abc9\0", 5));
        QCOMPARE(b.prompt.texts(), QStringList{msg::PasswordChanged(2)});
        QCOMPARE(msg::PasswordChanged(2), QStringLiteral("Пароль второго уровня изменён."));
        QCOMPARE(b.meter.Password(2), QByteArray("abc9"));
        QCOMPARE(b.engine.StoredPassword(), QByteArray("abc9"));

        // A wrong old password fails at the login but leaves the level as set.
        Bench c;
        c.prompt.AnswerNext(false);
        QVERIFY(!c.engine.ChangePassword(1, "9999", "abc9"));
        QCOMPARE(c.engine.AccessLevel(), 2);

        // Three refusals of the new password: failure, the question each time.
        Bench d;
        d.meter.InjectFault(Fault(MeterFault::Kind::Status, 5, 0x0E, -1));
        d.engine.SetDeviceAddress(4);
        for (int i = 0; i < 3; ++i)
            d.prompt.AnswerNext(true);
        QVERIFY(!d.engine.ChangePassword(0, QByteArray(), "x1"));
        QCOMPARE(d.prompt.texts(), QStringList(3, msg::kChangeWrongPassword));
        QCOMPARE(d.meter.Requests().size(), 3);
        for (const Bench* x : {&b, &c, &d}) {
            QVERIFY(!x->link.IsOpen());
            QCOMPARE(x->link.OpenCount(), x->link.CloseCount());
        }
    }

    void testLink()
    {
        Bench b;
        QVERIFY(b.engine.TestLink());
        QCOMPARE(b.meter.Requests().first().size(), 25);
        QCOMPARE(std::uint8_t(b.meter.Requests().first().back()), 0xC9);

        b.meter.InjectFault(Fault(MeterFault::Kind::BadLinkChecksum, 0, 0x00));
        QVERIFY(!b.engine.TestLink());
        QCOMPARE(b.prompt.texts(), QStringList{msg::kRateErrors});

        b.prompt.clear();
        b.meter.InjectFault(Fault(MeterFault::Kind::Short, 24, 0x00));
        QVERIFY(!b.engine.TestLink());
        QCOMPARE(b.prompt.texts(), QStringList{msg::kBadReply});

        b.prompt.clear();
        b.link.SetOpenFails(true);
        QVERIFY(!b.engine.TestLink());
        QCOMPARE(b.prompt.texts(), QStringList{QStringLiteral("Не удалось установить соединение")});
    }

    void openFailureNamesThePort()
    {
        Bench b;
        b.link.SetOpenFails(true);
        b.prompt.LoginNext(1, "1111");
        std::uint8_t buffer[4];
        std::uint16_t length = 4;
        QVERIFY(!b.engine.ReadBlock(0x16, 0x01, buffer, &length));
        QCOMPARE(b.prompt.texts().last(), msg::OpenFailure(QStringLiteral("COM3")));
        QCOMPARE(msg::OpenFailure(QStringLiteral("COM3")),
                 QStringLiteral("Не удалось установить соединение.\nКоммуникационный порт COM3 занят \nили неверно настроен."));
    }

    void identify()
    {
        Bench b;
        b.LoggedIn(1);
        DeviceIdentity id;
        QVERIFY(b.engine.Identify(&id));
        QCOMPARE(id.version, QByteArray("1.7.0 / 2.1.3"));
        QCOMPARE(id.modelName, QByteArray("\xc2\xee\xf0\xe0\xed\xf2-\xcf\xca\xdd-1.7"));
        QCOMPARE(id.serial, QByteArray("12345"));
        QCOMPARE(id.details.size(), 31);
        QCOMPARE(std::uint8_t(b.meter.Requests().last().back()), 0x89);

        b.meter.InjectFault(Fault(MeterFault::Kind::Short, 60, 0x0A));
        QVERIFY(!b.engine.Identify(&id));
        QCOMPARE(b.prompt.texts(), QStringList{msg::kReadFailure});
    }
};

QTEST_APPLESS_MAIN(ProcessCommandTest)
#include "tst_processcommand.moc"
