// ladograf-cli with bad input and a refusing meter: every failure says what failed on
// stderr, and bad values are usage errors before anything is sent.
#include "MeterProcess.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "rules/RulesMessages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kRate = QStringLiteral("usage: --baud takes one of 110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, "
                                     "57600, 115200");
const QString kTimeout = QStringLiteral("usage: --timeout takes whole seconds from 1 to 3600");

QString Code(int size)
{
    return QStringLiteral("error: Файл {dir}/%1.bin не является блоком управляющего кода: размер файла %1, а блок "
                          "занимает ровно 512 байт.")
        .arg(size);
}

} // namespace

class CliRefusalsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void failures_data();
    void failures();

private:
    QString Expand(QString text, quint16 port) const
    {
        return text.replace(QLatin1String("{dir}"), m_dir.path())
            .replace(QLatin1String("{tcp}"), QStringLiteral("127.0.0.1:%1").arg(port));
    }
    QTemporaryDir m_dir;
};

void CliRefusalsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (int size : {0, 511, 512, 513}) {
        QFile file(m_dir.filePath(QStringLiteral("%1.bin").arg(size)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(QByteArray(size, '\xFF')), qint64(size));
    }
    ConfigModel other = NewConfigModel();
    other.connection_address = 17;
    QString error;
    QVERIFY2(SaveConfigFile(m_dir.filePath(QStringLiteral("a.cfg")), NewConfigModel(), &error), qPrintable(error));
    QVERIFY2(SaveConfigFile(m_dir.filePath(QStringLiteral("b.cfg")), other, &error), qPrintable(error));
    QFile rules(m_dir.filePath(QStringLiteral("bad.txt")));
    QVERIFY(rules.open(QIODevice::WriteOnly));
    rules.write("Если ЩЩЩ > 5 то ВЫХ1 = 1.");
}

