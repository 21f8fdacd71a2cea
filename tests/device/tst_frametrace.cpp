// The frame trace: what a frame's description says and flags, the trace line, the bounded
// log, and the engine telling its observer every frame of an exchange in order.
#include "ExchangeBench.h"
#include "device/FrameTrace.h"

#include <QBuffer>
#include <QTest>

using namespace frametrace;

namespace {

QByteArray Request(std::uint8_t command, std::uint8_t subCommand, QByteArrayView data = {})
{
    return frame::BuildRequest(command, subCommand, 1, frame::kKindOther, data);
}

QByteArray Reply(std::uint8_t command, std::uint8_t subCommand, int status, QByteArrayView data = {},
                 std::uint16_t address = 1)
{
    frame::Header h;
    h.command = command;
    h.subCommand = subCommand;
    h.address = address;
    h.length = std::uint16_t(data.size());
    h.status = std::uint16_t(status);
    return frame::Build(h, data);
}

FrameEvent Received(const QByteArray& request, const QByteArray& reply, int awaited)
{
    FrameEvent e;
    e.direction = FrameEvent::Direction::Received;
    e.bytes = reply;
    e.request = request;
    e.awaited = awaited;
    return e;
}

QByteArray FlipBit(QByteArray bytes, int offset, int bit)
{
    bytes[offset] = char(bytes[offset] ^ (1 << bit));
    return bytes;
}

class Recorder final : public FrameObserver {
public:
    void OnFrame(const FrameEvent& event) override { events << event; }
    QList<FrameEvent> events;
};

} // namespace

Q_DECLARE_METATYPE(FrameEvent)

class TestFrameTrace : public QObject {
    Q_OBJECT
private slots:
    void describe_data()
    {
        QTest::addColumn<FrameEvent>("event");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("flagged");

        const QByteArray voltageRead = Request(0x09, 0x02);
        const QByteArray data("\x01\x02\x03\x04", 4);
        const QByteArray good = Reply(0x09, 0x02, 0, data);
        const int awaited = frame::kReplyHeadSize + 4;
        FrameEvent sent;
        sent.bytes = voltageRead;
        QTest::newRow("request") << sent << "09/02 чтение: уставки, напряжение" << false;
        FrameEvent write;
        write.bytes = frame::BuildRequest(0x10, 0x81, 1, frame::kKindWrite, data);
        QTest::newRow("write request") << write << "10/81 запись: группы параметров, длина данных 4" << false;

        const QString ok = QStringLiteral("09/02 чтение: уставки, напряжение, статус 0 (выполнено), длина данных 4");
        QTest::newRow("good reply") << Received(voltageRead, good, awaited) << ok << false;
        QTest::newRow("one data bit flipped") << Received(voltageRead, FlipBit(good, 26, 3), awaited)
                                              << ok + ", ! контрольная сумма не совпадает" << true;
        QTest::newRow("checksum byte flipped") << Received(voltageRead, FlipBit(good, 28, 0), awaited)
                                               << ok + ", ! контрольная сумма не совпадает" << true;
        QTest::newRow("answer to another command")
            << Received(voltageRead, Reply(0x49, 0x02, 0, data), awaited)
            << "49/02 неизвестная команда, статус 0 (выполнено), длина данных 4, ! ответ на другую команду (запрос 09/02)"
            << true;
        QTest::newRow("write answered with the read sub-command")
            << Received(write.bytes, Reply(0x10, 0x01, 0), frame::kReplyHeadSize)
            << "10/01 чтение: группы параметров, статус 0 (выполнено), ! ответ на другую команду (запрос 10/81)" << true;
        QTest::newRow("cut after the header")
            << Received(voltageRead, good.left(26), awaited)
            << ok + ", ! короткий ответ: 26 из 29 байт" << true;
        QTest::newRow("cut inside the header")
            << Received(voltageRead, good.left(10), frame::kReplyHeadSize)
            << "ответ на 09/02 чтение: уставки, напряжение, ! короткий ответ: 10 из 25 байт" << true;
        QTest::newRow("no reply") << Received(voltageRead, QByteArray(), frame::kReplyHeadSize)
                                  << "ответ на 09/02 чтение: уставки, напряжение, ! нет ответа" << true;
        QTest::newRow("status 15") << Received(voltageRead, Reply(0x09, 0x02, 15), frame::kReplyHeadSize)
                                   << "09/02 чтение: уставки, напряжение, статус 15 (нужен пароль)" << false;
        QTest::newRow("status without a meaning") << Received(voltageRead, Reply(0x09, 0x02, 42), frame::kReplyHeadSize)
                                                  << "09/02 чтение: уставки, напряжение, статус 42" << false;

        // The engine reads a link test's reply up to the echoed checksum and no further.
        const QByteArray linkTest = Request(0x00, 0x00);
        const char echoed = linkTest.back();
        const QByteArray linkReply = Reply(0x00, 0x00, 0, QByteArrayView(&echoed, 1)).left(frame::kReplyHeadSize);
        QTest::newRow("link test") << Received(linkTest, linkReply, frame::kReplyHeadSize)
                                   << "00/00 проверка связи, статус 0 (выполнено), длина данных 1" << false;
        QTest::newRow("link test echoing another checksum")
            << Received(linkTest, FlipBit(linkReply, 24, 7), frame::kReplyHeadSize)
            << "00/00 проверка связи, статус 0 (выполнено), длина данных 1, ! проверка связи вернула другую "
               "контрольную сумму"
            << true;
        QTest::newRow("login") << Received(Request(0x0E, 0x82, "2222"), Reply(0x0E, 0x82, 17), frame::kReplyHeadSize)
                               << "0e/82 вход, второй уровень, статус 17 (неверный пароль)" << false;
    }
    void describe()
    {
        QFETCH(FrameEvent, event);
        QFETCH(QString, description);
        QFETCH(bool, flagged);
        const FrameFacts facts = Examine(event);
        QCOMPARE(Describe(facts), description);
        QCOMPARE(facts.Flagged(), flagged);
    }

