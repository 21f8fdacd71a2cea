// ladograf-cli new and dump, run as the real program.
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run Cli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(LADOGRAF_CLI), args);
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestModelCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void newThenDumpShowsTheDefaults();
    void dumpPrintsTextsAndFloatsFaithfully();
    void dumpReportsBadFiles();
    void usage();

private:
    QTemporaryDir m_dir;
};

void TestModelCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestModelCli::newThenDumpShowsTheDefaults()
{
    const QString path = m_dir.filePath(QStringLiteral("new.cfg"));
    const Run created = Cli({QStringLiteral("new"), path});
    QCOMPARE(created.exitCode, 0);
    QVERIFY(created.err.isEmpty());
    QCOMPARE(QFileInfo(path).size(), qint64(3021 + 2 * qstrlen(kDefaultGprsApn)));

    const Run dumped = Cli({QStringLiteral("dump"), path});
    QCOMPARE(dumped.exitCode, 0);
    QVERIFY2(dumped.err.isEmpty(), qPrintable(dumped.err));
    // The exact texts of the numbers, not only their values.
    QVERIFY(dumped.out.contains("\"u_nom_line\": 381.05117082595825,"));
    QVERIFY(dumped.out.contains("\"pst_max\": 1.38,"));
    QVERIFY(dumped.out.contains("\"rvc_hysteresis_line\": 50,"));

    QJsonParseError parseError;
    const QJsonObject json = QJsonDocument::fromJson(dumped.out, &parseError).object();
    QCOMPARE(parseError.error, QJsonParseError::NoError);
    QCOMPARE(json.value("harm_max").toArray().at(11 - 2).toInt(), 525);
    QCOMPARE(json.value("harm_normal").toArray().at(11 - 2).toInt(), 350);
    QCOMPARE(json.value("set_year").toInt(), QDate::currentDate().year());
    QCOMPARE(json.value("reference_nominal").toBool(), true);
    QCOMPARE(json.value("gprs_apn").toArray(), (QJsonArray{kDefaultGprsApn, kDefaultGprsApn}));
    QCOMPARE(json.value("gprs_wait_a").toArray(), (QJsonArray{15, 15}));
    QCOMPARE(json.value("archive_mask").toString(), QString(112, QLatin1Char('f')));
    QCOMPARE(json.value("calc_choice").toArray().size(), 9);

    const QJsonObject phase = json.value("phase_limits").toObject();
    QCOMPARE(phase.value("interruption_level").toDouble(), -95.0);
    QCOMPARE(phase.value("dev").toArray().at(5).toArray(), (QJsonArray{-5, -5, 5}));
    QCOMPARE(json.value("line_limits").toObject().value("dev").toArray().at(5).toArray(), (QJsonArray{5, 5, 5}));

    const QByteArray groups = QByteArray::fromHex(json.value("groups").toString().toLatin1());
    QCOMPARE(groups.size(), 1308);
    const auto records = GroupsFromBytes(groups);
    QCOMPARE(records[1].count, quint16(34));
    QCOMPARE(records[1].NameText(), QByteArray("\xCF\xCA\xDD"));

    // Every field the file stores is there, and nothing else.
    QCOMPARE(json.size(), 82);
    QVERIFY(!json.contains("address_write_flag"));
}

void TestModelCli::dumpPrintsTextsAndFloatsFaithfully()
{
    ConfigModel m = NewConfigModel();
    m.modification = "\xCF\xCA\xDD-1.7";   // "ПКЭ-1.7"
    m.pulse_rules_text = "\xC5\xF1\xEB\xE8 \"A\"\r\n\t\\";
    m.rvc_threshold_phase = 0.1f;      // shortest float text, not the widened double
    m.u_nom_phase = 0.1;
    m.identity_block.fill(0x0A);
    const QString path = m_dir.filePath(QStringLiteral("texts.cfg"));
    QString error;
    QVERIFY(SaveConfigFile(path, m, &error));

    const Run dumped = Cli({QStringLiteral("dump"), path});
    QCOMPARE(dumped.exitCode, 0);
    QVERIFY(dumped.out.contains("\"rvc_threshold_phase\": 0.1,"));
    QVERIFY(dumped.out.contains("\"u_nom_phase\": 0.1,"));
    const QJsonObject json = QJsonDocument::fromJson(dumped.out).object();
    QCOMPARE(json.value("modification").toString(), QStringLiteral("ПКЭ-1.7"));
    QCOMPARE(json.value("pulse_rules_text").toString(), QStringLiteral("Если \"A\"\r\n\t\\"));
    QCOMPARE(json.value("identity_block").toString(), QStringLiteral("0a").repeated(29));
}

void TestModelCli::dumpReportsBadFiles()
{
    QByteArray file = WriteConfig(NewConfigModel());

    const QString cut = m_dir.filePath(QStringLiteral("cut.cfg"));
    QVERIFY(WriteFile(cut, file.left(file.size() - 1)));
    Run run = Cli({QStringLiteral("dump"), cut});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QStringLiteral("error: Unexpected file format.\n"));
    QVERIFY(run.out.isEmpty());

    // Ends after identity_block: loads, with the warning on stderr.
    const QString old = m_dir.filePath(QStringLiteral("old.cfg"));
    QVERIFY(WriteFile(old, file.left(file.size() - 30)));
    run = Cli({QStringLiteral("dump"), old});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QStringLiteral("warning: В файле отсутствует информация о расчёте ПКЭ.\n"
                                     "Проверьте настройки во вкладке \"Уставки\" - \"Расчёт\".\n"));
    QVERIFY(!run.out.isEmpty());

    run = Cli({QStringLiteral("dump"), m_dir.filePath(QStringLiteral("missing.cfg"))});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.startsWith(QStringLiteral("error: ")));

    run = Cli({QStringLiteral("new"), m_dir.filePath(QStringLiteral("no/dir/x.cfg"))});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.startsWith(QStringLiteral("error: ")));
}

void TestModelCli::usage()
{
    QCOMPARE(Cli({QStringLiteral("new")}).exitCode, 2);
    QCOMPARE(Cli({QStringLiteral("dump"), QStringLiteral("a"), QStringLiteral("b")}).exitCode, 2);
}

QTEST_GUILESS_MAIN(TestModelCli)
#include "tst_modelcli.moc"
