#include "SecondView.h"

#include "DataCalc.h"
#include "DataCoeffDialog.h"
#include "DataDeltaDialog.h"
#include "DataFliker.h"
#include "DataFreqDialog.h"
#include "DataRvc.h"
#include "DataSystemDialog.h"
#include "DataTimeDialog.h"
#include "DataVoltageDialog.h"

#include <QKeyEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kTickMs = 1000;
// The sub-page tab strip starts just below the page's top and leaves a strip free at the
// bottom, as the page has always been laid out.
constexpr int kTabsTopMargin = 2;
constexpr int kTabsBottomMargin = 22;
} // namespace

CSecondView::CSecondView(QWidget* parent)
    : CFormPage(parent)
{
    setObjectName(QStringLiteral("CSecondView"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("setpointTabs"));
    m_delta = new CDataDeltaDialog;
    m_voltage = new CDataVoltageDialog;
    m_coeff = new CDataCoeffDialog;
    m_freq = new CDataFreqDialog;
    m_fliker = new CDataFliker;
    m_calc = new CDataCalc;
    m_time = new CDataTimeDialog;
    m_system = new CDataSystemDialog;
    m_rvc = new CDataRvc;
    // Tab order.
    m_tabs->addTab(m_delta, QStringLiteral("Напряжение"));
    m_tabs->addTab(m_voltage, QStringLiteral("Отклонения напряжения"));
    m_tabs->addTab(m_coeff, QStringLiteral("Коэффициенты"));
    m_tabs->addTab(m_freq, QStringLiteral("Частота"));
    m_tabs->addTab(m_fliker, QStringLiteral("Фликер"));
    m_tabs->addTab(m_calc, QStringLiteral("Расчёт"));
    m_tabs->addTab(m_time, QStringLiteral("Время"));
    m_tabs->addTab(m_system, QStringLiteral("Системные"));
    m_tabs->addTab(m_rvc, QStringLiteral("Быстрые изменения напряжения"));
    m_exchangeOrder = {m_delta, m_voltage, m_coeff, m_freq, m_time, m_system, m_fliker, m_calc, m_rvc};
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, kTabsTopMargin, 0, kTabsBottomMargin);
    layout->addWidget(m_tabs);

    m_timer = new QTimer(this);
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, [this] { OnTimer(); });
    m_timer->start();
}

void CSecondView::OnTimer()
{
    m_coeff->ApplyVoltageClass(*m_delta);
}

void CSecondView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        CFormPage::keyPressEvent(event);
    }
}

void CSecondView::ExchangeWithModel(ConfigModel& model, int direction)
{
    for (CSetpointSubPage* page : m_exchangeOrder)
        page->ExchangeWithModel(model, direction);
}

void CSecondView::ContributeHooks(PageHooks& hooks, ConfigModel& model)
{
    hooks.storePage = [this, &model] { ExchangeWithModel(model, ToModel); };
    hooks.loadPage = [this, &model] { ExchangeWithModel(model, ToPage); };
    hooks.writeTimeTicked = [this] { return m_time->WriteTimeTicked(); };
    hooks.storeTimePage = [this, &model] { m_time->ExchangeWithModel(model, ToModel); };
}

void CSecondView::SetSystemAddressText(const QString& text)
{
    m_system->SetAddressText(text);
}
