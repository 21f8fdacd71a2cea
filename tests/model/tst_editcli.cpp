// ladograf-cli diff and set, run as the real program.
#include "MeterProcess.h"

#include "model/ConfigFile.h"
#include "model/ConfigModel.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

using Edit = std::function<void(ConfigModel&)>;

// What one run of the program gave: exit code, stdout and stderr.
struct Run { int exitCode = -1; QString out, err; };

Run Cli(const QStringList& args)
{
    Run run;
    run.exitCode = RunProgram(QStringLiteral(LADOGRAF_CLI_PATH), args, &run.out, &run.err);
    return run;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The value at a path of keys and array indices inside a dump.
QJsonValue At(QJsonValue value, const QStringList& path)
{
    for (const QString& step : path) {
        bool isIndex = false;
        const int index = step.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(step);
    }
    return value;
}

QByteArray Hex(const QByteArray& bytes)
{
    return bytes.toHex();
}

} // namespace

class TestEditCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void diffReportsEachDifference_data();
    void diffReportsEachDifference();
    void diffJsonParses();
    void diffUsageAndFileErrors();
    void setThenDumpShowsTheValue_data();
    void setThenDumpShowsTheValue();
    void setRefusesAndLeavesTheFile_data();
    void setRefusesAndLeavesTheFile();
    void setUsageAndFileErrors();

private:
    QString Save(const QString& name, const ConfigModel& model);

    QTemporaryDir m_dir;
    QString m_new;
};

void TestEditCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_new = Save(QStringLiteral("new.cfg"), NewConfigModel());
}

QString TestEditCli::Save(const QString& name, const ConfigModel& model)
{
    const QString path = m_dir.filePath(name);
    QString error;
    if (!SaveConfigFile(path, model, &error))
        qWarning() << error;
    return path;
}

void TestEditCli::diffReportsEachDifference_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("expected");

    QTest::newRow("same file") << Edit([](ConfigModel&) {}) << QString();
    QTest::newRow("one field in each section")
        << Edit([](ConfigModel& m) {
               m.connection_address = 12345;
               m.harm_max[9] = 600;
               m.phase_limits.dev[5][0] = -4.5;
               m.gprs_apn[1] = "\xE8\xED\xF2";   // "инт"
               m.device_address = 17;
               m.calc_choice[3] = 1;
               m.rvc_hysteresis_line = 40.5f;
           })
        << QStringLiteral("connection_address: 0 -> 12345\n"
                          "phase_limits.dev[5][0]: -5 -> -4.5\n"
                          "harm_max[9]: 525 -> 600\n"
                          "gprs_apn[1]: \"internet\" -> \"инт\"\n"
                          "device_address: 0 -> 17\n"
                          "calc_choice[3]: 2 -> 1\n"
                          "rvc_hysteresis_line: 50 -> 40.5\n");
    // The file keeps the sign of a zero; a comparison by value would hide it.
    QTest::newRow("negative zero") << Edit([](ConfigModel& m) { m.pst_max = 0.0; m.plt_max = -0.0; })
                                   << QStringLiteral("pst_max: 1.38 -> 0\nplt_max: 1 -> -0\n");
    QTest::newRow("group order")
        << Edit([](ConfigModel& m) { std::swap(m.groups[4], m.groups[5]); })
        << QStringLiteral("groups[4]: {\"count\": 0, \"name\": \"Группа 5\", \"parameters\": []} -> "
                          "{\"count\": 0, \"name\": \"Группа 6\", \"parameters\": []}\n"
                          "groups[5]: {\"count\": 0, \"name\": \"Группа 6\", \"parameters\": []} -> "
                          "{\"count\": 0, \"name\": \"Группа 5\", \"parameters\": []}\n");
    QTest::newRow("group parameter")
        << Edit([](ConfigModel& m) { m.groups[2].parameters[1] = ParameterId{10, 2, 0}; m.groups[2].count = 2; })
        << QStringLiteral("groups[2]: {\"count\": 24, \"name\": \"Гармоники\", \"parameters\": [[9, 0], [9, 1], [9, 2], "
                          "[9, 3], [9, 4], [9, 5], [11, 0], [11, 1], [11, 2], [11, 3], [11, 4], [11, 5], [13, 0], [13, 1], "
                          "[13, 2], [13, 3], [13, 4], [13, 5], [15, 0], [15, 1], [15, 2], [15, 3], [15, 4], [15, 5]]} -> "
                          "{\"count\": 2, \"name\": \"Гармоники\", \"parameters\": [[9, 0], [10, 2]]}\n");
    // A byte after the name's zero means nothing to the meter but is in the file.
    QTest::newRow("group hidden byte")
        << Edit([](ConfigModel& m) { m.groups[5].name[15] = 'x'; })
        << QStringLiteral("groups[5]: {\"count\": 0, \"name\": \"Группа 6\", \"parameters\": [], \"bytes\": \"%1\"} -> "
                          "{\"count\": 0, \"name\": \"Группа 6\", \"parameters\": [], \"bytes\": \"%2\"}\n")
               .arg(QString::fromLatin1(Hex(NewConfigModel().groups[5].ToBytes())),
                    QString::fromLatin1(Hex(NewConfigModel().groups[5].ToBytes().replace(17, 1, "x"))));
    QTest::newRow("archive records")
        << Edit([](ConfigModel& m) { m.archive_mask[7] = 0x7F; m.archive_mask[40 + 15] = 0x00; })
        << QStringLiteral("archive_mask.minute: \"ffffffffffffffff\" -> \"ffffffffffffff7f\"\n"
                          "archive_mask.daily: \"ffffffffffffffffffffffffffffffff\" -> \"ffffffffffffffffffffffffffffff00\"\n");
    QTest::newRow("limit slot")
        << Edit([](ConfigModel& m) {
               // Slot 3: code 9, phase 1, upper 1.5, lower -0.25.
               const char slot[] = "\x09\x01\x00\x00\xC0\x3F\x00\x00\x80\xBE";
               std::copy(slot, slot + 10, m.deviation_limits.begin() + 30);
           })
        << QStringLiteral("deviation_limits[3]: {\"code\": 255, \"phase\": 255, \"upper\": null, \"lower\": null} -> "
                          "{\"code\": 9, \"phase\": 1, \"upper\": 1.5, \"lower\": -0.25}\n");
}

