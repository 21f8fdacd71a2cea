// "Архивируемые данные" and "Отклонения" in the main window against the meter-sim program: the
// window's read command shows the meter's selection, a change written back is what the meter
// then holds (read back with the command-line tool), and a short reply changes nothing. With
// LADOGRAF_SCREENSHOTS set to a folder it also saves the pictures the README shows.
#include "LimitSlots.h"
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "WindowFixture.h"
#include "device/DeviceMessages.h"
#include "device/FirstView.h"
#include "device/PortScan.h"
#include "model/ConfigFile.h"
#include "model/ModelChanged.h"
#include "selection/ArchiveSubPage.h"
#include "selection/ArhiveView.h"
#include "selection/LimitView.h"
#include "setpoints/DataDeltaDialog.h"
#include "setpoints/SecondView.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/Grid.h"
#include "shell/MainFrame.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

void SaveShot(QWidget& widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("LADOGRAF_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(widget.grab().save(folder + QLatin1Char('/') + name));
}

// What the meter holds at start: a minute archive of phases A and B without δU and δU(1), a
// day archive without interharmonics; three limits out of tree order.
ConfigModel MeterContent()
{
    ConfigModel m = NewConfigModel();
    m.archive_mask[0] = 0x03;
    for (int i = 40 + 8; i < 40 + 14; ++i)
        m.archive_mask[std::size_t(i)] = 0;
    m.archive_mask[40 + 14] = 0xFE;  // interharmonic 49 (bit 48) off, flicker (bit 49) on
    PutSlot(m.deviation_limits.data(), 0, 107, 0, 0.2f, -0.2f);
    PutSlot(m.deviation_limits.data(), 1, 9, 0, 1.2345f, 0.0f);
    PutSlot(m.deviation_limits.data(), 2, 114, 1, 253.0f, 207.0f);
    return m;
}

void Click(CGrid* grid, int row, int column)
{
    grid->scrollToItem(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, column)).center());
}

bool Marked(CGrid* grid, int row, int column) { return grid->item(row, column)->text() == QLatin1String("*"); }

} // namespace

class SelectionEndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { m_frame.reset(); }

    void archiveReadShowsTheMeterAndAChangeIsWritten();
    void limitsReadShowsTheMeterAndAChangeIsWritten();
    void openThenSaveIsByteIdentical();
    void wiringSchemeClearsAndRestoresThePhases();
    void shortReadChangesNothing_data();
    void shortReadChangesNothing();

private:
    void Connect(const MeterProcess& meter);
    ConfigModel ReadBackWithCli(const MeterProcess& meter, const QString& page);
    CArhiveView* Archive() { return static_cast<CArhiveView*>(m_frame->View().Page(PageId::Archive)); }
    CLimitView* Limits() { return static_cast<CLimitView*>(m_frame->View().Page(PageId::Limits)); }

    MeterProcess m_meter;
    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<CMainFrame> m_frame;
};

void SelectionEndToEndTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString config = m_dir.filePath(QStringLiteral("meter.cfg"));
    QString error;
    QVERIFY2(SaveConfigFile(config, MeterContent(), &error), qPrintable(error));
    QVERIFY(m_meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--config"), config}));
}

void SelectionEndToEndTest::init()
{
    m_prompt.clear();
    m_frame = MakeTestWindow(m_prompt, m_dir.filePath(QStringLiteral("settings.ini")));
    Connect(m_meter);
}

void SelectionEndToEndTest::Connect(const MeterProcess& meter)
{
    PointAtMeter(*m_frame->View().ConnectionPage(), meter.TcpPort());
}

