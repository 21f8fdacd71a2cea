#pragma once
// The setpoint sub-page "Системные": the meter's RS-232 and RS-485 interfaces, the operating
// mode to put the meter into, and a request to change its network address. The meter's modem
// and GPRS settings have no controls here: their model values pass through untouched.
#include "SetpointSubPage.h"
#include "SubPageSupport.h"

#include <QString>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLineEdit;
class UserPrompt;

class CDataSystemDialog : public CSetpointSubPage {
public:
    explicit CDataSystemDialog(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

    // "Проверка связи" hands the tested address, as typed, to the address field.
    void SetAddressText(const QString& text);
    const QString& AddressText() const { return m_addressText; }

    // The prompt for the address warning (tests; the engine's prompt otherwise).
    void SetPrompt(UserPrompt* prompt) { m_prompt.Set(prompt); }

    QComboBox* Rs232ModeList() const { return m_rs232Mode; }
    QComboBox* Rs232BaudList() const { return m_rs232Baud; }
    QComboBox* Rs485ModeList() const { return m_rs485Mode; }
    QComboBox* Rs485BaudList() const { return m_rs485Baud; }
    // "Пуск", "Стоп", "Сброс", "Калибровка", "Поверка" = device_mode 0 ... 4.
    QAbstractButton* ModeRadio(int deviceMode) const;
    QGroupBox* AddressBox() const { return m_addressBox; }
    QLineEdit* AddressEdit() const { return m_address; }

private:
    QComboBox* m_rs232Mode = nullptr;
    QComboBox* m_rs232Baud = nullptr;
    QComboBox* m_rs485Mode = nullptr;
    QComboBox* m_rs485Baud = nullptr;
    QButtonGroup* m_mode = nullptr;
    QGroupBox* m_addressBox = nullptr;
    QLineEdit* m_address = nullptr;
    QString m_addressText;
    SubPagePrompt m_prompt;
    int m_programUpdate = 0;
};
