#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "common/Cp1251.h"

#include <QDate>
#include <QTest>

namespace {

constexpr int kYear = 2026;

QList<ParameterId> AllPhases(quint16 code)
{
    QList<ParameterId> ids;
    for (int phase = 0; phase < kPhaseCount; ++phase)
        ids.append(ParameterId{code, quint8(phase), 0});
    return ids;
}

QList<ParameterId> Entries(const ParameterGroupRecord& group)
{
    return QList<ParameterId>(group.parameters.begin(), group.parameters.begin() + group.count);
}

} // namespace

class TestConfigModel : public QObject {
    Q_OBJECT

private slots:
    void scalarDefaults_data();
    void scalarDefaults();
    void lineVoltageUsesSinglePrecisionRoot();
    void harmonicDefaults_data();
    void harmonicDefaults();
    void limitSetsDifferInSlotsFiveAndSix();
    void defaultGroups();
    void newKeepsUnassignedFields();
    void yearFromClock();
    void groupRecordBytes();
    void groupRecordToleratesDamagedNameAndCount();
    void modelChangedFlag();
};

void TestConfigModel::scalarDefaults_data()
{
    QTest::addColumn<double>("actual");
    QTest::addColumn<double>("expected");
    const ConfigModel m = [] {
        ConfigModel model;
        ApplyNewDocumentDefaults(model, kYear);
        return model;
    }();
    const auto row = [](const char* name, double actual, double expected) {
        QTest::newRow(name) << actual << expected;
    };
    row("u_nom_phase", m.u_nom_phase, 220.0);
    row("ratio_index", m.ratio_index, 0);
    row("wiring_scheme", m.wiring_scheme, 1);
    row("input_type", m.input_type, 0);
    row("ku_max", m.ku_max, 1200);
    row("ku_normal", m.ku_normal, 800);
    row("k2u_max", m.k2u_max, 400);
    row("k2u_normal", m.k2u_normal, 200);
    row("k0u_max", m.k0u_max, 400);
    row("k0u_normal", m.k0u_normal, 200);
    row("coeff_auto", m.coeff_auto, 1);
    row("f_nom", m.f_nom, 50000);
    row("df_max_up", m.df_max_up, 40);
    row("df_normal_up", m.df_normal_up, 20);
    row("df_max_down", m.df_max_down, -40);
    row("df_normal_down", m.df_normal_down, -20);
    row("pst_max", m.pst_max, 1.38);
    row("pst_normal", m.pst_normal, 1.38);
    row("plt_max", m.plt_max, 1.0);
    row("plt_normal", m.plt_normal, 1.0);
    row("summer_month", m.summer_month, 1);
    row("summer_day", m.summer_day, 1);
    row("set_year", m.set_year, kYear);
    row("set_month", m.set_month, 1);
    row("set_day", m.set_day, 1);
    row("winter_month", m.winter_month, 1);
    row("winter_day", m.winter_day, 1);
    row("week_start_day", m.week_start_day, 1);
    row("summer_auto", m.summer_auto, 1);
    row("winter_auto", m.winter_auto, 1);
    row("clear_archive_three_wire", m.clear_archive_three_wire, 1);
    row("rs232_baud", m.rs232_baud, 11);
    row("sys_byte4", m.sys_byte4, 1);
    row("rs485_baud", m.rs485_baud, 11);
    row("device_mode", m.device_mode, 1);
    row("calc_opt_a", m.calc_opt_a, 1);
    row("calc_opt_b", m.calc_opt_b, 1);
    row("calc_flags", m.calc_flags, 0);
    row("reference_nominal", m.reference_nominal, 1);
    row("device_address", m.device_address, 0);
    row("rvc_threshold_phase", m.rvc_threshold_phase, 2.0);
    row("rvc_hysteresis_phase", m.rvc_hysteresis_phase, 50.0);
    row("rvc_threshold_line", m.rvc_threshold_line, 2.0);
    row("rvc_hysteresis_line", m.rvc_hysteresis_line, 50.0);
    row("f_avg_period", m.f_avg_period, 0);
}

void TestConfigModel::scalarDefaults()
{
    QFETCH(double, actual);
    QFETCH(double, expected);
    QVERIFY2(actual == expected, qPrintable(QStringLiteral("%1 != %2").arg(actual).arg(expected)));
}

void TestConfigModel::lineVoltageUsesSinglePrecisionRoot()
{
    const ConfigModel m = NewConfigModel();
    // Exact, not fuzzy: the double-precision product 381.0511776651... would be wrong.
    QVERIFY(m.u_nom_line == 381.05117082595825);
    QCOMPARE(QByteArray::number(m.u_nom_line, 'f', 3), QByteArray("381.051"));
}

