#include "FirstView.h"

#include "DeviceMessages.h"
#include "EthernetPort.h"
#include "PortScan.h"
#include "ProcessCommand.h"
#include "SerialPort.h"
#include "common/Cp1251.h"
#include "common/UserPrompt.h"
#include "model/ConfigModel.h"
#include "pages/ConnectionCheck.h"
#include "shell/AppSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace {

QLineEdit* DigitsEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignCenter);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QLineEdit* TextEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QLabel* ValueLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(160);
    return label;
}

} // namespace

const QStringList& CFirstView::BaudRates() { return SerialBaudRates(); }

CFirstView::CFirstView(QWidget* parent)
    : CFormPage(parent)
{
    setObjectName(QStringLiteral("CFirstView"));

    // Left: the serial port.
    m_serialRadio = new QRadioButton(QStringLiteral("Последовательный порт"), this);
    m_serialRadio->setObjectName(QStringLiteral("serialRadio"));
    auto* serialBox = new QGroupBox(this);
    m_serialAddress = DigitsEdit(serialBox, QStringLiteral("serialAddress"));
    m_serialAddress->setToolTip(QStringLiteral("Адрес прибора - число от 1 до 65 535"));
    m_portList = new QComboBox(serialBox);
    m_portList->setObjectName(QStringLiteral("portList"));
    m_portList->setToolTip(QStringLiteral("Последовательный порт"));
    m_portList->setMinimumContentsLength(10);
    m_refresh = new QToolButton(serialBox);
    m_refresh->setObjectName(QStringLiteral("refreshPorts"));
    m_refresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    // An icon button: a screen reader says what it does.
    m_refresh->setToolTip(QStringLiteral("Обновить список портов"));
    m_refresh->setAccessibleName(m_refresh->toolTip());
    m_baudList = new QComboBox(serialBox);
    m_baudList->setObjectName(QStringLiteral("baudList"));
    m_baudList->addItems(BaudRates());
    m_baudList->setCurrentText(QStringLiteral("115200"));
    m_baudList->setToolTip(QStringLiteral("Скорость обмена по выбранному порту"));
    m_modem = new QCheckBox(QStringLiteral("Использовать модем"), serialBox);
    m_modem->setObjectName(QStringLiteral("modem"));
    m_modem->setEnabled(false);
    m_phone = TextEdit(serialBox, QStringLiteral("phone"));
    m_phone->setEnabled(false);
    m_modemInit = TextEdit(serialBox, QStringLiteral("modemInit"));
    m_modemInit->setEnabled(false);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(m_portList, 1);
    portRow->addWidget(m_refresh);
    auto* serialForm = new QFormLayout(serialBox);
    serialForm->addRow(QStringLiteral("Адрес прибора:"), m_serialAddress);
    serialForm->addRow(QStringLiteral("Номер порта:"), portRow);
    serialForm->addRow(QStringLiteral("Скорость обмена:"), m_baudList);
    serialForm->addRow(m_modem);
    serialForm->addRow(QStringLiteral("Номер телефона:"), m_phone);
    serialForm->addRow(QStringLiteral("Строка инициализации:"), m_modemInit);

    // Right: Ethernet.
    m_ethernetRadio = new QRadioButton(QStringLiteral("Ethernet"), this);
    m_ethernetRadio->setObjectName(QStringLiteral("ethernetRadio"));
    auto* ethernetBox = new QGroupBox(this);
    m_ethernetAddress = DigitsEdit(ethernetBox, QStringLiteral("ethernetAddress"));
    m_host = TextEdit(ethernetBox, QStringLiteral("host"));
    m_tcpPort = TextEdit(ethernetBox, QStringLiteral("tcpPort"));
    m_timeout = DigitsEdit(ethernetBox, QStringLiteral("timeout"));
    m_timeout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);  // only the two address edits are centred
    auto* timeoutRow = new QHBoxLayout;
    timeoutRow->addWidget(m_timeout, 1);
    timeoutRow->addWidget(new QLabel(QStringLiteral("сек."), ethernetBox));
    auto* ethernetForm = new QFormLayout(ethernetBox);
    ethernetForm->addRow(QStringLiteral("Адрес прибора:"), m_ethernetAddress);
    ethernetForm->addRow(QStringLiteral("Имя / IP-адрес:"), m_host);
    ethernetForm->addRow(QStringLiteral("Номер порта:"), m_tcpPort);
    ethernetForm->addRow(QStringLiteral("Тайм-аут:"), timeoutRow);

    // Both groups have an address and a port number: a screen reader names the group first.
    // The other edits and lists are named by their label (the form's buddy labels).
    const QString serialTitle = m_serialRadio->text();
    const QString ethernetTitle = m_ethernetRadio->text();
    m_serialAddress->setAccessibleName(serialTitle + QStringLiteral(": Адрес прибора:"));
    m_portList->setAccessibleName(serialTitle + QStringLiteral(": Номер порта:"));
    m_ethernetAddress->setAccessibleName(ethernetTitle + QStringLiteral(": Адрес прибора:"));
    m_tcpPort->setAccessibleName(ethernetTitle + QStringLiteral(": Номер порта:"));
    m_timeout->setAccessibleName(QStringLiteral("Тайм-аут:"));
    // On Linux a list's name is its entry; the reader takes the label from the buddy relation.
    m_baudList->setAccessibleName(QStringLiteral("Скорость обмена:"));
    for (auto [form, field, control] : {std::tuple<QFormLayout*, QLayout*, QWidget*>{serialForm, portRow, m_portList},
                                        {ethernetForm, timeoutRow, m_timeout}}) {
        if (auto* label = qobject_cast<QLabel*>(form->labelForField(field)))
            label->setBuddy(control);
    }

    auto* test = new QPushButton(QStringLiteral("Проверка связи"), this);
    test->setObjectName(QStringLiteral("testConnection"));

    auto* info = new QGroupBox(QStringLiteral("Информация о приборе"), this);
    m_serialValue = ValueLabel(info, QStringLiteral("serialValue"));
    m_versionValue = ValueLabel(info, QStringLiteral("versionValue"));
    m_modelValue = ValueLabel(info, QStringLiteral("modelValue"));
    auto* infoForm = new QFormLayout(info);
    infoForm->addRow(QStringLiteral("Заводской номер:"), m_serialValue);
    infoForm->addRow(QStringLiteral("Версия ПО:"), m_versionValue);
    infoForm->addRow(QStringLiteral("Модификация:"), m_modelValue);

    auto* grid = new QGridLayout;
    grid->addWidget(m_serialRadio, 0, 0);
    grid->addWidget(serialBox, 1, 0);
    grid->addWidget(m_ethernetRadio, 0, 1);
    grid->addWidget(ethernetBox, 1, 1, Qt::AlignTop);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(info, 1);
    bottom->addWidget(test, 0, Qt::AlignBottom);
    auto* page = new QVBoxLayout(this);
    page->addLayout(grid);
    page->addLayout(bottom);
    page->addStretch(1);

    m_serialRadio->setChecked(true);
    m_timeout->setText(QStringLiteral("10"));

    m_refreshScan = new CPortScan(this);
    connect(m_refreshScan, &CPortScan::Finished, this, [this](const QStringList& ports) {
        const QString remembered = m_rememberedPort;
        SetPortList(ports, remembered);
        if (remembered.isEmpty())
            m_portList->setCurrentIndex(-1);
        SetRefreshEnabled(true);
    });

    connect(m_serialRadio, &QRadioButton::clicked, this, [this] { SetLinkChoice(SerialLink); });
    connect(m_ethernetRadio, &QRadioButton::clicked, this, [this] { SetLinkChoice(EthernetLink); });
    connect(m_refresh, &QToolButton::clicked, this, &CFirstView::RefreshPorts);
    connect(test, &QPushButton::clicked, this, &CFirstView::TestConnection);
    connect(m_timeout, &QLineEdit::textChanged, this, &CFirstView::OnTimeoutEdited);
    connect(m_portList, &QComboBox::currentTextChanged, this, &CFirstView::LinkChanged);
    connect(m_baudList, &QComboBox::currentTextChanged, this, &CFirstView::LinkChanged);
    connect(m_host, &QLineEdit::textChanged, this, &CFirstView::LinkChanged);
    ApplyLinkChoice(false);
}

