// The "Уставки" page inside the main window: a configuration opened and saved unchanged keeps
// every value of the voltage, deviation and coefficient pages; a read from the virtual meter
// shows the meter's values; "Записать 'Уставки'" puts a changed value into the meter.
// With LADOGRAF_SCREENSHOTS set to a folder it also saves the pictures the README shows.
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "common/CFormat.h"
#include "device/FirstView.h"
#include "device/PortScan.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "setpoints/DataCoeffDialog.h"
#include "setpoints/DataDeltaDialog.h"
#include "setpoints/DataSystemDialog.h"
#include "setpoints/DataVoltageDU.h"
#include "setpoints/DataVoltageDialog.h"
#include "setpoints/SecondView.h"
#include "setpoints/VoltageRules.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/Grid.h"
#include "shell/MainFrame.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace setpoints;

namespace {

QStringList NoPorts() { return {}; }

template <typename T>
void Append(QByteArray& out, const T& value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The exact bytes of every field the voltage, deviation and coefficient pages show.
QByteArray PageFields(const ConfigModel& m)
{
    QByteArray out;
    Append(out, m.u_nom_phase);
    Append(out, m.u_nom_line);
    Append(out, m.ratio_index);
    Append(out, m.wiring_scheme);
    Append(out, m.input_type);
    Append(out, m.reference_nominal);
    Append(out, m.clear_archive_three_wire);
    for (const VoltageLimitSet* set : {&m.phase_limits, &m.line_limits}) {
        Append(out, set->dip_level);
        Append(out, set->swell_level);
        Append(out, set->interruption_level);
        Append(out, set->dev);
    }
    for (quint16 v : {m.ku_max, m.ku_normal, m.k2u_max, m.k2u_normal, m.k0u_max, m.k0u_normal})
        Append(out, v);
    Append(out, m.harm_normal);
    Append(out, m.harm_max);
    Append(out, m.iharm_normal);
    Append(out, m.iharm_max);
    Append(out, m.coeff_auto);
    return out;
}

// A configuration that differs from a new one on these pages, every value shown exactly.
ConfigModel OnTheMeter()
{
    ConfigModel m = NewConfigModel();
    m.input_type = 1;
    m.ratio_index = 4;  // "100"
    m.u_nom_phase = 5773.5;
    m.u_nom_line = 10000.0;
    m.wiring_scheme = 0;
    m.reference_nominal = false;
    LimitValue(m.phase_limits, Limit::i_normal_up, VoltageKind::Phase, VoltageLimitSet::steady) = 4.5;
    LimitValue(m.line_limits, Limit::ii_max_down, VoltageKind::Line, VoltageLimitSet::signal) = -12.25;
    LimitValue(m.line_limits, Limit::i_max_up, VoltageKind::Line, VoltageLimitSet::plusminus) = 9.75;
    m.phase_limits.dip_level = -15.0;
    m.line_limits.swell_level = 12.5;
    m.ku_normal = 500;
    m.ku_max = 800;
    m.k2u_normal = 150;
    m.harm_normal[0] = 150;  // n = 2
    m.harm_max[0] = 225;
    m.iharm_max[48] = 77;    // n = 49
    return m;
}

void SaveShot(QWidget& widget, const QByteArray& name)
{
    const QString folder = qEnvironmentVariable("LADOGRAF_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(widget.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name)));
}

} // namespace

class SetpointsGuiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { m_frame.reset(); }

    void openAndSaveKeepsEveryShownValue();
    void valuesWithMoreDecimalsAreStoredAsShown();
    void newConfigurationScreenshots();
    void readShowsTheMetersValues();
    void writeSendsAChangedValue();
    void resetTurnsIntoStopAfterTheWrite();
    void testedAddressReachesTheSystemPage();

private:
    CSecondView* Page() { return m_frame->View().SetpointPage(); }
    QLineEdit* ConnectionEdit(const char* name)
    {
        return m_frame->View().ConnectionPage()->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void SaveShots(const char* suffix);
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    ConfigModel Load(const QString& path)
    {
        ConfigModel m = NewConfigModel();
        ScriptedPrompt prompt;
        QString error;
        if (!LoadConfigFile(path, m, prompt, &error))
            qWarning("cannot load %s: %s", qPrintable(path), qPrintable(error));
        return m;
    }
    // Opens a file in the window, saves it under another name and loads what was saved.
    ConfigModel OpenAndSave(const ConfigModel& m)
    {
        QString error;
        const QString in = Path("in.cfg");
        const QString out = Path("out.cfg");
        QFile::remove(out);
        if (!SaveConfigFile(in, m, &error))
            qWarning("%s", qPrintable(error));
        m_frame->Document().OnOpenDocument(in);
        m_frame->Document().OnSaveDocument(out);
        return Load(out);
    }
    // What the meter holds now, read by the command-line tool.
    ConfigModel MeterHolds()
    {
        const QString path = Path("meter.cfg");
        QFile::remove(path);
        QString out, err;
        const int code = RunProgram(QStringLiteral(LADOGRAF_CLI_PATH),
                                    {QStringLiteral("read"), QStringLiteral("setpoints"), QStringLiteral("--tcp"),
                                     QStringLiteral("127.0.0.1:%1").arg(m_meter.TcpPort()), QStringLiteral("--address"),
                                     QStringLiteral("1"), QStringLiteral("--level"), QStringLiteral("2"),
                                     QStringLiteral("--password"), QStringLiteral("2222"), QStringLiteral("--cfg"), path},
                                    &out, &err);
        if (code != 0)
            qWarning("read failed: %s", qPrintable(err));
        return Load(path);
    }

    QTemporaryDir m_dir;
    MeterProcess m_meter;
    ScriptedPrompt m_prompt;
    std::unique_ptr<CMainFrame> m_frame;
};

void SetpointsGuiTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QString error;
    QVERIFY2(SaveConfigFile(Path("meter-start.cfg"), OnTheMeter(), &error), qPrintable(error));
    QVERIFY(m_meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--config"),
                           Path("meter-start.cfg")}));
}

