#include "device/Frame.h"

#include <QTest>

class FrameTest : public QObject {
    Q_OBJECT
private slots:
    void checksum_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("expected");
        QTest::newRow("no bytes") << QByteArray() << 0xEB;
        QTest::newRow("abc") << QByteArray("abc") << 0x77;
    }
    void checksum()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, expected);
        QCOMPARE(int(frame::Checksum(bytes)), expected);
    }

    void requests_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("expectedHex");
        const QByteArray constants = "08000101000000010101";  // offsets 10..19
        QTest::newRow("link test, address 1")
            << frame::BuildRequest(0x00, 0x00, 1, frame::kKindOther)
            << QByteArray("00000000" "0000" "00" "00" "0100" + constants + "01" "00" "0000" "c9");
        QTest::newRow("identification, address 1")
            << frame::BuildRequest(0x0A, 0x02, 1, frame::kKindOther)
            << QByteArray("00000000" "0000" "0a" "02" "0100" + constants + "01" "00" "0000" "89");
        // A write carries frame kind 0x00; data length and address are little-endian.
        const QByteArray written = frame::BuildRequest(0x10, 0x81, 0x1234, frame::kKindWrite, QByteArray("\x01\x02", 2));
        QTest::newRow("write request")
            << written
            << QByteArray("00000000" "0200" "10" "81" "3412" + constants + "00" "00" "0000" "0102")
                   + QByteArray::number(frame::Checksum(written.left(26)), 16).rightJustified(2, '0');
    }
    void requests()
    {
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, expectedHex);
        QCOMPARE(frame.toHex(), expectedHex);
    }

    void parseHeaderNeedsTwentyFourBytes()
    {
        frame::Header h;
        const QByteArray reply = frame::BuildRequest(0x0A, 0x02, 7, frame::kKindOther, QByteArray(3, 'x'));
        QVERIFY(!frame::ParseHeader(reply.left(23), &h));
        QVERIFY(frame::ParseHeader(reply.left(24), &h));
        QCOMPARE(h.length, 3);
        QCOMPARE(h.address, 7);
        QCOMPARE(h.command, 0x0A);
        QCOMPARE(h.subCommand, 0x02);
    }
};

QTEST_APPLESS_MAIN(FrameTest)
#include "tst_frame.moc"
