#include "DataSystemDialog.h"

#include "SetpointMessages.h"
#include "SetpointRules.h"
#include "common/UserPrompt.h"
#include "device/ActivePage.h"
#include "model/ConfigModel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

using namespace setpoints;

namespace {

const QStringList kRates = {
    QStringLiteral("110"),   QStringLiteral("300"),   QStringLiteral("600"),   QStringLiteral("1200"),
    QStringLiteral("2400"),  QStringLiteral("4800"),  QStringLiteral("9600"),  QStringLiteral("19200"),
    QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200"),
};

constexpr int kCalibration = 3;

} // namespace

CDataSystemDialog::CDataSystemDialog(QWidget* parent)
    : CSetpointSubPage(parent)
    , m_prompt(this)
{
    setObjectName(QStringLiteral("CDataSystemDialog"));
    const QString modeLabel = QStringLiteral("Режим работы ");
    const QString rateLabel = QStringLiteral("Скорость обмена, бит/с");

    // One interface group: its mode list and its rate list. The two groups carry the same
    // labels, so the lists are named after their group too.
    auto interfaceGroup = [&](const QString& title, const QStringList& modes, const char* name, QComboBox** mode,
                              QComboBox** rate) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        auto* modeText = new QLabel(modeLabel, box);
        auto* rateText = new QLabel(rateLabel, box);
        *mode = new QComboBox(box);
        (*mode)->addItems(modes);
        (*mode)->setObjectName(QStringLiteral("%1Mode").arg(QLatin1String(name)));
        *rate = new QComboBox(box);
        (*rate)->addItems(kRates);
        (*rate)->setObjectName(QStringLiteral("%1Baud").arg(QLatin1String(name)));
        NameControl(*mode, title + QStringLiteral(": ") + modeLabel, modeText);
        NameControl(*rate, title + QStringLiteral(": ") + rateLabel, rateText);
        form->addRow(modeText, *mode);
        form->addRow(rateText, *rate);
        return box;
    };
    QGroupBox* rs232 = interfaceGroup(QStringLiteral("Интерфейс RS-232"),
                                      {QStringLiteral("ПК"), QStringLiteral("Преобразователь"), QStringLiteral("GPS"),
                                       QStringLiteral("RS-485 (ПК)"), QStringLiteral("RS-485 (Преобр.)")},
                                      "rs232", &m_rs232Mode, &m_rs232Baud);
    QGroupBox* rs485 = interfaceGroup(QStringLiteral("Интерфейс RS-485"),
                                      {QStringLiteral("ПК"), QStringLiteral("Преобразователь")}, "rs485",
                                      &m_rs485Mode, &m_rs485Baud);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    auto* caution = new QLabel(QStringLiteral("Будьте осторожны в выборе режима !"), this);
    auto* cautionRow = new QHBoxLayout;
    cautionRow->addWidget(icon);
    cautionRow->addWidget(caution);
    cautionRow->addStretch();

    auto* modeBox = new QGroupBox(QStringLiteral("Режим работы прибора"), this);
    auto* modeLayout = new QVBoxLayout(modeBox);
    m_mode = new QButtonGroup(modeBox);
    const QString modes[] = {QStringLiteral("Пуск"), QStringLiteral("Стоп"), QStringLiteral("Сброс"),
                             QStringLiteral("Калибровка"), QStringLiteral("Поверка")};
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(modes[i], modeBox);
        radio->setObjectName(QStringLiteral("deviceMode%1").arg(i));
        // The meter is put into calibration by its maker only.
        radio->setEnabled(i != kCalibration);
        m_mode->addButton(radio, i);
        modeLayout->addWidget(radio);
    }

    m_addressBox = new QGroupBox(QStringLiteral("Запись адреса прибора"), this);
    m_addressBox->setObjectName(QStringLiteral("addressWrite"));
    m_addressBox->setCheckable(true);
    m_addressBox->setChecked(false);
    auto* addressForm = new QFormLayout(m_addressBox);
    auto* addressLabel = new QLabel(QStringLiteral("Адрес в сети:"), m_addressBox);
    m_address = new QLineEdit(m_addressBox);
    m_address->setObjectName(QStringLiteral("networkAddress"));
    m_address->setAlignment(Qt::AlignCenter);
    m_address->setFixedWidth(90);
    AcceptDigitsOnly(m_address);
    NameControl(m_address, addressLabel->text(), addressLabel);
    addressForm->addRow(addressLabel, m_address);

    auto* left = new QVBoxLayout;
    left->addWidget(rs232);
    left->addWidget(rs485);
    left->addLayout(cautionRow);
    auto* right = new QVBoxLayout;
    right->addWidget(modeBox);
    right->addWidget(m_addressBox);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addSpacing(20);
    columns->addLayout(right);
    SetPageContent(this, columns);

    // Nothing selected until the first load.
    for (QComboBox* list : {m_rs232Mode, m_rs232Baud, m_rs485Mode, m_rs485Baud}) {
        list->setCurrentIndex(-1);
        connect(list, &QComboBox::currentIndexChanged, this, [this] { MarkUserChange(m_programUpdate); });
    }
    connect(m_mode, &QButtonGroup::idClicked, this, [this] { MarkUserChange(m_programUpdate); });
    connect(m_addressBox, &QGroupBox::toggled, this, [this] { MarkUserChange(m_programUpdate); });
    connect(m_address, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_addressText = text;
        MarkUserChange(m_programUpdate);
    });
}

QAbstractButton* CDataSystemDialog::ModeRadio(int deviceMode) const
{
    return m_mode->button(deviceMode);
}

void CDataSystemDialog::SetAddressText(const QString& text)
{
    m_addressText = text;
    ProgramUpdate update(m_programUpdate);
    m_address->setText(text);
}

void CDataSystemDialog::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == 1) {
        ProgramUpdate update(m_programUpdate);
        SetChoice(m_mode, model.device_mode);
        SetListIndex(m_rs232Mode, Rs232ModeIndex(model.rs232_mode_ext, model.rs232_mode));
        SetListIndex(m_rs232Baud, BaudIndex(model.rs232_baud));
        SetListIndex(m_rs485Mode, model.rs485_mode);
        SetListIndex(m_rs485Baud, BaudIndex(model.rs485_baud));
        m_address->setText(QString::number(model.device_address));
        return;
    }
    // A control showing no choice (a value the page cannot show) leaves its field as it came.
    if (m_mode->checkedId() >= 0)
        model.device_mode = m_mode->checkedId();
    if (m_rs232Mode->currentIndex() >= 0) {
        const Rs232Mode mode = Rs232ModeFromIndex(m_rs232Mode->currentIndex());
        model.rs232_mode_ext = mode.modeExt;
        model.rs232_mode = mode.mode;
    }
    if (m_rs232Baud->currentIndex() >= 0)
        model.rs232_baud = BaudValue(m_rs232Baud->currentIndex());
    if (m_rs485Mode->currentIndex() >= 0)
        model.rs485_mode = m_rs485Mode->currentIndex();
    if (m_rs485Baud->currentIndex() >= 0)
        model.rs485_baud = BaudValue(m_rs485Baud->currentIndex());
    const int address = LeadingNumber(m_address->text());
    if (IsValidDeviceAddress(address))
        model.device_address = quint16(address);
    else if (m_addressBox->isChecked())
        m_prompt.Get().Notice(msg::kAddressOutOfRange);
    // Unticked, the address is not going to be written: a new configuration's 0 stays as it
    // is without a warning at every save, print and write.
    model.address_write_flag = m_addressBox->isChecked() ? 1 : 0;
}
