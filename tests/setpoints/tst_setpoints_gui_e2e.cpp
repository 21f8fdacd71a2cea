// The setpoint sub-pages inside the main window: the write command against the virtual meter
// (a reset, setting the meter's clock), and a configuration file opened and saved unchanged.
// With LADOGRAF_SCREENSHOTS set to a folder it also saves the pictures the README shows.
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "WindowFixture.h"
#include "device/CSerial.h"
#include "device/FirstView.h"
#include "device/Frame.h"
#include "device/PortScan.h"
#include "device/ProcessCommand.h"
#include "model/ConfigFile.h"
#include "setpoints/DataCalc.h"
#include "setpoints/DataFliker.h"
#include "setpoints/DataFreqDialog.h"
#include "setpoints/DataRvc.h"
#include "setpoints/DataSystemDialog.h"
#include "setpoints/DataTimeDialog.h"
#include "setpoints/SecondView.h"
#include "setpoints/SetpointMessages.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/MainFrame.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

namespace {


// Passes every exchange on to the real link and keeps the request frames it carried.
class RecordingLink final : public CSerial {
public:
    explicit RecordingLink(CSerial* link) : m_link(link) {}
    bool Open(const QString& portName, std::uint32_t parameter) override { return m_link->Open(portName, parameter); }
    void Close() override { m_link->Close(); }
    bool IsOpen() const override { return m_link->IsOpen(); }
    std::uint32_t Write(const std::uint8_t* buffer, std::uint32_t count) override
    {
        m_sent.append(QByteArray(reinterpret_cast<const char*>(buffer), int(count)));
        return m_link->Write(buffer, count);
    }
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t count) override { return m_link->Read(buffer, count); }
    bool ClearTransmitQueue() override { return m_link->ClearTransmitQueue(); }
    bool ClearReceiveQueue() override { return m_link->ClearReceiveQueue(); }

    // The data of every request with this command and sub-command, in order.
    QList<QByteArray> DataOf(std::uint8_t command, std::uint8_t subCommand) const
    {
        QList<QByteArray> out;
        for (const QByteArray& request : m_sent) {
            frame::Header header;
            if (frame::ParseHeader(request, &header) && header.command == command && header.subCommand == subCommand)
                out.append(request.mid(frame::kHeaderSize, header.length));
        }
        return out;
    }

private:
    CSerial* m_link;
    QList<QByteArray> m_sent;
};

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class SetpointsGuiEndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void resetLeavesTheMeterStopped();
    void clockIsSetToWhatThePageShows();
    void openAndSaveKeepsTheFile();
    void screenshots();

private:
    CSecondView* Setpoints() { return m_frame->View().SetpointPage(); }
    void ShowSubPage(QWidget* page)
    {
        m_frame->View().SetCurrentTab(PageId::Setpoints);
        Setpoints()->SubPageTabs()->setCurrentWidget(page);
    }
    void Write()
    {
        ShowSubPage(Setpoints()->SystemPage());
        m_frame->Action(command::kWriteToDevice)->trigger();
    }

    MeterProcess m_meter;
    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<RecordingLink> m_link;
};

void SetpointsGuiEndToEndTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}));
}

void SetpointsGuiEndToEndTest::init()
{
    m_prompt.clear();
    m_frame = MakeTestWindow(m_prompt, m_dir.filePath(QStringLiteral("settings.ini")));
    m_frame->resize(1100, 720);
    PointAtMeter(*m_frame->View().ConnectionPage(), m_meter.TcpPort());
    CProcessCommand& engine = m_frame->View().Processor();
    QVERIFY(engine.Transport());
    m_link = std::make_unique<RecordingLink>(engine.Transport());
    engine.SetTransport(m_link.get());
    // The address the meter answers at, as "Проверка связи" would hand it over.
    Setpoints()->SetSystemAddressText(QStringLiteral("1"));
}

void SetpointsGuiEndToEndTest::cleanup()
{
    m_frame.reset();
    m_link.reset();
}

void SetpointsGuiEndToEndTest::resetLeavesTheMeterStopped()
{
    CDataSystemDialog* system = Setpoints()->SystemPage();
    system->ModeRadio(2)->click();  // "Сброс"
    m_prompt.LoginNext(2, "2222");
    Write();
    QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
    QCOMPARE(m_link->DataOf(frame::kCmdClock, 0x83), QList<QByteArray>{QByteArray(1, char(2))});
    QVERIFY(system->ModeRadio(1)->isChecked());
    QCOMPARE(system->ModeRadio(1)->text(), QStringLiteral("Стоп"));
    QCOMPARE(m_frame->Document().Model().device_mode, 1);
}

