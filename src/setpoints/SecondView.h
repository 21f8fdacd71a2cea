#pragma once
// The page "Уставки": the setpoint sub-pages and the setpoint block exchange.
#include "shell/FormPage.h"

class CSecondView : public CFormPage {
public:
    explicit CSecondView(QWidget* parent = nullptr)
        : CFormPage(parent)
    {
        setObjectName(QStringLiteral("CSecondView"));
    }

    // "Проверка связи" hands the tested address to the system sub-page's address field.
    virtual void SetSystemAddressText(const QString& text) { m_systemAddressText = text; }
    const QString& SystemAddressText() const { return m_systemAddressText; }

private:
    QString m_systemAddressText;
};