void TestConfigModel::harmonicDefaults_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("normal");
    QTest::addColumn<int>("maximum");
    QTest::newRow("2") << 2 << 200 << 300;
    QTest::newRow("5") << 5 << 600 << 900;
    QTest::newRow("6 odd product") << 6 << 50 << 75;
    QTest::newRow("11") << 11 << 350 << 525;
    QTest::newRow("15") << 15 << 30 << 45;
    QTest::newRow("39") << 39 << 20 << 30;
    QTest::newRow("40") << 40 << 20 << 30;
    QTest::newRow("41") << 41 << 0 << 0;
    QTest::newRow("50") << 50 << 0 << 0;
}

void TestConfigModel::harmonicDefaults()
{
    QFETCH(int, order);
    QFETCH(int, normal);
    QFETCH(int, maximum);
    const ConfigModel m = NewConfigModel();
    QCOMPARE(int(m.harm_normal[size_t(order - 2)]), normal);
    QCOMPARE(int(m.harm_max[size_t(order - 2)]), maximum);
    QCOMPARE(int(m.iharm_normal[size_t(order - 2)]), 0);
    QCOMPARE(int(m.iharm_max[size_t(order - 2)]), 0);
}

void TestConfigModel::limitSetsDifferInSlotsFiveAndSix()
{
    const ConfigModel m = NewConfigModel();
    for (const VoltageLimitSet* set : {&m.line_limits, &m.phase_limits}) {
        QCOMPARE(set->dip_level, -10.0);
        QCOMPARE(set->swell_level, 10.0);
        QCOMPARE(set->interruption_level, -95.0);
        for (int slot = 0; slot < VoltageLimitSet::kSlots; ++slot)
            QCOMPARE(set->dev[size_t(slot)][VoltageLimitSet::plusminus], slot < 4 ? 10.0 : 5.0);
    }
    const std::array<double, 8> line = {10, 10, -10, -10, 5, 5, -5, -5};
    const std::array<double, 8> phase = {10, 10, -10, -10, 5, -5, 5, -5};
    for (size_t slot = 0; slot < 8; ++slot) {
        for (int column : {VoltageLimitSet::steady, VoltageLimitSet::signal}) {
            QCOMPARE(m.line_limits.dev[slot][size_t(column)], line[slot]);
            QCOMPARE(m.phase_limits.dev[slot][size_t(column)], phase[slot]);
        }
    }
}

void TestConfigModel::defaultGroups()
{
    const ConfigModel m = NewConfigModel();
    QList<ParameterId> voltage = AllPhases(114) + AllPhases(115);
    voltage += {{116, 0, 0}, {117, 0, 0}, {118, 0, 0}, {106, 0, 0}};
    QList<ParameterId> quality = AllPhases(0) + AllPhases(1) + AllPhases(2) + AllPhases(3);
    quality += {{4, 0, 0}, {5, 0, 0}, {6, 0, 0}};
    quality += AllPhases(7);
    quality += ParameterId{107, 0, 0};

    QCOMPARE(Entries(m.groups[0]), voltage);
    QCOMPARE(Entries(m.groups[1]), quality);
    QCOMPARE(m.groups[1].count, quint16(34));
    QCOMPARE(Entries(m.groups[2]), AllPhases(9) + AllPhases(11) + AllPhases(13) + AllPhases(15));
    QCOMPARE(Entries(m.groups[3]), AllPhases(57) + AllPhases(59) + AllPhases(61) + AllPhases(63));
    QCOMPARE(m.groups[4].count, quint16(0));
    QCOMPARE(m.groups[5].count, quint16(0));

    const QStringList names = {"Напряжение", "ПКЭ", "Гармоники", "Интергармоники", "Группа 5", "Группа 6"};
    for (int g = 0; g < kGroupCount; ++g) {
        const ParameterGroupRecord& group = m.groups[size_t(g)];
        QCOMPARE(cp1251::Decode(group.NameText()), names[g]);
        // The name's zero byte and zeros after it; no entries beyond the count.
        QCOMPARE(group.ToBytes().mid(2, 16), group.NameText().leftJustified(16, '\0'));
        for (int i = group.count; i < ParameterGroupRecord::kMaxParameters; ++i)
            QCOMPARE(group.parameters[size_t(i)], ParameterId{});
    }
    QCOMPARE(m.groups[1].NameText(), QByteArray("\xCF\xCA\xDD"));   // "ПКЭ" in cp1251
}