void SetpointsGuiTest::init()
{
    m_prompt.clear();
    CMainFrame::Options options;
    options.prompt = &m_prompt;
    options.settingsPath = Path("settings.ini");
    options.recentFiles = false;
    m_frame = std::make_unique<CMainFrame>(options);
    m_frame->View().PortScan().SetProbe(&NoPorts);
    m_frame->Document().OnNewDocument();
    Page()->PeriodicTimer()->stop();
    m_frame->resize(1000, 640);
    m_frame->show();
    m_frame->View().ConnectionPage()->SetLinkChoice(CFirstView::EthernetLink);
    ConnectionEdit("host")->setText(QStringLiteral("127.0.0.1"));
    ConnectionEdit("tcpPort")->setText(QString::number(m_meter.TcpPort()));
    ConnectionEdit("timeout")->setText(QStringLiteral("2"));
    ConnectionEdit("ethernetAddress")->setText(QStringLiteral("1"));
    m_frame->View().SetCurrentTab(PageId::Setpoints);
}

void SetpointsGuiTest::openAndSaveKeepsEveryShownValue()
{
    for (const ConfigModel& m : {OnTheMeter(), NewConfigModel()}) {
        ConfigModel exact = m;
        exact.u_nom_line = 381.051;  // a new configuration's √3 × 220 has more decimals than shown
        if (exact.input_type == 1)
            exact.u_nom_line = 10000.0;
        // A value at a boundary of each rule: -100 and 100 kept by the steady-state rule, the
        // largest coefficient, a negative zero.
        exact.line_limits.dev[0][VoltageLimitSet::steady] = -100.0;
        exact.line_limits.dev[1][VoltageLimitSet::steady] = 100.0;
        exact.phase_limits.dev[2][VoltageLimitSet::signal] = -0.0;
        exact.iharm_normal[0] = 65535;
        exact.ratio_index = 20;
        const ConfigModel back = OpenAndSave(exact);
        QCOMPARE(PageFields(back).toHex(), PageFields(exact).toHex());
        QVERIFY(!modelChanged().IsSet());
    }
}

