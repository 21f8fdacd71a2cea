#pragma once
// The setpoint sub-page "Коэффициенты": unbalance, distortion, harmonic and interharmonic limits.
#include "SetpointSubPage.h"

class CDataCoeffDialog : public CSetpointSubPage {
public:
    explicit CDataCoeffDialog(QWidget* parent = nullptr);
};