void CFirstView::SetLinks(CSerial* serial, CEthernetPort* ethernet)
{
    m_serialLink = serial;
    m_ethernetLink = ethernet;
    OnTimeoutEdited(m_timeout->text());
}

void CFirstView::AttachProcessCommand(CProcessCommand* processor)
{
    CFormPage::AttachProcessCommand(processor);
    if (processor && m_serialLink && m_ethernetLink)
        processor->SetTransport(m_linkChoice == EthernetLink ? static_cast<CSerial*>(m_ethernetLink) : m_serialLink);
}

void CFirstView::SetLinkChoice(int choice)
{
    m_linkChoice = choice == EthernetLink ? EthernetLink : SerialLink;
    ApplyLinkChoice(true);
}

void CFirstView::ApplyLinkChoice(bool copyFromOther)
{
    const bool serial = m_linkChoice == SerialLink;
    m_serialRadio->setChecked(serial);
    m_ethernetRadio->setChecked(!serial);
    for (QWidget* w : {static_cast<QWidget*>(m_serialAddress), static_cast<QWidget*>(m_portList),
                       static_cast<QWidget*>(m_baudList), static_cast<QWidget*>(m_refresh)})
        w->setEnabled(serial);
    // The refresh button stays off while a scan runs.
    if (m_scanning)
        m_refresh->setEnabled(false);
    for (QLineEdit* e : {m_ethernetAddress, m_host, m_tcpPort, m_timeout})
        e->setEnabled(!serial);
    if (copyFromOther) {
        QLineEdit* from = serial ? m_ethernetAddress : m_serialAddress;
        QLineEdit* to = serial ? m_serialAddress : m_ethernetAddress;
        if (!from->text().isEmpty())
            to->setText(from->text());
    }
    if (Processor() && m_serialLink && m_ethernetLink)
        Processor()->SetTransport(serial ? m_serialLink : static_cast<CSerial*>(m_ethernetLink));
    emit LinkChanged();
}

