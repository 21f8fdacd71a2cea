#pragma once
// The setpoint sub-page "Быстрые изменения напряжения": the rapid-voltage-change thresholds.
#include "SetpointSubPage.h"

class CDataRvc : public CSetpointSubPage {
public:
    explicit CDataRvc(QWidget* parent = nullptr);
};