ConfigModel SelectionEndToEndTest::ReadBackWithCli(const MeterProcess& meter, const QString& page)
{
    const QString file = m_dir.filePath(page + QStringLiteral("-back.cfg"));
    QFile::remove(file);
    QString out, err;
    const int code = RunProgram(QStringLiteral(LADOGRAF_CLI_PATH),
                                {QStringLiteral("read"), page, QStringLiteral("--tcp"),
                                 QStringLiteral("127.0.0.1:%1").arg(meter.TcpPort()), QStringLiteral("--address"),
                                 QStringLiteral("1"), QStringLiteral("--level"), QStringLiteral("1"),
                                 QStringLiteral("--password"), QStringLiteral("1111"), QStringLiteral("--cfg"), file},
                                &out, &err);
    if (code != 0)
        qWarning("ladograf-cli read %s: %s", qPrintable(page), qPrintable(err));
    ConfigModel m = NewConfigModel();
    ScriptedPrompt prompt;
    LoadConfigFile(file, m, prompt, nullptr);
    return m;
}

void SelectionEndToEndTest::archiveReadShowsTheMeterAndAChangeIsWritten()
{
    m_frame->View().SetCurrentTab(PageId::Archive);
    m_prompt.LoginNext(2, "2222");
    modelChanged().Clear();
    m_frame->Action(command::kReadFromDevice)->trigger();
    QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
    QVERIFY(modelChanged().IsSet());
    QCOMPARE(m_frame->Document().Model().archive_mask, MeterContent().archive_mask);

    CArchiveSubPage* minute = Archive()->SubPage(ArchiveKind::Minute);
    QVERIFY(Marked(minute->PhaseGrid(), 1, 1));
    QVERIFY(Marked(minute->PhaseGrid(), 1, 2));
    QVERIFY(!Marked(minute->PhaseGrid(), 1, 3));
    QVERIFY(!Marked(minute->QuantityList(), 0, 1));
    QVERIFY(!Marked(minute->QuantityList(), 5, 1));
    QVERIFY(Marked(minute->QuantityList(), 6, 1));
    // 28 + 6 + 2 * (1 + 2 * 52) = 244 bytes: 37472 records of a minute.
    QCOMPARE(minute->StorageDepth()->text(), QStringLiteral("Глубина хранения:26 дн."));
    CArchiveSubPage* day = Archive()->SubPage(ArchiveKind::Day);
    QVERIFY(!Marked(day->HarmonicGrid(), 2, 1));
    QVERIFY(!Marked(day->HarmonicGrid(), 2, 49));
    QVERIFY(Marked(day->QuantityList(), 8, 1));

    const QStringList shots{"archive-minute.png", "archive-10min.png", "archive-2h.png", "archive-day.png"};
    for (int tab = 0; tab < kArchiveKinds; ++tab) {
        Archive()->SubPageTabs()->setCurrentIndex(tab);
        SaveShot(*m_frame, shots[tab]);
    }
    Archive()->SubPageTabs()->setCurrentIndex(0);

    Click(minute->PhaseGrid(), 1, 3);
    Click(day->HarmonicGrid(), 2, 0);  // interharmonic 1 is off: the whole row comes on
    m_prompt.clear();
    m_frame->Action(command::kWriteToDevice)->trigger();
    QVERIFY2(m_prompt.shown().isEmpty(), qPrintable(m_prompt.texts().join(QLatin1Char('|'))));
    ConfigModel expected = MeterContent();
    expected.archive_mask[0] = 0x07;
    for (int i = 40 + 8; i < 40 + 14; ++i)
        expected.archive_mask[std::size_t(i)] = 0xFF;
    expected.archive_mask[40 + 14] = 0xFF;
    QCOMPARE(m_frame->Document().Model().archive_mask, expected.archive_mask);
    QCOMPARE(ReadBackWithCli(m_meter, QStringLiteral("archive")).archive_mask, expected.archive_mask);
}

