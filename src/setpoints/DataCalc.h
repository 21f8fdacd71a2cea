#pragma once
// The setpoint sub-page "Расчёт": whether marked values are processed for twelve indicators,
// one-minute or ten-minute statistics for nine, the synchronisation interval and the quality
// assessment period. Every choice is a pair of radio buttons.
#include "SetpointSubPage.h"

#include <array>

class QAbstractButton;
class QButtonGroup;

class CDataCalc : public CSetpointSubPage {
public:
    explicit CDataCalc(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

    static constexpr int kMarkedRows = 12;
    static constexpr int kStatisticsRows = 9;
    // column 0: "Не производится" / "Минута", 1: "Производится" / "10 минут".
    QAbstractButton* MarkedRadio(int row, int column) const;
    QAbstractButton* StatisticsRadio(int row, int column) const;
    // "Интервал синхронизации" ("Минута", "10 минут") and "Измерение ПКЭ" ("Сутки", "Неделя").
    QAbstractButton* SyncRadio(int index) const;
    QAbstractButton* AssessmentRadio(int index) const;

private:
    std::array<QButtonGroup*, kMarkedRows> m_marked{};
    std::array<QButtonGroup*, kStatisticsRows> m_statistics{};
    QButtonGroup* m_sync = nullptr;
    QButtonGroup* m_assessment = nullptr;
};
