// The connection page and the two password dialogs, against the virtual meter in memory.
#include "MemoryLink.h"
#include "MeterSim.h"
#include "ScriptedPrompt.h"
#include "common/Cp1251.h"
#include "device/DeviceMessages.h"
#include "device/EthernetPort.h"
#include "device/FirstView.h"
#include "device/PasswordDialogs.h"
#include "device/ProcessCommand.h"
#include "model/ConfigModel.h"
#include "shell/AppSettings.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

// A connection page wired to an in-memory meter on its serial link.
struct Bench {
    MeterSim meter;
    MemoryLink serial{meter};
    CEthernetPort ethernet;
    ScriptedPrompt prompt;
    CProcessCommand engine{prompt};
    ConfigModel model;
    CFirstView page;
    QString systemAddress;

    Bench()
    {
        engine.SetPauseFunction([](int) {});
        page.SetLinks(&serial, &ethernet);
        page.SetModel(&model);
        page.SetSystemAddressSink([this](const QString& text) { systemAddress = text; });
        page.AttachProcessCommand(&engine);
    }
    template <typename T> T* Child(const char* name) { return page.findChild<T*>(QString::fromLatin1(name)); }
    QLineEdit* Edit(const char* name) { return Child<QLineEdit>(name); }
    QString Label(const char* name) { return Child<QLabel>(name)->text(); }
    void Test() { Child<QPushButton>("testConnection")->click(); }
};

} // namespace

class ConnectionPageTest : public QObject {
    Q_OBJECT
private slots:
    void addressCopiesToTheChosenLink();
    void enableRulesFollowTheLinkChoice();
    void linkChoiceRetargetsTheEngine();
    void tooltips();
    void accessibleNames_data();
    void accessibleNames();
    void invalidAddressSendsNothing_data();
    void invalidAddressSendsNothing();
    void identificationFillsPageAndModel();
    void secondIdentificationOfTheSameMeterKeepsTheModel();
    void cancelledLoginKeepsTheIdentity();
    void timeoutSetsTheWaitCount_data();
    void timeoutSetsTheWaitCount();
    void modelExchange();
    void settingsInAndOut();

    void changePasswordValidation_data();
    void changePasswordValidation();
    void authenticationDialog();
};

void ConnectionPageTest::addressCopiesToTheChosenLink()
{
    Bench b;
    b.Edit("serialAddress")->setText(QStringLiteral("12"));
    b.Child<QRadioButton>("ethernetRadio")->click();
    QCOMPARE(b.Edit("ethernetAddress")->text(), QStringLiteral("12"));

    // An empty address is not copied: the other edit keeps its text.
    b.Edit("ethernetAddress")->setText(QStringLiteral("40"));
    b.Child<QRadioButton>("serialRadio")->click();
    QCOMPARE(b.Edit("serialAddress")->text(), QStringLiteral("40"));
    b.Edit("serialAddress")->clear();
    b.Child<QRadioButton>("ethernetRadio")->click();
    QCOMPARE(b.Edit("ethernetAddress")->text(), QStringLiteral("40"));
}

void ConnectionPageTest::enableRulesFollowTheLinkChoice()
{
    Bench b;
    const auto serialSide = {"serialAddress", "portList", "baudList", "refreshPorts"};
    const auto ethernetSide = {"ethernetAddress", "host", "tcpPort", "timeout"};
    for (int choice : {int(CFirstView::EthernetLink), int(CFirstView::SerialLink)}) {
        b.page.SetLinkChoice(choice);
        const bool serial = choice == CFirstView::SerialLink;
        for (const char* name : serialSide)
            QVERIFY2(b.Child<QWidget>(name)->isEnabled() == serial, name);
        for (const char* name : ethernetSide)
            QVERIFY2(b.Child<QWidget>(name)->isEnabled() == !serial, name);
        // The modem controls are never usable.
        for (const char* name : {"modem", "phone", "modemInit"})
            QVERIFY2(!b.Child<QWidget>(name)->isEnabled(), name);
    }
}

void ConnectionPageTest::linkChoiceRetargetsTheEngine()
{
    Bench b;
    QCOMPARE(b.engine.Transport(), static_cast<CSerial*>(&b.serial));
    b.Child<QRadioButton>("ethernetRadio")->click();
    QCOMPARE(b.engine.Transport(), static_cast<CSerial*>(&b.ethernet));
    b.Edit("host")->setText(QStringLiteral("10.0.0.5"));
    b.Edit("tcpPort")->setText(QStringLiteral("5555"));
    b.Edit("ethernetAddress")->setText(QStringLiteral("3"));
    const LinkSettings target = b.page.CurrentTarget();
    QCOMPARE(target.portName, QStringLiteral("10.0.0.5"));
    QCOMPARE(target.linkParameter, 5555u);
    QCOMPARE(target.deviceAddress, 3);
    QCOMPARE(b.page.ConnectionPaneText(), QStringLiteral("10.0.0.5"));
    b.Child<QRadioButton>("serialRadio")->click();
    QCOMPARE(b.engine.Transport(), static_cast<CSerial*>(&b.serial));
    QCOMPARE(b.page.ConnectionPaneText(), b.Child<QComboBox>("portList")->currentText() + QStringLiteral(":115200"));
}

