#pragma once
// The setpoint sub-page "Расчёт": the marked-value and statistics choices.
#include "SetpointSubPage.h"

class CDataCalc : public CSetpointSubPage {
public:
    explicit CDataCalc(QWidget* parent = nullptr);
};
