// The field table as set and diff use it: every value the dump prints is accepted back by
// set unchanged, and diff names exactly the element that changed.
#include "model/ConfigDiff.h"
#include "model/ConfigDump.h"
#include "model/ConfigFields.h"
#include "model/ConfigModel.h"
#include "model/ConfigSet.h"

#include <QTest>

namespace {

// A configuration whose values test the notation: signs, fractions that are not exact in
// binary, texts with quotes, escapes and Cyrillic, raw bytes of every kind.
ConfigModel Sample()
{
    ConfigModel m = NewConfigModel();
    m.connection_address = -7;
    m.modification = "\xCF\xCA\xDD \"1.7\"\\";
    m.firmware_version = "1.7.0 / 2.1.3\n\t\x01";
    m.u_nom_phase = 0.1;
    m.phase_limits.dev[6][1] = -1e-300;
    m.df_max_down = -32768;
    m.rvc_threshold_phase = 1.1f;
    m.device_address = 65535;
    m.pulse_rules_text = "\xC5\xF1\xEB\xE8 A";
    m.gprs_extra[1] = "AT+X=\"1\"";
    for (size_t i = 0; i < m.identity_block.size(); ++i)
        m.identity_block[i] = quint8(i * 37);
    m.groups[5].name[15] = 0x80;
    return m;
}

QStringList ElementNames(const ConfigField& f)
{
    const QString name = QString::fromLatin1(f.name);
    QStringList names;
    if (f.type == FieldType::LimitSet) {
        for (const char* level : {"dip_level", "swell_level", "interruption_level"})
            names << name + u'.' + QLatin1String(level);
        for (int slot = 0; slot < VoltageLimitSet::kSlots; ++slot)
            for (int column = 0; column < VoltageLimitSet::kColumns; ++column)
                names << QStringLiteral("%1.dev[%2][%3]").arg(name).arg(slot).arg(column);
    } else if (f.array) {
        for (int e = 0; e < f.count; ++e)
            names << QStringLiteral("%1[%2]").arg(name).arg(e);
    } else {
        names << name;
    }
    return names;
}

// The dump's text of one element named as ElementNames() names it.
QByteArray ElementValue(const ConfigField& f, const ConfigModel& m, int index)
{
    if (f.type != FieldType::LimitSet)
        return ElementJson(f, m, index);
    const VoltageLimitSet& set = *f.Elements<VoltageLimitSet>(m);
    if (index < 3)
        return JsonNumber(index == 0 ? set.dip_level : index == 1 ? set.swell_level : set.interruption_level);
    index -= 3;
    return JsonNumber(set.dev[size_t(index / VoltageLimitSet::kColumns)][size_t(index % VoltageLimitSet::kColumns)]);
}

} // namespace

class TestConfigFields : public QObject {
    Q_OBJECT

private slots:
    void dumpValuesSetBack_data();
    void dumpValuesSetBack();
};

void TestConfigFields::dumpValuesSetBack_data()
{
    QTest::addColumn<QString>("field");
    for (const ConfigField& f : ConfigFields())
        QTest::newRow(f.name) << QString::fromLatin1(f.name);
}

void TestConfigFields::dumpValuesSetBack()
{
    QFETCH(QString, field);
    const ConfigField* f = FindConfigField(field.toStdString());
    QVERIFY(f);
    const ConfigModel sample = Sample();
    const QStringList names = ElementNames(*f);
    for (int i = 0; i < names.size(); ++i) {
        ConfigModel changed = NewConfigModel();
        changed.device_address = 1;   // a new configuration's 0 is outside the page's range
        const QString assignment = names[i] + u'=' + QString::fromUtf8(ElementValue(*f, sample, i));
        const QString error = AssignConfigField(changed, assignment);
        QVERIFY2(error.isEmpty(), qPrintable(assignment + QStringLiteral(": ") + error));

        // The element now holds the sample's value, and diff says so under the same name
        // (raw sections are reported record by record).
        QCOMPARE(ElementValue(*f, changed, i), ElementValue(*f, sample, i));
        const QList<FieldDifference> differences = DiffConfigs(NewConfigModel(), changed);
        for (const FieldDifference& d : differences) {
            if (d.field == "device_address")
                continue;
            if (f->type == FieldType::Raw || f->type == FieldType::Groups)
                QVERIFY2(d.field.startsWith(f->name), d.field.constData());
            else
                QCOMPARE(QString::fromLatin1(d.field), names[i]);
        }
    }
}

QTEST_GUILESS_MAIN(TestConfigFields)
#include "tst_configfields.moc"
