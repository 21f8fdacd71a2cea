#pragma once
// The setpoint sub-page "Напряжение": the nominal voltages, the transformer ratio and the wiring.
#include "SetpointSubPage.h"

class CDataDeltaDialog : public CSetpointSubPage {
public:
    explicit CDataDeltaDialog(QWidget* parent = nullptr);
};