void SetpointsGuiTest::valuesWithMoreDecimalsAreStoredAsShown()
{
    ConfigModel m = NewConfigModel();
    m.u_nom_phase = 220.0004;
    m.phase_limits.swell_level = 10.004;
    m.line_limits.dev[3][VoltageLimitSet::plusminus] = 5.555;  // binary 5.55499..., shown "5.55"
    m.phase_limits.dev[4][VoltageLimitSet::signal] = -0.001;    // shown "-0.00"
    const ConfigModel back = OpenAndSave(m);
    QCOMPARE(back.u_nom_phase, 220.0);
    QCOMPARE(back.u_nom_line, 381.051);
    QCOMPARE(back.phase_limits.swell_level, 10.0);
    QCOMPARE(back.line_limits.dev[3][VoltageLimitSet::plusminus], 5.55);
    QCOMPARE(back.phase_limits.dev[4][VoltageLimitSet::signal], 0.0);
    QVERIFY(std::signbit(back.phase_limits.dev[4][VoltageLimitSet::signal]));
}

// The four views of these pages, one after the other.
void SetpointsGuiTest::SaveShots(const char* suffix)
{
    const auto name = [suffix](const char* page) { return QByteArray(page) + suffix + ".png"; };
    QTabWidget* tabs = Page()->SubPageTabs();
    tabs->setCurrentIndex(0);
    SaveShot(*m_frame, name("setpoints-voltage"));
    tabs->setCurrentIndex(1);
    Page()->DeviationPage()->InnerTabs()->setCurrentIndex(0);
    SaveShot(*m_frame, name("setpoints-deviation-steady"));
    Page()->DeviationPage()->InnerTabs()->setCurrentIndex(1);
    SaveShot(*m_frame, name("setpoints-deviation-signal"));
    tabs->setCurrentIndex(2);
    SaveShot(*m_frame, name("setpoints-coefficients"));
}

void SetpointsGuiTest::newConfigurationScreenshots()
{
    if (qEnvironmentVariableIsEmpty("LADOGRAF_SCREENSHOTS"))
        QSKIP("LADOGRAF_SCREENSHOTS is not set");
    SaveShots("");
}

void SetpointsGuiTest::readShowsTheMetersValues()
{
    m_prompt.LoginNext(1, "1111");
    m_frame->View().OnReadFromDevice();
    QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
    QVERIFY(modelChanged().IsSet());

    CDataDeltaDialog* delta = Page()->VoltagePage();
    QCOMPARE(delta->RatioList()->currentText(), QStringLiteral("100"));
    QCOMPARE(delta->PhaseEdit()->text(), QStringLiteral("5773.500"));
    QCOMPARE(delta->LineEdit()->text(), QStringLiteral("10000.000"));
    QCOMPARE(delta->SchemeButtons()->checkedId(), 0);
    QCOMPARE(delta->InputButtons()->checkedId(), 1);
    QCOMPARE(delta->ReferenceButtons()->checkedId(), 0);
    QVERIFY(!delta->RecomputeTimer()->isActive());
    CVoltageLimitPage* steady = Page()->DeviationPage()->SteadyPage();
    QCOMPARE(steady->Edit(1017)->text(), QStringLiteral("+4.50"));
    QCOMPARE(steady->Edit(1024)->text(), QStringLiteral("-15.00"));
    QCOMPARE(steady->Edit(1047)->text(), QStringLiteral("+12.50"));
    CVoltageLimitPage* whole = Page()->DeviationPage()->WholeSignalPage();
    QCOMPARE(whole->Edit(1045)->text(), QStringLiteral("-12.25"));
    QCOMPARE(whole->Edit(1032)->text(), QStringLiteral("9.75"));
    CDataCoeffDialog* coeff = Page()->CoefficientPage();
    QCOMPARE(coeff->Edit(1021)->text(), QStringLiteral("5.00"));
    QCOMPARE(coeff->Edit(1020)->text(), QStringLiteral("8.00"));
    QCOMPARE(coeff->Edit(1029)->text(), QStringLiteral("1.50"));
    QCOMPARE(coeff->Grid()->item(1, 2)->text(), QStringLiteral("1.50"));
    QCOMPARE(coeff->Grid()->item(2, 2)->text(), QStringLiteral("2.25"));
    QCOMPARE(coeff->Grid()->item(4, 49)->text(), QStringLiteral("0.77"));

    SaveShots("-read");
}

