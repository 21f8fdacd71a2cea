#pragma once
// The setpoint sub-page "Фликер": the flicker doses.
#include "SetpointSubPage.h"

class CDataFliker : public CSetpointSubPage {
public:
    explicit CDataFliker(QWidget* parent = nullptr);
};