void SelectionEndToEndTest::limitsReadShowsTheMeterAndAChangeIsWritten()
{
    m_frame->View().SetCurrentTab(PageId::Limits);
    m_prompt.LoginNext(2, "2222");
    m_frame->Action(command::kReadFromDevice)->trigger();
    QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
    CLimitView* page = Limits();
    QCOMPARE(page->findChild<QLabel*>(QStringLiteral("chosenCount"))->text(), QStringLiteral("3"));
    const auto& leaves = page->Selection().Leaves();
    auto leafOf = [&](ParameterId id) {
        for (std::size_t i = 0; i < leaves.size(); ++i) {
            if (leaves[i].id == id)
                return int(i);
        }
        return -1;
    };
    for (ParameterId id : {ParameterId{107, 0}, ParameterId{9, 0}, ParameterId{114, 1}})
        QCOMPARE(page->LeafItem(leafOf(id))->checkState(0), Qt::Checked);
    QCOMPARE(page->CategoryItem(0)->checkState(0), Qt::Checked);
    QCOMPARE(page->CategoryItem(1)->checkState(0), Qt::Unchecked);

    // Tick "Значение частоты" and type a new upper limit for the harmonic.
    const int frequency = leafOf(ParameterId{106, 0});
    page->Tree()->scrollToItem(page->LeafItem(frequency));
    QTest::mouseClick(page->Tree()->viewport(), Qt::LeftButton, {}, page->ImageRect(page->LeafItem(frequency)).center());
    QCOMPARE(page->findChild<QLabel*>(QStringLiteral("chosenCount"))->text(), QStringLiteral("4"));
    page->CategoryItem(0)->setExpanded(true);
    page->CategoryItem(16)->setExpanded(true);
    page->Tree()->setCurrentItem(page->LeafItem(leafOf(ParameterId{114, 1})));
    QCOMPARE(page->LowerEdit()->text(), QStringLiteral("207.00"));
    page->Tree()->scrollToItem(page->Tree()->topLevelItem(0));
    SaveShot(*m_frame, QStringLiteral("limits.png"));
    const int harmonic = leafOf(ParameterId{9, 0});
    page->Tree()->setCurrentItem(page->LeafItem(harmonic));
    QCOMPARE(page->UpperEdit()->text(), QStringLiteral("1.23"));
    page->UpperEdit()->selectAll();
    QTest::keyClicks(page->UpperEdit(), QStringLiteral("4.5"));

    m_prompt.clear();
    m_frame->Action(command::kWriteToDevice)->trigger();
    QVERIFY2(m_prompt.shown().isEmpty(), qPrintable(m_prompt.texts().join(QLatin1Char('|'))));
    ConfigModel expected = MeterContent();
    PutSlot(expected.deviation_limits.data(), 0, 114, 1, 253.0f, 207.0f);
    PutSlot(expected.deviation_limits.data(), 1, 9, 0, 4.5f, 0.0f);
    PutSlot(expected.deviation_limits.data(), 2, 106, 0, 0.0f, 0.0f);
    PutSlot(expected.deviation_limits.data(), 3, 107, 0, 0.2f, -0.2f);
    QCOMPARE(ReadBackWithCli(m_meter, QStringLiteral("limits")).deviation_limits, expected.deviation_limits);
}

// A file whose archive and limits the pages show exactly keeps those bytes through open and save.
void SelectionEndToEndTest::openThenSaveIsByteIdentical()
{
    ConfigModel m = NewConfigModel();
    for (int i = 0; i < kArchiveMaskSize; ++i)
        m.archive_mask[std::size_t(i)] = quint8(i * 29 + 3);
    for (int i = 0; i < kDeviationLimitsSize; ++i)
        m.deviation_limits[std::size_t(i)] = quint8(i * 11 + 1);
    PutSlot(m.deviation_limits.data(), 0, 114, 1, 253.0f, 207.0f);
    PutSlot(m.deviation_limits.data(), 1, 9, 0, 1.2345f, -1.0f);
    PutSlot(m.deviation_limits.data(), 2, 107, 0, 0.2f, -0.2f);
    for (int slot = 3; slot < kLimitSlots; ++slot)
        m.deviation_limits[std::size_t(slot * 10)] = m.deviation_limits[std::size_t(slot * 10 + 1)] = 0xFF;
    const QString original = m_dir.filePath(QStringLiteral("original.cfg"));
    const QString saved = m_dir.filePath(QStringLiteral("saved.cfg"));
    QString error;
    QVERIFY2(SaveConfigFile(original, m, &error), qPrintable(error));
    QVERIFY(m_frame->Document().OnOpenDocument(original));
    QCOMPARE(Limits()->findChild<QLabel*>(QStringLiteral("chosenCount"))->text(), QStringLiteral("3"));
    QVERIFY(m_frame->Document().OnSaveDocument(saved));
    ConfigModel back = NewConfigModel();
    ScriptedPrompt prompt;
    QVERIFY(LoadConfigFile(saved, back, prompt, nullptr));
    QCOMPARE(back.archive_mask, m.archive_mask);
    QCOMPARE(back.deviation_limits, m.deviation_limits);
}