void ConnectionPageTest::tooltips()
{
    Bench b;
    QCOMPARE(b.Edit("serialAddress")->toolTip(), QStringLiteral("Адрес прибора - число от 1 до 65 535"));
    QCOMPARE(b.Child<QComboBox>("portList")->toolTip(), QStringLiteral("Последовательный порт"));
    QCOMPARE(b.Child<QComboBox>("baudList")->toolTip(), QStringLiteral("Скорость обмена по выбранному порту"));
    QCOMPARE(b.Child<QComboBox>("baudList")->count(), 11);
    QCOMPARE(b.Child<QComboBox>("baudList")->itemText(0), QStringLiteral("110"));
    // The two address edits are centred, the time-out is not.
    QCOMPARE(int(b.Edit("serialAddress")->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));
    QCOMPARE(int(b.Edit("ethernetAddress")->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));
    QCOMPARE(int(b.Edit("timeout")->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignLeft));
}

void ConnectionPageTest::accessibleNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("serial address") << "serialAddress" << "Последовательный порт: Адрес прибора:";
    QTest::newRow("port list") << "portList" << "Последовательный порт: Номер порта:";
    QTest::newRow("refresh button") << "refreshPorts" << "Обновить список портов";
    QTest::newRow("baud list") << "baudList" << "Скорость обмена:";
    QTest::newRow("phone") << "phone" << "Номер телефона:";
    QTest::newRow("ethernet address") << "ethernetAddress" << "Ethernet: Адрес прибора:";
    QTest::newRow("host") << "host" << "Имя / IP-адрес:";
    QTest::newRow("tcp port") << "tcpPort" << "Ethernet: Номер порта:";
    QTest::newRow("timeout") << "timeout" << "Тайм-аут:";
    QTest::newRow("test button") << "testConnection" << "Проверка связи";
    QTest::newRow("serial radio") << "serialRadio" << "Последовательный порт";
}

// What a screen reader says for each control.
void ConnectionPageTest::accessibleNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    Bench b;
    b.page.show();
    QWidget* widget = b.page.findChild<QWidget*>(control);
    QVERIFY(widget);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    if (!qobject_cast<QComboBox*>(widget)) {
        QCOMPARE(accessible->text(QAccessible::Name), name);
        return;
    }
    // On Linux a list's name is its current entry; the reader says the label it is
    // labelled by.
    const auto labels = accessible->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->text(QAccessible::Name), name.section(QStringLiteral(": "), -1));
}

void ConnectionPageTest::invalidAddressSendsNothing_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("above the range") << "65536" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("highest") << "65535" << true;
}

void ConnectionPageTest::invalidAddressSendsNothing()
{
    QFETCH(QString, address);
    QFETCH(bool, valid);
    Bench b;
    b.Edit("serialAddress")->setText(address);
    b.prompt.CancelNextLogin();
    b.Test();
    if (valid) {
        // The link test went out; the cancelled login ended it.
        QCOMPARE(b.prompt.kinds(), QStringList{QStringLiteral("auth")});
        QCOMPARE(b.engine.DeviceAddress(), std::uint16_t(65535));
    } else {
        QCOMPARE(b.prompt.kinds(), QStringList{QStringLiteral("plain")});
        QCOMPARE(b.prompt.texts(), QStringList{msg::kAddressRangePage});
        QVERIFY(b.meter.Requests().isEmpty());
    }
}

void ConnectionPageTest::identificationFillsPageAndModel()
{
    Bench b;
    b.model.connection_address = 9;
    b.Edit("serialAddress")->setText(QStringLiteral("05"));
    b.prompt.LoginNext(1, "1111");
    b.Test();
    QCOMPARE(b.prompt.kinds(), QStringList{QStringLiteral("auth")});
    QCOMPARE(b.Label("serialValue"), QStringLiteral("12345"));
    QCOMPARE(b.Label("versionValue"), QStringLiteral("1.7.0 / 2.1.3"));
    QCOMPARE(b.Label("modelValue"), QStringLiteral("Ворант-ПКЭ-1.7"));
    QCOMPARE(b.model.firmware_version, QByteArray("1.7.0 / 2.1.3"));
    QCOMPARE(b.model.modification, cp1251::Encode(u"Ворант-ПКЭ-1.7"));
    QCOMPARE(b.model.connection_address, 5);
    QCOMPARE(b.model.device_address, std::uint16_t(5));
    QCOMPARE(b.systemAddress, QStringLiteral("05"));  // the text as typed
    // The virtual meter's detail bytes count up from 1.
    QByteArray details;
    for (int i = 1; i <= 29; ++i)
        details.append(char(i));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(b.model.identity_block.data()), 29), details);
    QCOMPARE(b.engine.AccessLevel(), 1);
}

