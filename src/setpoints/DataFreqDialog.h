#pragma once
// The setpoint sub-page "Частота": the frequency limits and averaging period.
#include "SetpointSubPage.h"

class CDataFreqDialog : public CSetpointSubPage {
public:
    explicit CDataFreqDialog(QWidget* parent = nullptr);
};