// The voltage page's scheme radios reach the archive grids through the page's timer.
void SelectionEndToEndTest::wiringSchemeClearsAndRestoresThePhases()
{
    QWidget* voltage = m_frame->View().SetpointPage()->VoltagePage();
    auto radio = [&](const char* text) {
        for (QRadioButton* button : voltage->findChildren<QRadioButton*>()) {
            if (button->text() == QString::fromUtf8(text))
                return button;
        }
        return static_cast<QRadioButton*>(nullptr);
    };
    QRadioButton* threeWire = radio("Трёхпроводная");
    QRadioButton* fourWire = radio("Четырёхпроводная");
    auto* clear = voltage->findChild<QCheckBox*>(QStringLiteral("clearArchive"));
    QVERIFY(threeWire && fourWire && clear);
    m_frame->View().SetCurrentTab(PageId::Setpoints);
    fourWire->click();
    if (!clear->isChecked())
        clear->click();
    Archive()->OnPhaseActionTimer();
    CGrid* dayPhases = Archive()->SubPage(ArchiveKind::Day)->PhaseGrid();
    QVERIFY(Marked(dayPhases, 1, 1));

    threeWire->click();
    Archive()->OnPhaseActionTimer();
    for (int k = 0; k < kArchiveKinds; ++k) {
        CGrid* phases = Archive()->SubPage(ArchiveKind(k))->PhaseGrid();
        QVERIFY(!Marked(phases, 1, 1) && !Marked(phases, 1, 2) && !Marked(phases, 1, 3));
        QVERIFY(Marked(phases, 1, 4));
    }
    fourWire->click();
    Archive()->OnPhaseActionTimer();
    QVERIFY(Marked(dayPhases, 1, 1) && Marked(dayPhases, 1, 2) && Marked(dayPhases, 1, 3));
}

void SelectionEndToEndTest::shortReadChangesNothing_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("fault");
    QTest::newRow("archive") << int(PageId::Archive) << "short=60@0x0B/0x01";
    QTest::newRow("limits") << int(PageId::Limits) << "short=300@0x15/0x01";
}

void SelectionEndToEndTest::shortReadChangesNothing()
{
    QFETCH(int, page);
    QFETCH(QString, fault);
    MeterProcess faulty;
    QVERIFY(faulty.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--config"),
                          m_dir.filePath(QStringLiteral("meter.cfg")), QStringLiteral("--fault"), fault}));
    Connect(faulty);
    const ConfigModel before = m_frame->Document().Model();
    m_frame->View().SetCurrentTab(PageId(page));
    m_prompt.LoginNext(1, "1111");
    modelChanged().Clear();
    m_frame->View().OnReadFromDevice();
    QCOMPARE(m_prompt.texts().last(), msg::kReadFailure);
    QCOMPARE(m_prompt.kinds().last(), QStringLiteral("warning"));
    QCOMPARE(m_frame->Document().Model().archive_mask, before.archive_mask);
    QCOMPARE(m_frame->Document().Model().deviation_limits, before.deviation_limits);
    QVERIFY(Marked(Archive()->SubPage(ArchiveKind::Minute)->PhaseGrid(), 1, 3));
    QCOMPARE(Limits()->findChild<QLabel*>(QStringLiteral("chosenCount"))->text(), QStringLiteral("0"));
    QVERIFY(!modelChanged().IsSet());
}

QTEST_MAIN(SelectionEndToEndTest)
#include "tst_selection_e2e.moc"