void CliRefusalsTest::failures_data()
{
    // The meter's arguments (none: no meter), the command line, the exit code and how
    // stderr ends ("": stderr stays empty). {dir} is a folder of fixtures, {tcp} the meter.
    QTest::addColumn<QStringList>("meter");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errEnd");

    const QStringList tcp{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")};
    const QStringList login{QStringLiteral("--address"), QStringLiteral("1"), QStringLiteral("--level"), QStringLiteral("2"),
                            QStringLiteral("--password"), QStringLiteral("2222")};
    const QStringList overTcp = QStringList{QStringLiteral("--tcp"), QStringLiteral("{tcp}")} + login;
    const QStringList identify = QStringList{QStringLiteral("identify")} + overTcp;
    auto fault = [&tcp](const char* f) { return tcp + QStringList{QStringLiteral("--fault"), QString::fromLatin1(f)}; };
    auto read = [&overTcp](const char* page) {
        return QStringList{QStringLiteral("read"), QString::fromLatin1(page)} + overTcp
               + QStringList{QStringLiteral("--cfg"), QStringLiteral("{dir}/read.cfg")};
    };
    auto decode = [](const char* file) { return QStringList{QStringLiteral("decode"), QStringLiteral("{dir}/") + QLatin1String(file)}; };
    auto withOption = [](QStringList args, const char* option, const char* value) {
        return args << QString::fromLatin1(option) << QString::fromLatin1(value);
    };

    // A control code is a whole block, and decoding needs the whole dictionary.
    QTest::newRow("decode 511 bytes") << QStringList() << decode("511.bin") << 2 << Code(511);
    QTest::newRow("decode 513 bytes") << QStringList() << decode("513.bin") << 2 << Code(513);
    QTest::newRow("decode an empty file") << QStringList() << decode("0.bin") << 2 << Code(0);
    QTest::newRow("decode without the dictionary")
        << QStringList() << withOption(decode("512.bin"), "--dictionary", "{dir}/absent.dat") << 1
        << QStringLiteral("notice: ") + msg::DictionaryNotFound(QStringLiteral("{dir}/absent.dat"));
    QTest::newRow("decode with a dictionary that is no database")
        << QStringList() << withOption(decode("512.bin"), "--dictionary", "{dir}/bad.txt") << 1
        << QStringLiteral("notice: ") + msg::DictionaryNotFound(QStringLiteral("{dir}/bad.txt"));

    // Failures the engine keeps quiet about get a closing line with the meter's status.
    QTest::newRow("read refused with status 2")
        << fault("status=2@0x10*-1") << read("groups") << 1
        << QStringLiteral("error: read groups: прибор отказал, статус 2 (команда 0x10/0x01).");
    QTest::newRow("read refused with status 3")
        << fault("status=3@0x0B*-1") << read("archive") << 1
        << QStringLiteral("error: read archive: прибор отказал, статус 3 (команда 0x0b/0x01).");
    QTest::newRow("wrong password, no retry")
        << tcp << (QStringList{QStringLiteral("identify"), QStringLiteral("--tcp"), QStringLiteral("{tcp}"),
                               QStringLiteral("--address"), QStringLiteral("1"), QStringLiteral("--password"),
                               QStringLiteral("9999")})
        << 1 << QStringLiteral("error: identify: прибор отказал, статус 17 (команда 0x0e/0x81).");
    QTest::newRow("rules that do not compile")
        << QStringList()
        << QStringList{QStringLiteral("compile"), QStringLiteral("{dir}/bad.txt"), QStringLiteral("--out"),
                       QStringLiteral("{dir}/bad.bin")}
        << 1 << QStringLiteral("error: compile: команда не выполнена.");
    // For diff, 1 is the answer "different", not a failure.
    QTest::newRow("diff of different files")
        << QStringList() << QStringList{QStringLiteral("diff"), QStringLiteral("{dir}/a.cfg"), QStringLiteral("{dir}/b.cfg")}
        << 1 << QString();

    // Link values: whole seconds 1..3600, the connection page's rates.
    for (const char* seconds : {"0", "3601", "85899346", "1.5", "-1", "+5", " 5", "ten"})
        QTest::newRow(qPrintable(QStringLiteral("--timeout \"%1\"").arg(QLatin1String(seconds))))
            << QStringList() << withOption(identify, "--timeout", seconds) << 2 << kTimeout;
    QTest::newRow("--timeout 1") << tcp << withOption(identify, "--timeout", "1") << 0 << QString();
    QTest::newRow("--timeout 3600") << tcp << withOption(identify, "--timeout", "3600") << 0 << QString();
    const QStringList serial = QStringList{QStringLiteral("identify"), QStringLiteral("--serial"), QStringLiteral("{dir}/tty")} + login;
    for (const char* rate : {"1234", "0", "9600.0", "+9600", "230400"})
        QTest::newRow(qPrintable(QStringLiteral("--baud \"%1\"").arg(QLatin1String(rate))))
            << QStringList() << withOption(serial, "--baud", rate) << 2 << kRate;
    const QStringList pty{QStringLiteral("--pty"), QStringLiteral("{dir}/tty")};
    QTest::newRow("--baud 9600") << pty << withOption(serial, "--baud", "9600") << 0 << QString();
    QTest::newRow("--baud 110") << pty << withOption(serial, "--baud", "110") << 0 << QString();
}

void CliRefusalsTest::failures()
{
    QFETCH(QStringList, meter);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, errEnd);

    MeterProcess process;
    if (!meter.isEmpty()) {
        for (QString& a : meter)
            a = Expand(a, 0);
        QVERIFY(process.Start(meter));
    }
    for (QString& a : args)
        a = Expand(a, process.TcpPort());
    QString out, err;
    QCOMPARE(RunProgram(QStringLiteral(LADOGRAF_CLI_PATH), args, &out, &err), exitCode);
    if (errEnd.isEmpty())
        QCOMPARE(err, QString());
    else
        QVERIFY2(err.endsWith(Expand(errEnd, process.TcpPort()) + QLatin1Char('\n')), qPrintable(err));
}

QTEST_GUILESS_MAIN(CliRefusalsTest)
#include "tst_cli_refusals.moc"
