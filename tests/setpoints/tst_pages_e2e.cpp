// Every page's read and write from the command line against the meter-sim program over TCP
// loopback: what one configuration writes, a read brings back into another.
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "common/Cp1251.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "rules/RuleCompiler.h"
#include "rules/TermDictionary.h"
#include "setpoints/SetpointBlocks.h"

#include <QTemporaryDir>
#include <QTest>

using namespace setpoints;

namespace {

// A configuration that differs from a new one on every page.
ConfigModel Changed()
{
    ConfigModel m = NewConfigModel();
    m.u_nom_phase = 230.0;
    m.u_nom_line = 398.371;
    m.phase_limits.dev[5][VoltageLimitSet::steady] = -4.5;
    m.pst_max = 1.5;
    m.f_avg_period = 1;
    m.harm_normal[3] = 444;
    m.calc_flags = 0x0123;
    m.soft_correction_s = -7;
    m.rs232_baud = 5;
    m.rvc_threshold_phase = 3.5f;
    m.time_zone = 4;
    m.groups[4].SetNameText(cp1251::Encode(u"Моя группа"));
    m.groups[4].count = 1;
    m.groups[4].parameters[0] = ParameterId{114, 2, 0};
    m.archive_mask[3] = 0x5A;
    m.deviation_limits.fill(0xFF);
    m.deviation_limits[0] = 9;
    m.deviation_limits[1] = 0;
    m.pulse_rules_text = cp1251::Encode(u"Если UA > 253 то ВЫХ1 = 1, иначе ВЫХ1 = 0.\nЕсли ВХ1 = 1 то ИМП2.");
    return m;
}

QByteArray SetpointBytes(const ConfigModel& m)
{
    return EncodeTimeBlock(m) + EncodeVoltageBlock(m) + EncodeFrequencyBlock(m) + EncodeAveragingBlock(m)
        + EncodeUnbalanceBlock(m) + EncodeHarmonicsBlock(m) + EncodeInterharmonicsBlock(m)
        + EncodeAutoCorrectionBlock(m) + EncodeSoftCorrectionBlock(m) + EncodeInterfacesBlock(m)
        + EncodeCalculationBlock(m) + EncodeRvcBlock(m);
}

QByteArray CompiledRules(const ConfigModel& m)
{
    ScriptedPrompt prompt;
    TermDictionary dictionary;
    dictionary.Load(QStringLiteral(LADOGRAF_BUILT_DICTIONARY), prompt);
    QByteArray block = EmptyControlCode();
    QStringList messages;
    if (!RuleCompiler(dictionary).Compile(m.pulse_rules_text, block, messages))
        return QByteArray("does not compile: ") + messages.join(QLatin1Char(' ')).toUtf8();
    return block;
}

// What a page carries, in a form to compare.
QByteArray PageBytes(const QString& page, const ConfigModel& m)
{
    if (page == QLatin1String("setpoints"))
        return SetpointBytes(m);
    if (page == QLatin1String("groups"))
        return GroupsToBytes(m.groups);
    if (page == QLatin1String("archive"))
        return QByteArray(reinterpret_cast<const char*>(m.archive_mask.data()), kArchiveMaskSize);
    if (page == QLatin1String("limits"))
        return QByteArray(reinterpret_cast<const char*>(m.deviation_limits.data()), kDeviationLimitsSize);
    return CompiledRules(m);
}

ConfigModel Load(const QString& path)
{
    ScriptedPrompt prompt;
    ConfigModel m = NewConfigModel();
    QString error;
    if (!LoadConfigFile(path, m, prompt, &error))
        qWarning("cannot load %s: %s", qPrintable(path), qPrintable(error));
    return m;
}

} // namespace

class PagesEndToEndTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_written;

    QStringList Link(const MeterProcess& meter) const
    {
        return {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(meter.TcpPort()), QStringLiteral("--address"),
                QStringLiteral("1"), QStringLiteral("--level"), QStringLiteral("2"), QStringLiteral("--password"),
                QStringLiteral("2222"), QStringLiteral("--yes")};
    }
    int Cli(const QStringList& arguments, QString* err = nullptr) const
    {
        QString out, errors;
        const int code = RunProgram(QStringLiteral(LADOGRAF_CLI_PATH), arguments, &out, &errors);
        if (err)
            *err = errors;
        else if (!errors.isEmpty())
            qWarning("%s", qPrintable(errors));
        return code;
    }

    QStringList ReadOrWrite(const QString& verb, const QString& page, const MeterProcess& meter, const QString& file) const
    {
        return QStringList{verb, page} + Link(meter) + QStringList{QStringLiteral("--cfg"), file};
    }
    // The fields diff names, but the meter's running clock, which each read takes afresh.
    QStringList DifferingFields(const QString& a, const QString& b) const
    {
        QString out;
        RunProgram(QStringLiteral(LADOGRAF_CLI_PATH), {QStringLiteral("diff"), a, b}, &out, nullptr);
        QStringList fields;
        for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString field = line.section(QLatin1Char(':'), 0, 0);
            if (!field.startsWith(QLatin1String("set_")))
                fields << line;
        }
        return fields;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_written = m_dir.filePath(QStringLiteral("written.cfg"));
        QString error;
        QVERIFY2(SaveConfigFile(m_written, Changed(), &error), qPrintable(error));
    }

    void writeThenReadEveryPage_data()
    {
        QTest::addColumn<QString>("page");
        for (const char* page : {"setpoints", "groups", "archive", "limits", "pulse"})
            QTest::newRow(page) << QString::fromLatin1(page);
    }
    void writeThenReadEveryPage()
    {
        QFETCH(QString, page);
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}));
        const QString read = m_dir.filePath(page + QStringLiteral("-read.cfg"));
        QVERIFY(!QFile::exists(read));

        QCOMPARE(Cli(QStringList{QStringLiteral("write"), page} + Link(meter) + QStringList{QStringLiteral("--cfg"), m_written}), 0);
        QCOMPARE(Cli(QStringList{QStringLiteral("read"), page} + Link(meter) + QStringList{QStringLiteral("--cfg"), read}), 0);

        const ConfigModel expected = Changed();
        const ConfigModel back = Load(read);
        QCOMPARE(PageBytes(page, back), PageBytes(page, expected));
        // The read adopted the meter's identity into the new file.
        QCOMPARE(back.firmware_version, QByteArray("1.7.0 / 2.1.3"));
        if (page != QLatin1String("setpoints"))
            QCOMPARE(SetpointBytes(back), SetpointBytes(NewConfigModel()));
    }

    void readAllEqualsTheFiveSingleReads()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--config"), m_written}));
        const QString all = m_dir.filePath(QStringLiteral("all.cfg"));
        const QString single = m_dir.filePath(QStringLiteral("single.cfg"));
        QCOMPARE(Cli(ReadOrWrite(QStringLiteral("read"), QStringLiteral("all"), meter, all)), 0);
        for (const char* page : {"setpoints", "groups", "archive", "limits", "pulse"})
            QCOMPARE(Cli(ReadOrWrite(QStringLiteral("read"), QString::fromLatin1(page), meter, single)), 0);
        QCOMPARE(DifferingFields(all, single), QStringList());
        const ConfigModel back = Load(all);
        for (const char* page : {"setpoints", "groups", "archive", "limits", "pulse"})
            QCOMPARE(PageBytes(QString::fromLatin1(page), back), PageBytes(QString::fromLatin1(page), Changed()));
    }

    void writeAllThenReadAllGivesTheFileBack()
    {
        // The file as a meter keeps it (single-precision values, rules as decoded), then onto
        // a meter fresh from the factory and back.
        const QString kept = m_dir.filePath(QStringLiteral("kept.cfg"));
        {
            MeterProcess source;
            QVERIFY(source.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--config"), m_written}));
            QCOMPARE(Cli(ReadOrWrite(QStringLiteral("read"), QStringLiteral("all"), source, kept)), 0);
        }
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}));
        const QString back = m_dir.filePath(QStringLiteral("back.cfg"));
        QString err;
        QCOMPARE(Cli(ReadOrWrite(QStringLiteral("write"), QStringLiteral("all"), meter, kept), &err), 0);
        QCOMPARE(Cli(ReadOrWrite(QStringLiteral("read"), QStringLiteral("all"), meter, back)), 0);
        QCOMPARE(DifferingFields(kept, back), QStringList());
        QCOMPARE(PageBytes(QStringLiteral("groups"), Load(back)), PageBytes(QStringLiteral("groups"), Changed()));
    }

    // A meter that refuses the third page: read all leaves FILE byte for byte as it was,
    // write all writes the pages before it and none after; both name the page.
    void allStopsAtTheFailingPage_data()
    {
        QTest::addColumn<QString>("verb");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("read") << "read" << "status=5@0x0B/0x01"
                              << "error: Чтение всех страниц прервано: страница 'Архивируемые данные' не считана.\n";
        QTest::newRow("write") << "write" << "status=5@0x0B/0x81"
                               << "error: Запись всех страниц прервана: страница 'Архивируемые данные' не записана.\n";
    }
    void allStopsAtTheFailingPage()
    {
        QFETCH(QString, verb);
        QFETCH(QString, fault);
        QFETCH(QString, message);
        const QString path = m_dir.filePath(verb + QStringLiteral("-failing.cfg"));
        QFile::remove(path);
        QVERIFY(QFile::copy(m_written, path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--fault"), fault}));
        QString err;
        QCOMPARE(Cli(ReadOrWrite(verb, QStringLiteral("all"), meter, path), &err), 1);
        QVERIFY2(err.endsWith(message), qPrintable(err));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);

        if (verb == QLatin1String("write")) {
            const QString read = m_dir.filePath(QStringLiteral("after-failing-write.cfg"));
            QCOMPARE(Cli(ReadOrWrite(QStringLiteral("read"), QStringLiteral("groups"), meter, read)), 0);
            QCOMPARE(Cli(ReadOrWrite(QStringLiteral("read"), QStringLiteral("limits"), meter, read)), 0);
            const ConfigModel back = Load(read);
            QCOMPARE(PageBytes(QStringLiteral("groups"), back), PageBytes(QStringLiteral("groups"), Changed()));
            QCOMPARE(PageBytes(QStringLiteral("limits"), back), PageBytes(QStringLiteral("limits"), NewConfigModel()));
        }
    }

    void meterStartedFromAConfiguration()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--config"), m_written}));
        const QString read = m_dir.filePath(QStringLiteral("from-config.cfg"));
        for (const char* page : {"setpoints", "groups", "pulse"})
            QCOMPARE(Cli(QStringList{QStringLiteral("read"), QString::fromLatin1(page)} + Link(meter) + QStringList{QStringLiteral("--cfg"), read}), 0);
        const ConfigModel back = Load(read);
        for (const char* page : {"setpoints", "groups", "pulse"})
            QCOMPARE(PageBytes(QString::fromLatin1(page), back), PageBytes(QString::fromLatin1(page), Changed()));
    }

    void anotherMetersConfigurationIsNotWritten()
    {
        ConfigModel other = Changed();
        other.firmware_version = "1.6.0 / 2.0.0";
        other.modification = cp1251::Encode(u"Ворант-ПКЭ-1.6");
        const QString path = m_dir.filePath(QStringLiteral("other.cfg"));
        QString error;
        QVERIFY(SaveConfigFile(path, other, &error));
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}));
        QString err;
        QCOMPARE(Cli(QStringList{QStringLiteral("write"), QStringLiteral("groups")} + Link(meter) + QStringList{QStringLiteral("--cfg"), path}, &err), 1);
        QCOMPARE(err, QStringLiteral("error: Конфликт версий.     \nДанные не записаны.\n"));
        const QString read = m_dir.filePath(QStringLiteral("untouched.cfg"));
        QCOMPARE(Cli(QStringList{QStringLiteral("read"), QStringLiteral("groups")} + Link(meter) + QStringList{QStringLiteral("--cfg"), read}), 0);
        QCOMPARE(GroupsToBytes(Load(read).groups), GroupsToBytes(NewConfigModel().groups));
    }

    void meterWithoutTheAveragingBlock()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--fault"),
                             QStringLiteral("status=2@0x09/0x88*-1"), QStringLiteral("--fault"),
                             QStringLiteral("status=3@0x09/0x08*-1")}));
        QString err;
        QCOMPARE(Cli(QStringList{QStringLiteral("write"), QStringLiteral("setpoints")} + Link(meter) + QStringList{QStringLiteral("--cfg"), m_written}, &err), 1);
        QCOMPARE(err, QStringLiteral("error: Не все данные были записаны!\n"));
        const QString read = m_dir.filePath(QStringLiteral("no-averaging.cfg"));
        QCOMPARE(Cli(QStringList{QStringLiteral("read"), QStringLiteral("setpoints")} + Link(meter) + QStringList{QStringLiteral("--cfg"), read}), 0);
        const ConfigModel back = Load(read);
        QCOMPARE(int(back.f_avg_period), 0);
        QCOMPARE(back.u_nom_phase, 230.0);  // the other blocks went in
    }

    void stoppedMeterRequiredForSetpoints()
    {
        // A running meter that insists on the stop mode refuses every block with 18.
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--require-stop")}));
        ConfigModel start = Changed();
        start.device_mode = 0;
        const QString path = m_dir.filePath(QStringLiteral("start.cfg"));
        QString error;
        QVERIFY(SaveConfigFile(path, start, &error));
        QString err;
        // The first write starts it (the blocks go in while it is stopped), the second is refused.
        QCOMPARE(Cli(QStringList{QStringLiteral("write"), QStringLiteral("setpoints")} + Link(meter) + QStringList{QStringLiteral("--cfg"), path}, &err), 0);
        QCOMPARE(Cli(QStringList{QStringLiteral("write"), QStringLiteral("setpoints")} + Link(meter) + QStringList{QStringLiteral("--cfg"), path}, &err), 1);
        QCOMPARE(err, QStringLiteral("error: Прибор должен быть в режиме СТОП.\nНе все данные были записаны!\n"));
    }
};

QTEST_GUILESS_MAIN(PagesEndToEndTest)
#include "tst_pages_e2e.moc"
