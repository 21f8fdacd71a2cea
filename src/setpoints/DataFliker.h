#pragma once
// The setpoint sub-page "Фликер": the normal and maximum short-term and long-term flicker doses.
#include "SetpointSubPage.h"

#include <array>

class QLineEdit;

class CDataFliker : public CSetpointSubPage {
public:
    explicit CDataFliker(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

private:
    // pst_normal, pst_max, plt_normal, plt_max.
    std::array<QLineEdit*, 4> m_edits{};
    int m_programUpdate = 0;
};