void SetpointsGuiEndToEndTest::clockIsSetToWhatThePageShows()
{
    CDataTimeDialog* time = Setpoints()->TimePage();
    time->WriteTimeBox()->setChecked(true);
    time->ClockDatePicker()->setDate(QDate(2024, 3, 15));
    time->ClockTimePicker()->setTime(QTime(10, 20, 0));
    m_prompt.LoginNext(2, "2222");
    m_prompt.AnswerNext(true);
    Write();
    QCOMPARE(m_prompt.texts().mid(1), QStringList{msg::kSetClockQuestion});
    QCOMPARE(m_prompt.kinds(), (QStringList{QStringLiteral("auth"), QStringLiteral("yesno")}));
    QCOMPARE(m_link->DataOf(frame::kCmdClock, 0x81), QList<QByteArray>{QByteArray("\x0f\x03\x18\x0a\x14\x00", 6)});

    // Reading the meter back brings its clock, a few seconds on, into the page.
    m_prompt.clear();
    m_frame->Action(command::kReadFromDevice)->trigger();
    QVERIFY2(m_prompt.shown().isEmpty(), qPrintable(m_prompt.texts().join(QLatin1Char('|'))));
    QCOMPARE(time->ClockDatePicker()->date(), QDate(2024, 3, 15));
    QCOMPARE(time->ClockTimePicker()->time().hour(), 10);
    QCOMPARE(time->ClockTimePicker()->time().minute(), 20);
    // The reload withdrew the request.
    QVERIFY(!time->WriteTimeTicked());
    QCOMPARE(m_frame->Document().Model().write_time, 0);
}

void SetpointsGuiEndToEndTest::openAndSaveKeepsTheFile()
{
    // Every field of these sub-pages away from its default, in values the pages show exactly.
    ConfigModel m = NewConfigModel();
    m.f_nom = 60000;
    m.df_max_up = 35;
    m.df_normal_up = 15;
    m.df_normal_down = -15;
    m.df_max_down = -35;
    m.f_avg_period = 1;
    m.pst_normal = 1.25;
    m.pst_max = 1.5;
    m.plt_normal = 0.75;
    m.plt_max = 2.0;
    m.rvc_threshold_phase = 3.5f;
    m.rvc_hysteresis_phase = 40.0f;
    m.rvc_threshold_line = 4.0f;
    m.rvc_hysteresis_line = 60.0f;
    m.calc_flags = 0x8A55;
    m.calc_choice = {1, 2, 1, 2, 1, 2, 1, 2, 1};
    m.calc_opt_a = 0;
    m.calc_opt_b = 0;
    for (int i = 0; i < 8; ++i) {
        m.load_period_hour[size_t(i)] = 6 + i * 2;
        m.load_period_minute[size_t(i)] = i % 3 == 0 ? 15 : 30;  // a file may hold any minute
    }
    m.summer_auto = 0;
    m.summer_month = 2;
    m.summer_day = 29;
    m.winter_auto = 1;
    m.winter_month = 10;
    m.winter_day = 27;
    m.set_year = 2031;
    m.set_month = 7;
    m.set_day = 9;
    m.set_hour = 13;
    m.set_minute = 5;
    m.set_second = 42;
    m.auto_correction_s = -8;
    m.soft_correction_s = 20;
    m.week_start_day = 0;
    m.day_start_hour = 6;
    m.time_zone = 12;
    m.dst_mode = 2;
    m.rs232_mode_ext = 1;
    m.rs232_mode = 0;
    m.rs232_baud = 3;
    m.rs485_mode = 1;
    m.rs485_baud = 9;
    m.modem_rings = 5;
    m.sys_byte4 = 0;
    m.device_mode = 4;
    m.device_address = 4321;
    m.gprs_wait_a = {0, 61};
    m.gprs_wait_b = {1, 255};
    m.gprs_apn = {QByteArray("apn.example"), QByteArray()};
    m.gprs_extra = {QByteArray("+CGQREQ=1"), QByteArray("&D0")};
    // The voltage page shows the line voltage with three decimals and stores what it shows.
    m.u_nom_line = 381.051;
    // A clock request saved with the file is withdrawn by the load.
    m.write_time = 1;
    m.use_pc_time = 1;
    const QString original = m_dir.filePath(QStringLiteral("original.cfg"));
    QVERIFY(SaveConfigFile(original, m, nullptr));

    QVERIFY(m_frame->Document().OnOpenDocument(original));
    const QString saved = m_dir.filePath(QStringLiteral("saved.cfg"));
    QVERIFY(m_frame->Document().OnSaveDocument(saved));
    QVERIFY2(m_prompt.shown().isEmpty(), qPrintable(m_prompt.texts().join(QLatin1Char('|'))));

    m.write_time = 0;
    m.use_pc_time = 0;
    const QString expected = m_dir.filePath(QStringLiteral("expected.cfg"));
    QVERIFY(SaveConfigFile(expected, m, nullptr));
    QCOMPARE(FileBytes(saved), FileBytes(expected));
}

void SetpointsGuiEndToEndTest::screenshots()
{
    const QString folder = qEnvironmentVariable("LADOGRAF_SCREENSHOTS");
    if (folder.isEmpty())
        QSKIP("LADOGRAF_SCREENSHOTS names no folder");
    QVERIFY(m_frame->Document().OnNewDocument());
    const std::pair<QWidget*, const char*> pages[] = {
        {Setpoints()->FrequencyPage(), "setpoints-frequency.png"},
        {Setpoints()->FlickerPage(), "setpoints-flicker.png"},
        {Setpoints()->CalculationPage(), "setpoints-calculation.png"},
        {Setpoints()->TimePage(), "setpoints-time.png"},
        {Setpoints()->SystemPage(), "setpoints-system.png"},
        {Setpoints()->RvcPage(), "setpoints-rvc.png"},
    };
    for (const auto& [page, name] : pages) {
        ShowSubPage(page);
        QVERIFY(m_frame->grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name)));
    }
}

QTEST_MAIN(SetpointsGuiEndToEndTest)
#include "tst_setpoints_gui_e2e.moc"