void TestConfigModel::newKeepsUnassignedFields()
{
    ConfigModel m;
    // Construction gives every field a defined value: zeros, empty texts, zero groups.
    QCOMPARE(m.groups[0].ToBytes(), QByteArray(218, '\0'));
    QCOMPARE(m.time_zone, quint8(0));

    m.time_zone = 7;
    m.dst_mode = 2;
    m.calc_spare = 0x5A;
    m.identity_block.fill(0xA5);
    m.modification = "\xC2\xEE\xF0";
    m.archive_mask.fill(0);
    m.address_write_flag = 1;
    ApplyNewDocumentDefaults(m, kYear);

    QCOMPARE(m.time_zone, quint8(7));
    QCOMPARE(m.dst_mode, quint8(2));
    QCOMPARE(m.calc_spare, quint8(0x5A));
    QCOMPARE(m.identity_block[28], quint8(0xA5));
    // ...while assigned fields are reset.
    QVERIFY(m.modification.isEmpty());
    QCOMPARE(m.archive_mask[55], quint8(0xFF));
    QCOMPARE(m.deviation_limits[0], quint8(0xFF));
    QCOMPARE(m.calc_choice, (std::array<quint8, 9>{2, 2, 2, 2, 2, 2, 2, 2, 2}));
    QCOMPARE(m.gprs_apn[1], QByteArray(kDefaultGprsApn));
    QCOMPARE(m.gprs_wait_b[1], quint8(15));
    QCOMPARE(m.address_write_flag, 0);
}

void TestConfigModel::yearFromClock()
{
    ConfigModel m;
    ApplyNewDocumentDefaults(m, 0);
    QCOMPARE(m.set_year, 0);
    ApplyNewDocumentDefaults(m);
    QCOMPARE(m.set_year, QDate::currentDate().year());
}

void TestConfigModel::groupRecordBytes()
{
    ParameterGroupRecord group;
    group.count = 0x0102;
    group.SetNameText("Name");
    group.parameters[0] = ParameterId{20, 4, 0};
    group.parameters[49] = ParameterId{0xABCD, 5, 7};
    const QByteArray bytes = group.ToBytes();
    QCOMPARE(bytes.size(), 218);
    QCOMPARE(bytes.left(2), QByteArray("\x02\x01", 2));
    QCOMPARE(bytes.mid(2, 16), QByteArray("Name").leftJustified(16, '\0'));
    QCOMPARE(bytes.mid(18, 4), QByteArray("\x14\x00\x04\x00", 4));
    QCOMPARE(bytes.mid(214, 4), QByteArray("\xCD\xAB\x05\x07", 4));
    QCOMPARE(ParameterGroupRecord::FromBytes(bytes), group);

    // Six records make the groups block, group g at 218 * g.
    std::array<ParameterGroupRecord, kGroupCount> groups{};
    groups[5] = group;
    const QByteArray block = GroupsToBytes(groups);
    QCOMPARE(block.size(), 1308);
    QCOMPARE(block.mid(1090), bytes);
    QCOMPARE(GroupsFromBytes(block), groups);
}

void TestConfigModel::groupRecordToleratesDamagedNameAndCount()
{
    QByteArray bytes(218, '\0');
    bytes[0] = char(0xFF);   // count 255
    bytes.replace(2, 16, QByteArray(16, 'X'));   // no zero byte at all
    ParameterGroupRecord group = ParameterGroupRecord::FromBytes(bytes);
    QCOMPARE(group.NameText(), QByteArray(15, 'X'));
    QCOMPARE(group.UsableCount(), 50);
    QCOMPARE(group.ToBytes(), bytes);   // kept unchanged until the page stores the group

    group.SetNameText(QByteArray(20, 'Y'));
    QCOMPARE(group.ToBytes().mid(2, 16), QByteArray(15, 'Y') + '\0');

    // A block cut short (a meter reply that ended early): what is missing reads as zero.
    const auto groups = GroupsFromBytes(QByteArray(300, '\1'));
    QCOMPARE(groups[0].ToBytes(), QByteArray(218, '\1'));
    QCOMPARE(groups[1].ToBytes(), QByteArray(82, '\1') + QByteArray(136, '\0'));
    QCOMPARE(groups[5], ParameterGroupRecord{});
}

void TestConfigModel::modelChangedFlag()
{
    QCOMPARE(&modelChanged(), &modelChanged());

    ModelChangedFlag flag;
    QVERIFY(!flag.IsSet());
    {
        ModelChangedFlag::Preserve keep(flag);
        flag.Set();   // a program rewrite of a control
    }
    QVERIFY(!flag.IsSet());
    flag.Set();
    {
        ModelChangedFlag::Preserve keep(flag);
        flag.Clear();
    }
    QVERIFY(flag.IsSet());
    flag.Clear();
    QVERIFY(!flag.IsSet());
}

QTEST_GUILESS_MAIN(TestConfigModel)
#include "tst_configmodel.moc"
