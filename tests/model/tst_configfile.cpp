#include "model/ConfigFile.h"
#include "model/ConfigModel.h"

#include "ScriptedPrompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

template <class T>
QByteArray LE(T value)
{
    QByteArray bytes(sizeof(T), '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A configuration where neighbouring fields hold different values, so that any field out
// of place shows. Texts have known lengths: modification 2, firmware_version 4,
// pulse_rules_text 5, gprs_apn 3 and 0, gprs_extra 1 and 2.
ConfigModel Probe()
{
    ConfigModel m = NewConfigModel();
    m.connection_address = -123456;
    m.modification = "M1";
    m.firmware_version = "\xC2\xE5\xF0\x31";   // "Вер1"
    m.u_nom_phase = 57.735;
    m.u_nom_line = 100.25;
    m.ratio_index = 3;
    m.wiring_scheme = 0;
    m.input_type = 1;
    m.reference_nominal = false;
    for (VoltageLimitSet* set : {&m.line_limits, &m.phase_limits}) {
        const double base = set == &m.line_limits ? 1000 : 2000;
        set->dip_level = -base - 1;
        set->swell_level = base + 2;
        set->interruption_level = -base - 3;
        for (int slot = 0; slot < 8; ++slot)
            for (int column = 0; column < 3; ++column)
                set->dev[size_t(slot)][size_t(column)] = base + 10 * slot + column + 0.5;
    }
    m.ku_max = 1201;
    m.ku_normal = 802;
    m.k2u_max = 403;
    m.k2u_normal = 204;
    m.k0u_max = 405;
    m.k0u_normal = 206;
    for (int i = 0; i < kHarmonicCount; ++i) {
        m.harm_normal[size_t(i)] = quint16(1000 + i);
        m.harm_max[size_t(i)] = quint16(2000 + i);
        m.iharm_normal[size_t(i)] = quint16(3000 + i);
        m.iharm_max[size_t(i)] = quint16(4000 + i);
    }
    m.coeff_auto = 0;
    m.f_nom = 60000;
    m.df_max_up = 41;
    m.df_normal_up = 21;
    m.df_max_down = -41;
    m.df_normal_down = -21;
    m.pst_max = 1.1;
    m.pst_normal = 1.2;
    m.plt_max = 1.3;
    m.plt_normal = 1.4;
    m.summer_month = 3;
    m.summer_day = 28;
    m.set_year = 2031;
    m.set_month = 12;
    m.set_day = 30;
    m.set_second = 45;
    m.set_minute = 46;
    m.set_hour = 23;
    for (int i = 0; i < kLoadPeriodBoundaries; ++i) {
        m.load_period_minute[size_t(i)] = 30 + i;
        m.load_period_hour[size_t(i)] = 10 + i;
    }
    m.winter_month = 10;
    m.winter_day = 27;
    m.auto_correction_s = -8;
    m.soft_correction_s = 19;
    m.week_start_day = 6;
    m.day_start_hour = 4;
    m.time_zone = 3;
    m.summer_auto = 0;
    m.winter_auto = 2;
    m.dst_mode = 1;
    m.use_pc_time = 1;
    m.write_time = 7;
    m.clear_archive_three_wire = 0;
    m.rs232_mode_ext = 1;
    m.rs232_mode = 2;
    m.rs232_baud = 8;
    m.modem_rings = 255;
    m.sys_byte4 = 0x77;
    m.rs485_mode = 5;
    m.rs485_baud = 9;
    m.device_mode = 4;
    m.calc_opt_a = 0;
    m.calc_opt_b = 9;
    // Group records as a meter may leave them: bytes after the name's zero byte, entries
    // beyond the count, a count above 50.
    m.groups[0].name[12] = 'Z';
    m.groups[2].parameters[49] = ParameterId{0x1234, 0x56, 0x78};
    m.groups[5].count = 0xFFFF;
    m.groups[5].name.fill('N');
    for (int i = 0; i < kArchiveMaskSize; ++i)
        m.archive_mask[size_t(i)] = quint8(i);
    m.calc_flags = 0xF00D;
    for (int i = 0; i < kCalcChoiceCount; ++i)
        m.calc_choice[size_t(i)] = quint8(0x30 + i);
    m.calc_spare = 0x3F;
    m.pulse_rules_text = "\xC5\xF1\xEB\xE8 ";   // "Если "
    for (int i = 0; i < kDeviationLimitsSize; ++i)
        m.deviation_limits[size_t(i)] = quint8(i * 7);
    m.gprs_wait_a = {16, 17};
    m.gprs_wait_b = {18, 19};
    m.gprs_apn = {QByteArray("apn"), QByteArray()};
    m.gprs_extra = {QByteArray("x"), QByteArray("yz")};
    m.device_address = 0xBEEF;
    for (int i = 0; i < kIdentityBlockSize; ++i)
        m.identity_block[size_t(i)] = quint8(0xC0 + i);
    m.rvc_threshold_phase = 1.5f;
    m.rvc_hysteresis_phase = 20.25f;
    m.rvc_threshold_line = 59.75f;
    m.rvc_hysteresis_line = 79.5f;
    m.f_avg_period = 1;
    return m;
}

// Origins of the probe file, counted by hand from the field sizes.
constexpr int kProbeR = 4 + (1 + 2) + (1 + 4);
constexpr int kProbeS = kProbeR + 2445 + (1 + 5);
constexpr int kProbeT = kProbeS + 500 + (2 + 1 + 3 + 1 + 1) + (2 + 1 + 0 + 1 + 2);
constexpr int kProbeSize = kProbeT + 61;

// The model the reader starts from in the truncation tests: differs from Probe() in every
// field the tolerant blocks may leave alone.
ConfigModel Before()
{
    ConfigModel m = NewConfigModel();
    m.gprs_wait_a = {40, 41};
    m.gprs_apn = {QByteArray("old"), QByteArray("old2")};
    m.device_address = 777;
    m.identity_block.fill(0xAB);
    m.calc_flags = 0x1234;
    m.calc_choice.fill(1);
    m.calc_spare = 9;
    m.rvc_threshold_phase = 33.5f;
    m.rvc_hysteresis_line = 21.0f;
    m.f_avg_period = 7;
    m.address_write_flag = 1;
    return m;
}

QByteArray CalcBytes(const ConfigModel& m)
{
    QByteArray bytes = LE(m.calc_flags);
    bytes.append(reinterpret_cast<const char*>(m.calc_choice.data()), kCalcChoiceCount);
    bytes.append(char(m.calc_spare));
    return bytes;
}

// The probe file with a different text put into modification (first string, at offset 4).
QByteArray WithModificationPrefix(const QByteArray& stringBytes)
{
    ConfigModel m = NewConfigModel();
    QByteArray file = WriteConfig(m);
    file.replace(4, 1, stringBytes);   // the new model's modification is empty: one byte 00
    return file;
}

} // namespace

class TestConfigFile : public QObject {
    Q_OBJECT

private slots:
    void newConfigurationSize();
    void fieldOffsets_data();
    void fieldOffsets();
    void limitSetsColumnByColumn();
    void roundTripIsByteExact();
    void booleanReadsAnyNonZero();
    void lengthPrefixes_data();
    void lengthPrefixes();
    void wideStrings_data();
    void wideStrings();
    void malformedLengths_data();
    void malformedLengths();
    void truncatedAtEveryLength();
    void fileLoadAndSave();
    void failedSaveKeepsPreviousFile();
};

void TestConfigFile::newConfigurationSize()
{
    const QByteArray file = WriteConfig(NewConfigModel());
    QCOMPARE(file.size(), 3021 + 2 * int(qstrlen(kDefaultGprsApn)));
    QCOMPARE(WriteConfig(Probe()).size(), kProbeSize);
}

void TestConfigFile::fieldOffsets_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");
    const ConfigModel m = Probe();
    const int R = kProbeR, S = kProbeS, T = kProbeT;
    const auto row = [](const char* name, int offset, const QByteArray& bytes) {
        QTest::newRow(name) << offset << bytes;
    };
    row("connection_address", 0, LE(m.connection_address));
    row("modification", 4, QByteArray("\x02M1", 3));
    row("firmware_version", 7, QByteArray("\x04\xC2\xE5\xF0\x31"));
    row("u_nom_phase", R + 0, LE(m.u_nom_phase));
    row("u_nom_line", R + 8, LE(m.u_nom_line));
    row("ratio_index", R + 16, LE(m.ratio_index));
    row("wiring_scheme", R + 20, LE(m.wiring_scheme));
    row("input_type", R + 24, LE(m.input_type));
    row("reference_nominal", R + 28, QByteArray(1, '\0'));
    row("line dip/swell/interruption", R + 29, LE(-1001.0) + LE(1002.0) + LE(-1003.0));
    row("phase dip/swell/interruption", R + 245, LE(-2001.0) + LE(2002.0) + LE(-2003.0));
    row("coefficients", R + 461, LE<quint16>(1201) + LE<quint16>(802) + LE<quint16>(403)
                                     + LE<quint16>(204) + LE<quint16>(405) + LE<quint16>(206));
    row("harmonics i=0", R + 473, LE<quint16>(1000) + LE<quint16>(2000) + LE<quint16>(3000) + LE<quint16>(4000));
    row("harmonics i=48", R + 473 + 48 * 8, LE<quint16>(1048) + LE<quint16>(2048) + LE<quint16>(3048) + LE<quint16>(4048));
    row("coeff_auto", R + 865, LE(m.coeff_auto));
    row("f_nom", R + 869, LE(m.f_nom));
    row("frequency deviations", R + 871, LE<qint16>(41) + LE<qint16>(21) + LE<qint16>(-41) + LE<qint16>(-21));
    row("flicker", R + 879, LE(1.1) + LE(1.2) + LE(1.3) + LE(1.4));
    row("summer, set date and time", R + 911, LE(3) + LE(28) + LE(2031) + LE(12) + LE(30) + LE(45) + LE(46) + LE(23));
    row("load periods 0", R + 943, LE(30) + LE(10));
    row("load periods 7", R + 943 + 7 * 8, LE(37) + LE(17));
    row("winter..day start", R + 1007, LE(10) + LE(27) + LE(-8) + LE(19) + LE(6) + LE(4));
    row("time zone, auto, dst", R + 1031, QByteArray("\x03\x00\x02\x01", 4));
    row("pc time, write time, archive", R + 1035, LE(1) + LE(7) + LE(0));
    row("device_mode", R + 1047, LE(4));
    row("system", R + 1051, LE(1) + LE(2) + LE(8) + LE(255) + LE(0x77) + LE(5) + LE(9));
    row("calc options", R + 1079, QByteArray("\x00\x09", 2));
    row("group 1 count and name", R + 1081, LE<quint16>(16) + QByteArray("\xCD\xE0\xEF\xF0\xFF\xE6\xE5\xED\xE8\xE5\0\0Z\0\0\0", 16));
    row("group 3 last entry", R + 1081 + 2 * 218 + 214, QByteArray("\x34\x12\x56\x78"));
    row("group 6 count", R + 1081 + 5 * 218, QByteArray("\xFF\xFF" "NNNNNNNNNNNNNNNN"));
    row("archive_mask", R + 2389, QByteArray("\x00\x01\x02", 3));
    row("archive_mask end", R + 2444, QByteArray("\x37"));
    row("pulse_rules_text", R + 2445, QByteArray("\x05\xC5\xF1\xEB\xE8 "));
    row("deviation_limits", S, QByteArray("\x00\x07\x0E", 3));
    row("deviation_limits end", S + 499, QByteArray(1, char(quint8(499 * 7))));
    row("gprs profile 0", S + 500, QByteArray("\x10\x12\x03" "apn" "\x01x"));
    row("gprs profile 1", S + 508, QByteArray("\x11\x13\x00\x02yz", 6));
    row("device_address", T, LE<quint16>(0xBEEF));
    row("identity_block", T + 2, QByteArray("\xC0\xC1"));
    row("identity_block end", T + 30, QByteArray("\xDC"));
    row("calculation block", T + 31, CalcBytes(m));
    row("rvc", T + 43, LE(1.5f) + LE(20.25f) + LE(59.75f) + LE(79.5f));
    row("f_avg_period", T + 59, LE<quint16>(1));
}