void CFirstView::ExchangeWithModel(ConfigModel& model, int direction)
{
    QLineEdit* address = m_linkChoice == EthernetLink ? m_ethernetAddress : m_serialAddress;
    if (direction == ToPage) {
        address->setText(model.connection_address == 0 ? QString() : QString::number(model.connection_address));
        m_modelName = model.modification;
        m_version = model.firmware_version;
        RefreshIdentity();
        // The loaded address goes to the other edit too, so both show it.
        QLineEdit* other = m_linkChoice == EthernetLink ? m_serialAddress : m_ethernetAddress;
        if (!address->text().isEmpty())
            other->setText(address->text());
        ApplyLinkChoice(false);
    } else {
        model.connection_address = LeadingNumber(address->text());
        model.modification = m_modelName;
        model.firmware_version = m_version;
    }
}

void CFirstView::ShowIdentity(const ConfigModel& model)
{
    m_modelName = model.modification;
    m_version = model.firmware_version;
    RefreshIdentity();
}

void CFirstView::RefreshIdentity()
{
    m_serialValue->setText(cp1251::Decode(m_serial));
    m_versionValue->setText(cp1251::Decode(m_version));
    m_modelValue->setText(cp1251::Decode(m_modelName));
}

void CFirstView::OnTimeoutEdited(const QString& text)
{
    if (m_ethernetLink)
        m_ethernetLink->SetWaitCount(CEthernetPort::WaitCountForSeconds(std::uint64_t(LeadingNumber(text))));
}

void CFirstView::SelectBaud(const QString& saved)
{
    m_baudList->setCurrentIndex(BaudEntryFor(BaudRates(), saved));
}