void TestEditCli::diffReportsEachDifference()
{
    QFETCH(Edit, edit);
    QFETCH(QString, expected);
    ConfigModel b = NewConfigModel();
    edit(b);
    const QString other = Save(QStringLiteral("b.cfg"), b);

    const Run run = Cli({QStringLiteral("diff"), m_new, other});
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    QCOMPARE(run.out, expected);
    QCOMPARE(run.exitCode, expected.isEmpty() ? 0 : 1);
}

void TestEditCli::diffJsonParses()
{
    ConfigModel b = NewConfigModel();
    b.modification = "\xCF\xCA\xDD \"1.7\"";   // ПКЭ "1.7"
    b.reference_nominal = false;
    b.u_nom_phase = std::numeric_limits<double>::quiet_NaN();
    std::swap(b.groups[0], b.groups[1]);
    const QString other = Save(QStringLiteral("json.cfg"), b);

    const Run run = Cli({QStringLiteral("diff"), m_new, other, QStringLiteral("--json")});
    QCOMPARE(run.exitCode, 1);
    QJsonParseError error;
    const QJsonArray list = QJsonDocument::fromJson(run.out.toUtf8(), &error).array();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(list.size(), 5);
    QCOMPARE(list[0].toObject(), (QJsonObject{{"field", "modification"}, {"a", ""}, {"b", "ПКЭ \"1.7\""}}));
    QCOMPARE(list[1].toObject(), (QJsonObject{{"field", "u_nom_phase"}, {"a", 220}, {"b", QJsonValue::Null}}));
    QCOMPARE(list[2].toObject(), (QJsonObject{{"field", "reference_nominal"}, {"a", true}, {"b", false}}));
    QCOMPARE(list[3].toObject().value("field").toString(), QStringLiteral("groups[0]"));
    QCOMPARE(list[3].toObject().value("b").toObject().value("name").toString(), QStringLiteral("ПКЭ"));
    QCOMPARE(list[3].toObject().value("b").toObject().value("parameters").toArray().size(), 34);

    const Run same = Cli({QStringLiteral("diff"), m_new, m_new, QStringLiteral("--json")});
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(same.out, QStringLiteral("[]\n"));
}