void TestConfigFile::fieldOffsets()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QCOMPARE(WriteConfig(Probe()).mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
}

void TestConfigFile::limitSetsColumnByColumn()
{
    // In the file: column 0 slots 0..7, column 1 slots 0..7, column 2 slots 0..7.
    const QByteArray file = WriteConfig(Probe());
    for (int set = 0; set < 2; ++set) {
        const int start = kProbeR + (set == 0 ? 53 : 269);
        const double base = set == 0 ? 1000 : 2000;
        for (int column = 0; column < 3; ++column)
            for (int slot = 0; slot < 8; ++slot)
                QCOMPARE(qFromLittleEndian<double>(file.constData() + start + 8 * (8 * column + slot)),
                         base + 10 * slot + column + 0.5);
    }
}

void TestConfigFile::roundTripIsByteExact()
{
    const QByteArray file = WriteConfig(Probe());
    ConfigModel loaded;
    ScriptedPrompt prompt;
    QString error;
    QVERIFY(ReadConfig(file, loaded, prompt, &error));
    QVERIFY(prompt.shown().isEmpty());
    QCOMPARE(WriteConfig(loaded), file);
    ConfigModel expected = Probe();
    expected.address_write_flag = loaded.address_write_flag;
    QVERIFY(loaded == expected);

    // Bytes after the last field are ignored.
    ConfigModel withTail;
    QVERIFY(ReadConfig(file + "trailing", withTail, prompt, &error));
    QVERIFY(withTail == loaded);
}