void CFirstView::LoadSettings(const AppSettings& settings)
{
    m_linkChoice = LeadingNumber(settings.type) == EthernetLink ? EthernetLink : SerialLink;
    m_phone->setText(settings.telephone);
    m_modemInit->setText(settings.telephoneInit);
    m_portList->clear();
    if (PortExists(settings.comName)) {
        m_portList->addItem(settings.comName);
        m_portList->setCurrentIndex(0);
    }
    SelectBaud(settings.comBaud);
    m_host->setText(settings.ethernetName);
    m_tcpPort->setText(settings.ethernetPort);
    m_timeout->setText(settings.ethernetTimeout);
    ApplyLinkChoice(false);
}

void CFirstView::StoreSettings(AppSettings& settings) const
{
    settings.number = AddressText();
    settings.type = QString::number(m_linkChoice);
    settings.comName = m_portList->currentText();
    settings.comBaud = m_baudList->currentText();
    settings.ethernetName = m_host->text();
    settings.ethernetPort = m_tcpPort->text();
    settings.ethernetTimeout = m_timeout->text();
    settings.telephone = m_phone->text();
    settings.telephoneInit = m_modemInit->text();
}

void CFirstView::SetPortList(const QStringList& ports, const QString& savedName)
{
    m_portList->clear();
    m_portList->addItems(ports);
    m_portList->setCurrentIndex(PortEntryFor(ports, savedName));
}

void CFirstView::SetRefreshEnabled(bool enabled)
{
    m_scanning = !enabled;
    m_refresh->setEnabled(enabled && m_linkChoice == SerialLink);
}

void CFirstView::RefreshPorts()
{
    if (m_refreshScan->IsRunning())
        return;
    m_rememberedPort = m_portList->currentText();
    SetRefreshEnabled(false);
    m_refreshScan->Start();
}

QString CFirstView::AddressText() const
{
    return m_linkChoice == EthernetLink ? m_ethernetAddress->text() : m_serialAddress->text();
}

LinkSettings CFirstView::CurrentTarget() const
{
    LinkSettings target;
    if (m_linkChoice == EthernetLink) {
        target.portName = m_host->text();
        target.linkParameter = std::uint32_t(LeadingNumber(m_tcpPort->text()));
    } else {
        target.portName = m_portList->currentText();
        target.linkParameter = std::uint32_t(LeadingNumber(m_baudList->currentText()));
    }
    target.deviceAddress = LeadingNumber(AddressText());
    return target;
}

void CFirstView::PointEthernetAt(const QString& host, const QString& port)
{
    m_host->setText(host);
    m_tcpPort->setText(port);
    SetLinkChoice(EthernetLink);
    if (m_ethernetAddress->text().isEmpty())
        m_ethernetAddress->setText(QStringLiteral("1"));
}

void CFirstView::FocusAddressField()
{
    (m_linkChoice == EthernetLink ? m_ethernetAddress : m_serialAddress)->setFocus();
}

QString CFirstView::ConnectionPaneText() const
{
    if (m_linkChoice == EthernetLink)
        return m_host->text();
    return m_portList->currentText() + QLatin1Char(':') + m_baudList->currentText();
}

void CFirstView::TestConnection()
{
    CProcessCommand* engine = Processor();
    if (!engine)
        return;
    const LinkSettings target = CurrentTarget();
    const std::optional<DeviceIdentity> identity = CheckConnection(target, *engine, engine->Prompt());
    if (!identity)
        return;
    if (m_model) {
        DeviceIdentity shown;
        shown.modelName = m_modelName;
        shown.serial = m_serial;
        AdoptIdentity(*identity, shown, target.deviceAddress, *m_model);
    }
    m_version = identity->version;
    m_modelName = identity->modelName;
    m_serial = identity->serial;
    // The system page gets the address as typed (leading zeros included).
    if (m_systemAddressSink)
        m_systemAddressSink(AddressText());
    RefreshIdentity();
}
