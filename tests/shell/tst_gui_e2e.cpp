// The main window against the virtual meter over TCP: "Проверка связи", the read and write
// commands' identification and version check, and "Сменить пароль". With LADOGRAF_SCREENSHOTS
// set to a folder it also saves the pictures the README shows.
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "WindowFixture.h"
#include "common/Cp1251.h"
#include "device/DeviceMessages.h"
#include "device/FirstView.h"
#include "device/PortScan.h"
#include "model/ModelChanged.h"
#include "shell/AboutBox.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/MainFrame.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

void SaveShot(QWidget& widget, const char* name)
{
    const QString folder = qEnvironmentVariable("LADOGRAF_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(widget.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name)));
}

} // namespace

class GuiEndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { m_frame.reset(); }

    void testConnectionShowsTheIdentity();
    void readOnTheConnectionTabIdentifiesOnlyWhenTheModelHasNoIdentity();
    void writeRefusesAnotherMetersConfiguration();
    void writeAdoptsTheMetersIdentityIntoANewConfiguration();
    void changePassword();

private:
    QLineEdit* Edit(const char* name) { return Page()->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QString Label(const char* name) { return Page()->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    CFirstView* Page() { return m_frame->View().ConnectionPage(); }
    void ClickTest() { Page()->findChild<QPushButton*>(QStringLiteral("testConnection"))->click(); }

    MeterProcess m_meter;
    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<CMainFrame> m_frame;
};

void GuiEndToEndTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}));
    QVERIFY(m_meter.TcpPort() != 0);
}

void GuiEndToEndTest::init()
{
    m_prompt.clear();
    m_frame = MakeTestWindow(m_prompt, m_dir.filePath(QStringLiteral("settings.ini")));
    PointAtMeter(*Page(), m_meter.TcpPort());
}

void GuiEndToEndTest::testConnectionShowsTheIdentity()
{
    m_prompt.LoginNext(1, "1111");
    ClickTest();
    QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
    QCOMPARE(Label("serialValue"), QStringLiteral("12345"));
    QCOMPARE(Label("versionValue"), QStringLiteral("1.7.0 / 2.1.3"));
    QCOMPARE(Label("modelValue"), QStringLiteral("Ворант-ПКЭ-1.7"));
    QCOMPARE(m_frame->ConnectionPane()->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(m_frame->Document().Model().connection_address, 1);
    SaveShot(*m_frame, "connection-page.png");

    CAboutDlg about(m_frame.get());
    about.show();
    SaveShot(about, "about-box.png");
}

void GuiEndToEndTest::readOnTheConnectionTabIdentifiesOnlyWhenTheModelHasNoIdentity()
{
    ConfigModel& model = m_frame->Document().Model();
    model.firmware_version = "1.0.0 / 1.0.0";
    model.modification = "x";
    m_frame->View().OnReadFromDevice();
    QVERIFY(m_prompt.shown().isEmpty());  // nothing was sent: no login was needed

    model.firmware_version.clear();
    model.modification.clear();
    // An address typed but not yet stored stays as typed after the identification.
    Edit("ethernetAddress")->setText(QStringLiteral("0001"));
    m_prompt.LoginNext(1, "1111");
    m_frame->Action(command::kReadFromDevice)->trigger();
    QCOMPARE(Edit("ethernetAddress")->text(), QStringLiteral("0001"));
    QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
    QCOMPARE(model.firmware_version, QByteArray("1.7.0 / 2.1.3"));
    QCOMPARE(Label("versionValue"), QStringLiteral("1.7.0 / 2.1.3"));
    QCOMPARE(Label("modelValue"), QStringLiteral("Ворант-ПКЭ-1.7"));
    QCOMPARE(m_frame->MessagePane()->text(), QStringLiteral(" "));
}

void GuiEndToEndTest::writeRefusesAnotherMetersConfiguration()
{
    ConfigModel& model = m_frame->Document().Model();
    model.firmware_version = "1.7.0 / 2.1.4";
    model.modification = cp1251::Encode(u"Ворант-ПКЭ-1.7");
    m_frame->View().SetCurrentTab(PageId::Groups);
    m_prompt.LoginNext(1, "1111");
    m_frame->Action(command::kWriteToDevice)->trigger();
    QCOMPARE(m_prompt.kinds(), (QStringList{QStringLiteral("auth"), QStringLiteral("error")}));
    QCOMPARE(m_prompt.texts().last(), msg::kVersionConflict);
    QCOMPARE(model.firmware_version, QByteArray("1.7.0 / 2.1.4"));
}

void GuiEndToEndTest::writeAdoptsTheMetersIdentityIntoANewConfiguration()
{
    // The groups go out after the identification: one login at the second level, no question.
    m_frame->View().SetCurrentTab(PageId::Groups);
    m_prompt.LoginNext(2, "2222");
    m_frame->View().OnWriteToDevice();
    QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
    QCOMPARE(m_frame->Document().Model().firmware_version, QByteArray("1.7.0 / 2.1.3"));
    QCOMPARE(m_frame->Document().Model().modification, cp1251::Encode(u"Ворант-ПКЭ-1.7"));
    // The connection page shows it, so storing the pages (a save, a print) keeps it.
    QCOMPARE(Label("versionValue"), QStringLiteral("1.7.0 / 2.1.3"));
    m_frame->View().CollectPages();
    QCOMPARE(m_frame->Document().Model().firmware_version, QByteArray("1.7.0 / 2.1.3"));

    // An unreachable meter: the identification fails with the exchange-failure error.
    Edit("tcpPort")->setText(QStringLiteral("1"));
    m_frame->Document().Model().firmware_version.clear();
    m_prompt.clear();
    m_frame->View().OnWriteToDevice();
    QCOMPARE(m_prompt.texts().last(), msg::kExchangeFailure);
    QCOMPARE(m_prompt.kinds().last(), QStringLiteral("error"));
}

void GuiEndToEndTest::changePassword()
{
    m_frame->View().SetPasswordDialog([] {
        return std::optional<CConfigView::PasswordChange>(CConfigView::PasswordChange{1, "2222", "2222"});
    });
    m_frame->Action(command::kChangePassword)->trigger();
    QCOMPARE(m_prompt.texts(), QStringList{msg::PasswordChanged(2)});
    QCOMPARE(m_frame->View().Processor().AccessLevel(), 2);

    // A cancelled dialog does nothing.
    m_prompt.clear();
    m_frame->View().SetPasswordDialog([] { return std::optional<CConfigView::PasswordChange>(); });
    m_frame->View().OnChangePassword();
    QVERIFY(m_prompt.shown().isEmpty());
}

QTEST_MAIN(GuiEndToEndTest)
#include "tst_gui_e2e.moc"