void TestConfigFile::booleanReadsAnyNonZero()
{
    QByteArray file = WriteConfig(Probe());
    file[kProbeR + 28] = 0x02;
    ConfigModel m;
    ScriptedPrompt prompt;
    QVERIFY(ReadConfig(file, m, prompt, nullptr));
    QCOMPARE(m.reference_nominal, true);
    const QByteArray again = WriteConfig(m);
    QCOMPARE(again[kProbeR + 28], '\x01');
    file[kProbeR + 28] = 0x01;
    QCOMPARE(again, file);
}

void TestConfigFile::lengthPrefixes_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("prefix");
    QTest::newRow("0") << 0 << QByteArray::fromHex("00");
    QTest::newRow("254") << 254 << QByteArray::fromHex("fe");
    QTest::newRow("255") << 255 << QByteArray::fromHex("ffff00");
    QTest::newRow("65533") << 65533 << QByteArray::fromHex("fffdff");
    QTest::newRow("65534") << 65534 << QByteArray::fromHex("fffffffeff0000");
    QTest::newRow("70000") << 70000 << QByteArray::fromHex("ffffff70110100");
}

void TestConfigFile::lengthPrefixes()
{
    QFETCH(int, length);
    QFETCH(QByteArray, prefix);
    ConfigModel m = NewConfigModel();
    m.modification = QByteArray(length, '\xE9');
    m.pulse_rules_text = QByteArray(length, 'r');
    const QByteArray file = WriteConfig(m);
    QCOMPARE(file.mid(4, prefix.size()).toHex(), prefix.toHex());
    QCOMPARE(file.size(), 3021 + 2 * int(qstrlen(kDefaultGprsApn)) + 2 * (length + prefix.size() - 1));

    ConfigModel loaded;
    QString error;
    ScriptedPrompt prompt;
    QVERIFY2(ReadConfig(file, loaded, prompt, &error), qPrintable(error));
    QCOMPARE(loaded.modification, m.modification);
    QCOMPARE(loaded.pulse_rules_text, m.pulse_rules_text);
    QCOMPARE(WriteConfig(loaded), file);
}

