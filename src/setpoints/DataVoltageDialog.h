#pragma once
// The setpoint sub-page "Отклонения напряжения": the voltage deviation limits, steady and whole-signal.
#include "SetpointSubPage.h"

class CDataVoltageDialog : public CSetpointSubPage {
public:
    explicit CDataVoltageDialog(QWidget* parent = nullptr);
};
