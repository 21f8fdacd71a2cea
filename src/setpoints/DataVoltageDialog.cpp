#include "DataVoltageDialog.h"

#include "DataVoltageDU.h"

#include <QTabWidget>
#include <QVBoxLayout>

CDataVoltageDialog::CDataVoltageDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataVoltageDialog"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("deviationTabs"));
    m_steady = new CDataVoltageDU;
    m_wholeSignal = new CDataVoltageDU1;
    m_tabs->addTab(m_steady, QStringLiteral("Установившееся"));
    m_tabs->addTab(m_wholeSignal, QStringLiteral("Всего сигнала"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 0);
    layout->addWidget(m_tabs);
}

void CDataVoltageDialog::ExchangeWithModel(ConfigModel& model, int direction)
{
    m_steady->ExchangeWithModel(model, direction);
    m_wholeSignal->ExchangeWithModel(model, direction);
}