void TestConfigFile::wideStrings_data()
{
    QTest::addColumn<QByteArray>("stored");   // prefix and characters
    QTest::addColumn<QByteArray>("text");     // cp1251 bytes in the model

    // "Пр" as UTF-16LE after the marker FF FE FF.
    QTest::newRow("short") << QByteArray::fromHex("fffeff021f044004") << QByteArray("\xCF\xF0");
    QTest::newRow("empty") << QByteArray::fromHex("fffeff00") << QByteArray();
    QTest::newRow("no cp1251 byte") << QByteArray::fromHex("fffeff0241002d4e") << QByteArray("A?");
    QByteArray longWide = QByteArray::fromHex("fffeffff2c01");
    for (int i = 0; i < 300; ++i)
        longWide += QByteArray::fromHex("3004");   // "а"
    QTest::newRow("300 characters") << longWide << QByteArray(300, '\xE0');
    // An 8-bit string whose length happens to use the u16 form is not wide.
    QTest::newRow("8-bit u16 length") << QByteArray::fromHex("ff0001") + QByteArray(256, 'b') << QByteArray(256, 'b');
}

void TestConfigFile::wideStrings()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, text);
    ConfigModel m;
    ScriptedPrompt prompt;
    QString error;
    QVERIFY2(ReadConfig(WithModificationPrefix(stored), m, prompt, &error), qPrintable(error));
    QCOMPARE(m.modification, text);
    QCOMPARE(m.u_nom_phase, 220.0);   // the fields after it are read from the right place
    QCOMPARE(m.gprs_apn[1], QByteArray(kDefaultGprsApn));
}