void SetpointsGuiTest::writeSendsAChangedValue()
{
    // The meter is written from a new configuration with three values changed on the pages.
    CVoltageLimitPage* steady = Page()->DeviationPage()->SteadyPage();
    steady->Edit(1040)->setText(QStringLiteral("-3.75"));  // line i_normal_down, steady
    Page()->DeviationPage()->WholeSignalPage()->Edit(1031)->setText(QStringLiteral("6.5"));  // phase ii_normal_down, ±
    CDataCoeffDialog* coeff = Page()->CoefficientPage();
    QVERIFY(coeff->OpenCellEditor(3, 7));
    coeff->CellEditor()->setText(QStringLiteral("0,35"));
    Page()->VoltagePage()->PhaseEdit()->setText(QStringLiteral("230"));

    m_prompt.LoginNext(2, "2222");
    m_frame->View().OnWriteToDevice();
    QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});

    ConfigModel held = MeterHolds();
    QCOMPARE(LimitValue(held.line_limits, Limit::i_normal_down, VoltageKind::Line, VoltageLimitSet::steady), -3.75);
    QCOMPARE(LimitValue(held.phase_limits, Limit::ii_normal_down, VoltageKind::Phase, VoltageLimitSet::plusminus), 6.5);
    QCOMPARE(int(held.iharm_normal[6]), 35);
    QCOMPARE(held.u_nom_phase, 230.0);
    // Recomputed before the store (230 × √3 = 398.372), sent as whole millivolts and read
    // back in single precision.
    QCOMPARE(held.u_nom_line, double(398.372f));
    QCOMPARE(held.input_type, 0);
    QCOMPARE(held.ratio_index, 0);
}

void SetpointsGuiTest::resetTurnsIntoStopAfterTheWrite()
{
    // The pages are filled from the model again after the reset: a refused value typed on the
    // steady-state page gives way to the stored one.
    Page()->SystemPage()->ModeRadio(2)->click();  // "Сброс"
    CVoltageLimitPage* steady = Page()->DeviationPage()->SteadyPage();
    steady->Edit(1016)->setText(QStringLiteral("150"));
    m_prompt.LoginNext(2, "2222");
    m_frame->View().OnWriteToDevice();
    QCOMPARE(m_frame->Document().Model().device_mode, 1);
    QCOMPARE(steady->Edit(1016)->text(), QStringLiteral("+10.00"));
}

void SetpointsGuiTest::testedAddressReachesTheSystemPage()
{
    ConnectionEdit("ethernetAddress")->setText(QStringLiteral("1"));
    m_prompt.LoginNext(1, "1111");
    m_frame->View().ConnectionPage()->findChild<QPushButton*>(QStringLiteral("testConnection"))->click();
    QCOMPARE(Page()->SystemPage()->AddressText(), QStringLiteral("1"));
}

QTEST_MAIN(SetpointsGuiTest)
#include "tst_setpointsgui.moc"
