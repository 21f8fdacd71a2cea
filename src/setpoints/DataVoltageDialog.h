#pragma once
// The setpoint sub-page "Отклонения напряжения": the voltage deviation limits, steady and whole-signal.
#include "SetpointSubPage.h"

class CDataVoltageDU;
class CDataVoltageDU1;
class QTabWidget;

class CDataVoltageDialog : public CSetpointSubPage {
public:
    explicit CDataVoltageDialog(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

    QTabWidget* InnerTabs() const { return m_tabs; }
    CDataVoltageDU* SteadyPage() const { return m_steady; }
    CDataVoltageDU1* WholeSignalPage() const { return m_wholeSignal; }

private:
    QTabWidget* m_tabs = nullptr;
    CDataVoltageDU* m_steady = nullptr;
    CDataVoltageDU1* m_wholeSignal = nullptr;
};