void TestConfigFile::malformedLengths_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("u32 beyond the end") << QByteArray::fromHex("ffffffffffffff");
    QTest::newRow("u32 just beyond the end") << QByteArray::fromHex("ffffff") + LE<quint32>(3100);
    QTest::newRow("u16 beyond the end") << QByteArray::fromHex("fffdff");
    QTest::newRow("wide u32 beyond the end") << QByteArray::fromHex("fffeffffffffffffffff");
    QTest::newRow("wide length counts 16-bit characters") << QByteArray::fromHex("fffeffff0008");
}

void TestConfigFile::malformedLengths()
{
    QFETCH(QByteArray, stored);
    ConfigModel m = Probe();
    ScriptedPrompt prompt;
    QString error;
    QVERIFY(!ReadConfig(WithModificationPrefix(stored), m, prompt, &error));
    QCOMPARE(error, QStringLiteral("Unexpected file format."));
    QCOMPARE(WriteConfig(m), WriteConfig(Probe()));
    QVERIFY(prompt.shown().isEmpty());
}

void TestConfigFile::truncatedAtEveryLength()
{
    const QByteArray file = WriteConfig(Probe());
    QCOMPARE(file.size(), kProbeSize);
    const ConfigModel before = Before();
    const ConfigModel probe = Probe();

    // The fields after the calculation block keep the values they had before the load.
    const auto keepTail = [&before](ConfigModel& expected) {
        expected.rvc_threshold_phase = before.rvc_threshold_phase;
        expected.rvc_hysteresis_phase = before.rvc_hysteresis_phase;
        expected.rvc_threshold_line = before.rvc_threshold_line;
        expected.rvc_hysteresis_line = before.rvc_hysteresis_line;
        expected.f_avg_period = before.f_avg_period;
    };

    for (int length = 0; length <= file.size(); ++length) {
        ConfigModel m = before;
        ScriptedPrompt prompt;
        QString error;
        const bool ok = ReadConfig(file.left(length), m, prompt, &error);
        const QString where = QStringLiteral("cut at %1").arg(length);

        ConfigModel expected = probe;
        expected.address_write_flag = before.address_write_flag;
        bool expectOk = true;
        bool expectWarning = false;
        if (length < kProbeS + 500 || (length >= kProbeT && length < kProbeT + 31)
            || (length >= kProbeT + 43 && length < kProbeT + 61)) {
            expectOk = false;
            expected = before;
        } else if (length < kProbeT) {
            // Inside the GPRS block: its defaults; what comes after keeps its old value.
            for (int p = 0; p < 2; ++p) {
                expected.gprs_wait_a[size_t(p)] = 15;
                expected.gprs_wait_b[size_t(p)] = 15;
                expected.gprs_apn[size_t(p)] = kDefaultGprsApn;
                expected.gprs_extra[size_t(p)].clear();
            }
            expected.device_address = before.device_address;
            expected.identity_block = before.identity_block;
            expected.calc_flags = before.calc_flags;
            expected.calc_choice = before.calc_choice;
            expected.calc_spare = before.calc_spare;
            keepTail(expected);
        } else if (length < kProbeT + 43) {
            // Inside the calculation block: the bytes that are there, old bytes for the rest.
            expectWarning = true;
            const int there = length - (kProbeT + 31);
            const QByteArray calc = CalcBytes(probe).left(there) + CalcBytes(before).mid(there);
            expected.calc_flags = qFromLittleEndian<quint16>(calc.constData());
            for (int i = 0; i < kCalcChoiceCount; ++i)
                expected.calc_choice[size_t(i)] = quint8(calc[2 + i]);
            expected.calc_spare = quint8(calc[11]);
            keepTail(expected);
        }

        QVERIFY2(ok == expectOk, qPrintable(where));
        QVERIFY2(m == expected, qPrintable(where));
        if (!expectOk)
            QCOMPARE(error, QStringLiteral("Unexpected file format."));
        if (expectWarning) {
            QCOMPARE(prompt.kinds(), QStringList{QStringLiteral("warning")});
            QCOMPARE(prompt.texts().front(),
                     QStringLiteral("В файле отсутствует информация о расчёте ПКЭ.\nПроверьте настройки во вкладке \"Уставки\" - \"Расчёт\"."));
        } else {
            QVERIFY2(prompt.shown().isEmpty(), qPrintable(where));
        }
    }
}