void ConnectionPageTest::secondIdentificationOfTheSameMeterKeepsTheModel()
{
    Bench b;
    b.Edit("serialAddress")->setText(QStringLiteral("5"));
    b.prompt.LoginNext(1, "1111");
    b.Test();
    b.Edit("serialAddress")->setText(QStringLiteral("8"));
    b.prompt.LoginNext(1, "1111");
    b.Test();
    // Same serial, version and model name: only the device address follows the test.
    QCOMPARE(b.model.connection_address, 5);
    QCOMPARE(b.model.device_address, std::uint16_t(8));
}

void ConnectionPageTest::cancelledLoginKeepsTheIdentity()
{
    Bench b;
    b.model.firmware_version = "old";
    b.Edit("serialAddress")->setText(QStringLiteral("5"));
    b.prompt.CancelNextLogin();
    b.Test();
    QCOMPARE(b.Label("serialValue"), QString());
    QCOMPARE(b.model.firmware_version, QByteArray("old"));
    QVERIFY(b.systemAddress.isEmpty());
}

void ConnectionPageTest::timeoutSetsTheWaitCount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<uint>("waitCount");
    QTest::newRow("2 s") << QStringLiteral("2") << 100u;
    QTest::newRow("empty") << QString() << 0u;
    QTest::newRow("largest exact") << QStringLiteral("85899345") << 4294967250u;
    // Beyond the count the wait is the longest there is, never a wrapped short one.
    QTest::newRow("first beyond") << QStringLiteral("85899346") << 4294967250u;
    QTest::newRow("many digits") << QStringLiteral("99999999999999999999") << 4294967250u;
}

void ConnectionPageTest::timeoutSetsTheWaitCount()
{
    QFETCH(QString, typed);
    QFETCH(uint, waitCount);
    Bench b;
    QCOMPARE(b.ethernet.WaitCount(), 500u);  // the page's 10 s
    b.page.SetLinkChoice(CFirstView::EthernetLink);
    b.Edit("timeout")->setText(typed);
    QCOMPARE(b.ethernet.WaitCount(), waitCount);
}

void ConnectionPageTest::modelExchange()
{
    Bench b;
    b.model.connection_address = 250;
    b.model.firmware_version = "1.7.0 / 2.1.3";
    b.model.modification = cp1251::Encode(u"Ворант-ПКЭ-1.7");
    b.page.SetLinkChoice(CFirstView::EthernetLink);
    b.page.ExchangeWithModel(b.model, CFormPage::ToPage);
    QCOMPARE(b.Edit("ethernetAddress")->text(), QStringLiteral("250"));
    QCOMPARE(b.Edit("serialAddress")->text(), QStringLiteral("250"));
    QCOMPARE(b.Label("versionValue"), QStringLiteral("1.7.0 / 2.1.3"));
    QCOMPARE(b.Label("modelValue"), QStringLiteral("Ворант-ПКЭ-1.7"));
    QCOMPARE(b.engine.Transport(), static_cast<CSerial*>(&b.ethernet));

    b.Edit("ethernetAddress")->setText(QStringLiteral("77"));
    ConfigModel out;
    b.page.ExchangeWithModel(out, CFormPage::ToModel);
    QCOMPARE(out.connection_address, 77);
    QCOMPARE(out.firmware_version, b.model.firmware_version);
    QCOMPARE(out.modification, b.model.modification);

    // Address 0 shows as an empty edit and reads back as 0.
    b.model.connection_address = 0;
    b.Edit("ethernetAddress")->setText(QStringLiteral("1"));
    b.page.ExchangeWithModel(b.model, CFormPage::ToPage);
    QCOMPARE(b.Edit("ethernetAddress")->text(), QString());
    b.page.ExchangeWithModel(out, CFormPage::ToModel);
    QCOMPARE(out.connection_address, 0);
}