void TestEditCli::diffUsageAndFileErrors()
{
    const QString missing = m_dir.filePath(QStringLiteral("missing.cfg"));
    const QString cut = m_dir.filePath(QStringLiteral("cut.cfg"));
    QFile file(cut);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(FileBytes(m_new).left(100));
    file.close();

    for (const QStringList& args : {QStringList{m_new}, QStringList{m_new, m_new, m_new},
                                    QStringList{m_new, m_new, QStringLiteral("--jsn")}, QStringList{m_new, missing},
                                    QStringList{cut, m_new}}) {
        const Run run = Cli(QStringList{QStringLiteral("diff")} + args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(!run.err.isEmpty());
    }
    QVERIFY(Cli({QStringLiteral("diff"), cut, m_new}).err.contains(QStringLiteral("Unexpected file format.")));
}

void TestEditCli::setThenDumpShowsTheValue_data()
{
    QTest::addColumn<QString>("assignment");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QJsonValue>("expected");

    QByteArray groups = GroupsToBytes(NewConfigModel().groups);
    groups.replace(218 * 4 + 2, 8, "Zapas\0\0\0", 8);
    const QString mask = QStringLiteral("00").repeated(56);

    QTest::newRow("i32") << "connection_address=-2147483648" << QStringList{"connection_address"} << QJsonValue(-2147483648.0);
    QTest::newRow("u16 top") << "ku_max=65535" << QStringList{"ku_max"} << QJsonValue(65535);
    QTest::newRow("i16 bottom") << "df_max_down=-32768" << QStringList{"df_max_down"} << QJsonValue(-32768);
    QTest::newRow("u8") << "time_zone=255" << QStringList{"time_zone"} << QJsonValue(255);
    QTest::newRow("bool") << "reference_nominal=false" << QStringList{"reference_nominal"} << QJsonValue(false);
    QTest::newRow("f64") << "u_nom_phase=57.735" << QStringList{"u_nom_phase"} << QJsonValue(57.735);
    QTest::newRow("array element") << "harm_max[48]=7" << QStringList{"harm_max", "48"} << QJsonValue(7);
    QTest::newRow("limit level") << "line_limits.swell_level=12.5" << QStringList{"line_limits", "swell_level"}
                                 << QJsonValue(12.5);
    QTest::newRow("limit slot") << "phase_limits.dev[7][2]=4.5" << QStringList{"phase_limits", "dev", "7", "2"}
                                << QJsonValue(4.5);
    QTest::newRow("plain text") << "modification=ПКЭ-1.7" << QStringList{"modification"} << QJsonValue("ПКЭ-1.7");
    QTest::newRow("json text") << "gprs_extra[0]=\"a\\\"b\\n\"" << QStringList{"gprs_extra", "0"} << QJsonValue("a\"b\n");
    QTest::newRow("longest name") << "gprs_apn[1]=" + QString(50, QLatin1Char('n')) << QStringList{"gprs_apn", "1"}
                                  << QJsonValue(QString(50, QLatin1Char('n')));
    QTest::newRow("address bottom") << "device_address=1" << QStringList{"device_address"} << QJsonValue(1);
    QTest::newRow("threshold top") << "rvc_threshold_line=60" << QStringList{"rvc_threshold_line"} << QJsonValue(60);
    QTest::newRow("hysteresis bottom") << "rvc_hysteresis_phase=20" << QStringList{"rvc_hysteresis_phase"}
                                       << QJsonValue(20);
    QTest::newRow("correction") << "soft_correction_s=-20" << QStringList{"soft_correction_s"} << QJsonValue(-20);
    QTest::newRow("raw") << "archive_mask=" + mask << QStringList{"archive_mask"} << QJsonValue(mask);
    QTest::newRow("raw quoted, upper case") << "identity_block=\"" + QStringLiteral("0A").repeated(29) + '"'
                                            << QStringList{"identity_block"} << QJsonValue(QStringLiteral("0a").repeated(29));
    QTest::newRow("groups") << "groups=" + QString::fromLatin1(groups.toHex()) << QStringList{"groups"}
                            << QJsonValue(QString::fromLatin1(groups.toHex()));
}

void TestEditCli::setThenDumpShowsTheValue()
{
    QFETCH(QString, assignment);
    QFETCH(QStringList, path);
    QFETCH(QJsonValue, expected);
    const QString file = Save(QStringLiteral("set.cfg"), NewConfigModel());

    const Run set = Cli({QStringLiteral("set"), file, assignment});
    QVERIFY2(set.err.isEmpty(), qPrintable(set.err));
    QCOMPARE(set.exitCode, 0);
    const Run dump = Cli({QStringLiteral("dump"), file});
    QCOMPARE(dump.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(dump.out.toUtf8()).object();
    QCOMPARE(At(json, path), expected);
    // Nothing else moved.
    const Run diff = Cli({QStringLiteral("diff"), m_new, file});
    for (const QString& line : diff.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QVERIFY2(line.startsWith(path.front()), qPrintable(line));
}

void TestEditCli::setRefusesAndLeavesTheFile_data()
{
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<QString>("message");

    const auto row = [](const char* name, const QStringList& assignments, const QString& message) {
        QTest::newRow(name) << assignments << message;
    };
    row("u16 above", {"ku_max=65536"}, "ku_max: 65536 вне диапазона 0..65535");
    row("i16 below", {"df_max_up=-32769"}, "df_max_up: -32769 вне диапазона -32768..32767");
    row("u8 negative", {"calc_choice[0]=-1"}, "calc_choice[0]: -1 вне диапазона 0..255");
    row("not an integer", {"f_nom=50.0"}, "f_nom: «50.0» не целое число");
    row("address zero", {"device_address=0"}, "device_address: 0 вне диапазона 1..65535");
    row("threshold", {"rvc_threshold_phase=0.5"}, "rvc_threshold_phase: 0.5 вне диапазона 1..60");
    row("hysteresis", {"rvc_hysteresis_line=80.5"}, "rvc_hysteresis_line: 80.5 вне диапазона 20..80");
    row("automatic correction", {"auto_correction_s=9"}, "auto_correction_s: 9 вне диапазона -8..8");
    row("programmed correction", {"soft_correction_s=-21"}, "soft_correction_s: -21 вне диапазона -20..20");
    row("f32 overflow", {"rvc_threshold_line=1e39"}, "rvc_threshold_line: 1e39 не помещается в число f32");
    row("not finite", {"pst_max=inf"}, "pst_max: «inf» не число");
    row("bool", {"reference_nominal=1"}, "reference_nominal: нужно true или false");
    row("misspelt", {"devise_address=5"}, "devise_address: такого поля нет (похожие: device_address)");
    row("misspelt member", {"phase_limits.dip_levl=1"}, "phase_limits.dip_levl: такого поля нет (похожие: phase_limits.dip_level)\n");
    row("not stored", {"address_write_flag=1"}, "address_write_flag: такого поля нет");
    row("index", {"harm_max[49]=1"}, "harm_max[49]: индекс вне диапазона: harm_max[0..48]");
    row("no index", {"calc_choice=1"}, "calc_choice: укажите элемент: calc_choice[0..8]");
    row("limit slot", {"line_limits.dev[7][3]=1"}, "индекс вне диапазона: line_limits.dev[0..7][0..2]");
    row("not cp1251", {"pulse_rules_text=€ ok ✓"}, "pulse_rules_text: в тексте есть символы, которых нет в cp1251");
    row("text too long", {"gprs_extra[1]=" + QString(46, QLatin1Char('x'))}, "gprs_extra[1]: текст длиннее 45 символов");
    row("raw short", {"identity_block=0a0a"}, "identity_block: нужно ровно 58 шестнадцатеричных цифр (29 байт)");
    row("raw not hex", {"archive_mask=" + QStringLiteral("fg").repeated(56)}, "archive_mask: нужно ровно 112");
    row("no value", {"ku_max"}, "ku_max: нужно ИМЯ=ЗНАЧЕНИЕ");
    row("one bad of three", {"ku_max=1300", "ku_mx=1", "harm_max[9]=600"},
        "ku_mx: такого поля нет (похожие: ku_max, k2u_max, k0u_max)");
}

void TestEditCli::setRefusesAndLeavesTheFile()
{
    QFETCH(QStringList, assignments);
    QFETCH(QString, message);
    ConfigModel model = NewConfigModel();
    model.modification = "\xCF\xCA\xDD";
    const QString file = Save(QStringLiteral("refuse.cfg"), model);
    const QByteArray before = FileBytes(file);

    const Run run = Cli(QStringList{QStringLiteral("set"), file} + assignments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.err.startsWith(QStringLiteral("error: ")));
    QCOMPARE(FileBytes(file), before);
}

void TestEditCli::setUsageAndFileErrors()
{
    QCOMPARE(Cli({QStringLiteral("set"), m_new}).exitCode, 2);
    QCOMPARE(Cli({QStringLiteral("set"), m_new, QStringLiteral("--force"), QStringLiteral("ku_max=1")}).exitCode, 2);

    const QString missing = m_dir.filePath(QStringLiteral("none.cfg"));
    const Run run = Cli({QStringLiteral("set"), missing, QStringLiteral("ku_max=1")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.startsWith(QStringLiteral("error: ")));
    QVERIFY(!QFile::exists(missing));
}

QTEST_GUILESS_MAIN(TestEditCli)
#include "tst_editcli.moc"
