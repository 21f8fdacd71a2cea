#pragma once
// The setpoint sub-page "Быстрые изменения напряжения": the thresholds and hystereses of the
// phase and line rapid voltage changes.
#include "SetpointSubPage.h"

#include <array>

class QLineEdit;

class CDataRvc : public CSetpointSubPage {
public:
    explicit CDataRvc(QWidget* parent = nullptr);

    // Storing is all or nothing: a value out of its range puts the model's value back into
    // its edit and nothing is stored.
    void ExchangeWithModel(ConfigModel& model, int direction) override;

private:
    // In the order of setpoints::RvcField.
    std::array<QLineEdit*, 4> m_edits{};
    int m_programUpdate = 0;
};
