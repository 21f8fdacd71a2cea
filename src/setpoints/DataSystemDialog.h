#pragma once
// The setpoint sub-page "Системные": interfaces, the operating mode and the network address.
#include "SetpointSubPage.h"

#include <QString>

class CDataSystemDialog : public CSetpointSubPage {
public:
    explicit CDataSystemDialog(QWidget* parent = nullptr);

    // "Проверка связи" hands the tested address, as typed, to the address field.
    virtual void SetAddressText(const QString& text) { m_addressText = text; }
    const QString& AddressText() const { return m_addressText; }

protected:
    QString m_addressText;
};