void TestConfigFile::fileLoadAndSave()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Подстанция 1.cfg"));
    QString error;
    QVERIFY2(SaveConfigFile(path, Probe(), &error), qPrintable(error));

    ConfigModel m = NewConfigModel();
    ScriptedPrompt prompt;
    QVERIFY2(LoadConfigFile(path, m, prompt, &error), qPrintable(error));
    QCOMPARE(WriteConfig(m), WriteConfig(Probe()));

    // A file that is not there and a directory that is not there: a report, nothing changed.
    const ConfigModel unchanged = m;
    QVERIFY(!LoadConfigFile(dir.filePath(QStringLiteral("missing.cfg")), m, prompt, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(m == unchanged);
    error.clear();
    QVERIFY(!SaveConfigFile(dir.filePath(QStringLiteral("no/such/dir.cfg")), m, &error));
    QVERIFY(error.startsWith(QStringLiteral("Failed to save document.")));
}

void TestConfigFile::failedSaveKeepsPreviousFile()
{
#ifdef Q_OS_UNIX
    // Let every write beyond 1000 bytes fail (as on a full disk) while the save runs.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kept.cfg"));
    const QByteArray previous = WriteConfig(Probe());
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(previous);
    }

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool ok = SaveConfigFile(path, NewConfigModel(), &error);
    setrlimit(RLIMIT_FSIZE, &saved);

    QVERIFY(!ok);
    QVERIFY(error.startsWith(QStringLiteral("Failed to save document.")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), previous);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.cfg")});
#else
    QSKIP("needs a file size limit to make the disk look full");
#endif
}

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