void ConnectionPageTest::settingsInAndOut()
{
    Bench b;
    AppSettings in;
    in.type = QStringLiteral("1");
    in.comName = QStringLiteral("no-such-port");
    in.comBaud = QStringLiteral("230400");  // no entry begins with it: the first one
    in.ethernetName = QStringLiteral("127.0.0.1");
    in.ethernetPort = QStringLiteral("5555");
    in.ethernetTimeout = QStringLiteral("3");
    in.telephone = QStringLiteral("123");
    b.page.LoadSettings(in);
    QCOMPARE(b.page.LinkChoiceValue(), int(CFirstView::EthernetLink));
    QCOMPARE(b.Child<QComboBox>("baudList")->currentText(), QStringLiteral("110"));
    QCOMPARE(b.Child<QComboBox>("portList")->count(), 0);
    QCOMPARE(b.ethernet.WaitCount(), 150u);

    b.Edit("serialAddress")->setText(QStringLiteral("11"));
    b.Edit("ethernetAddress")->setText(QStringLiteral("22"));
    AppSettings out;
    b.page.StoreSettings(out);
    // With TCP chosen the TCP address is the one stored.
    QCOMPARE(out.number, QStringLiteral("22"));
    QCOMPARE(out.type, QStringLiteral("1"));
    QCOMPARE(out.comBaud, QStringLiteral("110"));
    QCOMPARE(out.comName, QString());
    QCOMPARE(out.ethernetName, in.ethernetName);
    QCOMPARE(out.ethernetPort, in.ethernetPort);
    QCOMPARE(out.ethernetTimeout, in.ethernetTimeout);
    QCOMPARE(out.telephone, in.telephone);

    // The scan's list selects the first entry that begins with the saved name.
    b.page.SetPortList({QStringLiteral("ttyS0"), QStringLiteral("COM10"), QStringLiteral("COM11")}, QStringLiteral("COM1"));
    QCOMPARE(b.Child<QComboBox>("portList")->currentText(), QStringLiteral("COM10"));
    b.page.SetPortList({QStringLiteral("ttyS0"), QStringLiteral("ttyS1")}, QStringLiteral("COM1"));
    QCOMPARE(b.Child<QComboBox>("portList")->currentText(), QStringLiteral("ttyS0"));
}

void ConnectionPageTest::changePasswordValidation_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("notice");
    QTest::newRow("letters and digits") << "Ab12xyZ9" << "Ab12xyZ9" << QString();
    QTest::newRow("empty passes") << "" << "" << QString();
    QTest::newRow("differ") << "1234" << "1235" << msg::kPasswordsDiffer;
    QTest::newRow("cyrillic") << "пароль" << "пароль" << msg::kPasswordBadCharacters;
    QTest::newRow("blank") << "12 34" << "12 34" << msg::kPasswordBadCharacters;
    QTest::newRow("hyphen") << "12-34" << "12-34" << msg::kPasswordBadCharacters;
}

void ConnectionPageTest::changePasswordValidation()
{
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, notice);
    ScriptedPrompt prompt;
    CDialogChangPasswd dialog(prompt);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Смена пароля"));
    dialog.findChild<QComboBox*>(QStringLiteral("level"))->setCurrentIndex(1);
    dialog.findChild<QLineEdit*>(QStringLiteral("oldPassword"))->setText(QStringLiteral("2222"));
    auto* fresh = dialog.findChild<QLineEdit*>(QStringLiteral("newPassword"));
    auto* confirm = dialog.findChild<QLineEdit*>(QStringLiteral("confirmPassword"));
    QCOMPARE(fresh->maxLength(), 8);
    QCOMPARE(fresh->echoMode(), QLineEdit::Password);
    fresh->setText(newPassword);
    confirm->setText(confirmation);
    dialog.open();
    dialog.findChild<QPushButton*>(QStringLiteral("continue"))->click();
    if (notice.isEmpty()) {
        QVERIFY(prompt.shown().isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.LevelIndex(), 1);
        QCOMPARE(dialog.OldPassword(), QByteArray("2222"));
        QCOMPARE(dialog.NewPassword(), newPassword.toLatin1());
    } else {
        QCOMPARE(prompt.texts(), QStringList{notice});
        QVERIFY(dialog.isVisible());
        QVERIFY(fresh->text().isEmpty());
        QVERIFY(confirm->text().isEmpty());
    }
}

void ConnectionPageTest::authenticationDialog()
{
    CDialogTestConect dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral(" Аутентификация"));
    auto* level = dialog.findChild<QComboBox*>(QStringLiteral("level"));
    auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("password"));
    QCOMPARE(level->currentText(), QStringLiteral("Первый уровень"));
    QVERIFY(password->text().isEmpty());
    QCOMPARE(password->maxLength(), 8);
    level->setCurrentIndex(1);
    password->setText(QStringLiteral("2222"));
    QCOMPARE(dialog.Level(), 2);
    QCOMPARE(dialog.Password(), QByteArray("2222"));
}

QTEST_MAIN(ConnectionPageTest)
#include "tst_connectionpage.moc"