    void meanings_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("subCommand");
        QTest::addColumn<QString>("meaning");
        QTest::newRow("identification") << 0x0A << 0x02 << "идентификация";
        QTest::newRow("clock read") << 0x0A << 0x01 << "чтение: часы и режим работы";
        QTest::newRow("operating mode") << 0x0A << 0x83 << "запись: режим работы";
        QTest::newRow("soft correction") << 0x0F << 0x82 << "запись: программная коррекция часов";
        QTest::newRow("control code write") << 0x13 << 0x81 << "запись: управляющий код импульсных входов/выходов";
        QTest::newRow("new password") << 0x0E << 0x83 << "смена пароля первого уровня";
        QTest::newRow("unknown block of a known command") << 0x09 << 0x0C << "неизвестная команда";
    }
    void meanings()
    {
        QFETCH(int, command);
        QFETCH(int, subCommand);
        QFETCH(QString, meaning);
        QCOMPARE(CommandMeaning(std::uint8_t(command), std::uint8_t(subCommand)), meaning);
    }

    void traceLine()
    {
        FrameEvent sent;
        sent.bytes = Request(0x00, 0x00);
        QCOMPARE(TraceLine(1.23456, sent, Examine(sent)),
                 "1.235 TX 00 00 00 00 00 00 00 00 01 00 08 00 01 01 00 00 00 01 01 01 01 00 00 00 c9  # 00/00 проверка "
                 "связи");
        // Written through the writer, seconds count from its start.
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        const auto start = std::chrono::steady_clock::now();
        TraceWriter writer(out, start);
        FrameEvent late = Received(sent.bytes, QByteArray(), frame::kReplyHeadSize);
        late.time = start + std::chrono::milliseconds(2500);
        writer.OnFrame(late);
        QCOMPARE(QString::fromUtf8(out.data()), "2.500 RX   # ответ на 00/00 проверка связи, ! нет ответа\n");
    }

    void logKeepsTheLastFrames()
    {
        const auto start = std::chrono::steady_clock::now();
        FrameLog log(3, start);
        for (int i = 0; i < 5; ++i) {
            FrameEvent e;
            e.bytes = Request(0x09, std::uint8_t(i + 1));
            e.time = start + std::chrono::seconds(i);
            log.Append(e);
        }
        QCOMPARE(log.Size(), 3);
        QCOMPARE(log.At(0).facts.subCommand, 3);
        QCOMPARE(log.At(2).seconds, 4.0);
        const QStringList lines = log.Lines(1, 2).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QLatin1String("3.000 TX ")));
        QVERIFY(lines[1].endsWith(QStringLiteral("# 09/05 чтение: уставки, гармоники")));
    }

    // The observer sees each request and the whole reply to it (both reads of a block as
    // one frame), in order, also when the reply is cut short; the engine goes on as before.
    void engineTellsEveryFrame_data()
    {
        QTest::addColumn<int>("shortTo");  // 0: complete reply
        QTest::addColumn<bool>("readOk");
        QTest::newRow("complete") << 0 << true;
        QTest::newRow("cut inside the data") << 30 << true;
        QTest::newRow("cut inside the header") << 12 << false;
    }
    void engineTellsEveryFrame()
    {
        QFETCH(int, shortTo);
        QFETCH(bool, readOk);
        ExchangeBench b;
        Recorder recorder;
        b.engine.SetFrameObserver(&recorder);
        if (shortTo > 0)
            b.Fault(MeterFault::Kind::Short, shortTo, 0x0B);
        QByteArray block;
        QCOMPARE(b.engine.ReadBlockInto(0x0B, 0x01, 56, block), readOk);
        b.engine.SetFrameObserver(nullptr);
        QByteArray expectedReply
            = Reply(0x0B, 0x01, 0, b.meter.Block(0x0B, 0x01), std::uint16_t(b.settings.deviceAddress));
        if (shortTo > 0)
            expectedReply.truncate(shortTo);

        QCOMPARE(recorder.events.size(), 2);
        QCOMPARE(recorder.events[0].direction, FrameEvent::Direction::Sent);
        QCOMPARE(recorder.events[0].bytes, b.meter.Requests().value(0));
        QCOMPARE(recorder.events[1].direction, FrameEvent::Direction::Received);
        QCOMPARE(recorder.events[1].bytes, expectedReply);
        QCOMPARE(recorder.events[1].request, recorder.events[0].bytes);
        QCOMPARE(Examine(recorder.events[1]).shortReply, shortTo > 0);
        QVERIFY(recorder.events[1].time >= recorder.events[0].time);

        // Detached, nothing more is told.
        QVERIFY(b.engine.ReadBlockInto(0x0B, 0x01, 56, block));
        QCOMPARE(recorder.events.size(), 2);
    }

    // A login answered "wrong password" keeps the link open for the question; its reply is
    // told before the next request. A write answered with another command is accepted by
    // the engine, as always, and only the trace flags it.
    void engineOrderAcrossLoginsAndWrites()
    {
        ExchangeBench b(0);
        Recorder recorder;
        b.engine.SetFrameObserver(&recorder);
        b.prompt.LoginNext(2, "0000");
        b.prompt.AnswerNext(true);
        b.prompt.LoginNext(2, b.meter.Password(2));
        QVERIFY(b.engine.Login(QByteArray()));
        b.Fault(MeterFault::Kind::EchoMismatch, 0, 0x16);
        const QByteArray rvc("\x05\x06\x07\x08", 4);
        std::uint8_t status = 99;
        QVERIFY(b.engine.WriteBlock(0x16, 0x81, reinterpret_cast<const std::uint8_t*>(rvc.constData()), 4, &status));
        QCOMPARE(status, 0);

        QStringList directions;
        for (const FrameEvent& e : std::as_const(recorder.events))
            directions << (e.direction == FrameEvent::Direction::Sent ? "TX" : "RX");
        QCOMPARE(directions, QStringList({"TX", "RX", "TX", "RX", "TX", "RX"}));
        QCOMPARE(Examine(recorder.events[1]).status, frame::kStatusWrongPassword);
        QVERIFY(!Examine(recorder.events[3]).Flagged());
        const FrameFacts write = Examine(recorder.events[5]);
        QVERIFY(write.echoMismatch);
        QCOMPARE(write.checksum, ChecksumState::Match);
    }
};

QTEST_GUILESS_MAIN(TestFrameTrace)
#include "tst_frametrace.moc"
