// --help and --version of the three programs: answered on stdout with exit 0, with no display
// (an unknown platform plugin would abort a program that started its GUI) and no port opened.
#include "MeterProcess.h"

#include <QProcess>
#include <QTcpServer>
#include <QtTest>

class ProgramOptionsTest : public QObject {
    Q_OBJECT

private:
    static int Run(const QString& program, const QStringList& arguments, QString* out, QString* err)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
        p.setProcessEnvironment(env);
        p.start(program, arguments);
        if (!p.waitForFinished(60000))
            return -1;
        *out = QString::fromUtf8(p.readAllStandardOutput());
        *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // the whole stdout for --version, a line of it for --help
        const QString gui = QStringLiteral(LADOGRAF_PATH);
        const QString cli = QStringLiteral(LADOGRAF_CLI_PATH);
        const QString sim = QStringLiteral(METER_SIM_PATH);
        QTest::newRow("ladograf --version") << gui << QStringList{"--version"} << "ladograf 4.0.20\n";
        QTest::newRow("ladograf -v after a file") << gui << QStringList{"x.cfg", "-v"} << "ladograf 4.0.20\n";
        QTest::newRow("ladograf --help") << gui << QStringList{"--help"}
                                         << "  --meter ХОСТ:ПОРТ   связь по Ethernet с этим прибором на время работы\n";
        QTest::newRow("ladograf -h with --meter") << gui << QStringList{"--meter", "127.0.0.1:1", "-h"}
                                                  << "Использование: ladograf [ФАЙЛ.cfg] [--meter ХОСТ:ПОРТ] [--nosplash]\n";
        QTest::newRow("ladograf-cli --version") << cli << QStringList{"--version"} << "ladograf-cli 4.0.20\n";
        QTest::newRow("ladograf-cli --help") << cli << QStringList{"--help"}
                                             << "       ladograf-cli compile RULES --out CODE [--dictionary DB]\n";
        QTest::newRow("meter-sim --version") << sim << QStringList{"--version"} << "meter-sim 4.0.20\n";
        QTest::newRow("meter-sim --help") << sim << QStringList{"--help"}
                                          << "                 [--firmware A.B.C/D.E.F] [--password1 P] [--password2 P] [--address N]\n";
    }

    void answers()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QString out, err;
        QCOMPARE(Run(program, arguments, &out, &err), 0);
        QCOMPARE(err, QString());
        if (arguments.contains(QLatin1String("--version")) || arguments.contains(QLatin1String("-v")))
            QCOMPARE(out, expected);
        else
            QVERIFY2(out.contains(expected), qPrintable(out));
    }

    // The virtual meter answers --version before it listens: the address it is given is taken.
    void meterAnswersBeforeListening()
    {
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
        const QString tcp = QStringLiteral("127.0.0.1:%1").arg(taken.serverPort());
        QString out, err;
        QCOMPARE(Run(QStringLiteral(METER_SIM_PATH), {"--tcp", tcp, "--version"}, &out, &err), 0);
        QCOMPARE(out, QStringLiteral("meter-sim 4.0.20\n"));
        // Without it the same address is refused: the check above did prove something.
        QCOMPARE(Run(QStringLiteral(METER_SIM_PATH), {"--tcp", tcp}, &out, &err), 2);
        QVERIFY2(err.startsWith(QLatin1String("meter-sim: cannot listen on")), qPrintable(err));
    }

    void firmwareTakesTwoVersions()
    {
        QString out, err;
        QCOMPARE(Run(QStringLiteral(METER_SIM_PATH), {"--firmware", "1.7.0"}, &out, &err), 2);
        QCOMPARE(err, QStringLiteral("meter-sim: --firmware takes A.B.C/D.E.F\n"));
    }
};

QTEST_GUILESS_MAIN(ProgramOptionsTest)
#include "tst_programoptions.moc"
