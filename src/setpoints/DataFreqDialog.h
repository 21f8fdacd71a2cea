#pragma once
// The setpoint sub-page "Частота": the nominal frequency, the four deviation limits and the
// averaging period.
#include "SetpointSubPage.h"

#include <array>

class QComboBox;
class QLineEdit;

class CDataFreqDialog : public CSetpointSubPage {
public:
    explicit CDataFreqDialog(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

    // The deviation edits from the top: maximum upper, normal upper, normal lower, maximum lower.
    enum Deviation { MaxUp, NormalUp, NormalDown, MaxDown };

private:
    QLineEdit* m_nominal = nullptr;
    std::array<QLineEdit*, 4> m_deviations{};
    QComboBox* m_averaging = nullptr;
    int m_programUpdate = 0;
};
