#pragma once
// The page "Уставки": the nine setpoint sub-pages on their own tab strip, loaded from and
// stored into the model together, and the hooks of the setpoint read and write.
#include "shell/FormPage.h"

#include <array>

class CDataCalc;
class CDataCoeffDialog;
class CDataDeltaDialog;
class CDataFliker;
class CDataFreqDialog;
class CDataRvc;
class CDataSystemDialog;
class CDataTimeDialog;
class CDataVoltageDialog;
class CSetpointSubPage;
class QTabWidget;
class QTimer;

class CSecondView : public CFormPage {
public:
    explicit CSecondView(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;
    void ContributeHooks(PageHooks& hooks, ConfigModel& model) override;

    // "Проверка связи" hands the tested address to the system sub-page's address field.
    void SetSystemAddressText(const QString& text);

    QTabWidget* SubPageTabs() const { return m_tabs; }
    CDataDeltaDialog* VoltagePage() const { return m_delta; }
    CDataVoltageDialog* DeviationPage() const { return m_voltage; }
    CDataCoeffDialog* CoefficientPage() const { return m_coeff; }
    CDataFreqDialog* FrequencyPage() const { return m_freq; }
    CDataFliker* FlickerPage() const { return m_fliker; }
    CDataCalc* CalculationPage() const { return m_calc; }
    CDataTimeDialog* TimePage() const { return m_time; }
    CDataSystemDialog* SystemPage() const { return m_system; }
    CDataRvc* RvcPage() const { return m_rvc; }

    // The page's one-second tick: the coefficient page follows a changed nominal voltage.
    QTimer* PeriodicTimer() const { return m_timer; }
    void OnTimer();

protected:
    // Enter and Escape never close or reset anything on this page.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTabWidget* m_tabs = nullptr;
    QTimer* m_timer = nullptr;
    CDataDeltaDialog* m_delta = nullptr;
    CDataVoltageDialog* m_voltage = nullptr;
    CDataCoeffDialog* m_coeff = nullptr;
    CDataFreqDialog* m_freq = nullptr;
    CDataFliker* m_fliker = nullptr;
    CDataCalc* m_calc = nullptr;
    CDataTimeDialog* m_time = nullptr;
    CDataSystemDialog* m_system = nullptr;
    CDataRvc* m_rvc = nullptr;
    // In the order the sub-pages exchange with the model.
    std::array<CSetpointSubPage*, 9> m_exchangeOrder{};
};
