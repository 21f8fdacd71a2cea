#pragma once
// The setpoint sub-page "Время": the peak-load periods, the winter and summer time changes,
// the time zone, the start of the week and of the day, the two clock corrections, and the
// one-shot request to set the meter's clock to a given or to the computer's time.
#include "SetpointSubPage.h"
#include "SubPageSupport.h"

#include <QDateTime>

#include <array>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QTimeEdit;
class QTimer;
class UserPrompt;

class CDataTimeDialog : public CSetpointSubPage {
public:
    explicit CDataTimeDialog(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

    // Whether "Запись времени и даты" is ticked (asked before the sub-pages are stored).
    bool WriteTimeTicked() const;

    // The prompt for the correction messages (tests; the engine's prompt otherwise).
    void SetPrompt(UserPrompt* prompt) { m_prompt.Set(prompt); }
    // The computer's local time for the clock pickers (tests; the current time otherwise).
    void SetClockSource(std::function<QDateTime()> now) { m_now = std::move(now); }
    // One tick of the clock timer, which runs while "Использовать дату и время компьютера"
    // is ticked.
    void OnClockTimer();
    QTimer* ClockTimer() const { return m_clockTimer; }

    // The eight load-period pickers: start and end of period 1, of period 2, ...
    QTimeEdit* LoadPeriodPicker(int index) const { return m_periods[size_t(index)]; }
    QGroupBox* WriteTimeBox() const { return m_writeTimeBox; }
    QCheckBox* UsePcTimeBox() const { return m_usePcTime; }
    QTimeEdit* ClockTimePicker() const { return m_clockTime; }
    QDateEdit* ClockDatePicker() const { return m_clockDate; }
    QComboBox* TimeZoneList() const { return m_timeZone; }
    QLineEdit* AutoCorrectionEdit() const { return m_corrections[0].edit; }
    QLineEdit* SoftCorrectionEdit() const { return m_corrections[1].edit; }
    // change 0: winter, 1: summer; choice 0 "Ручной ввод", 1 "Автоматически".
    QAbstractButton* ChangeRadio(int change, int choice) const;
    QDateEdit* ChangePicker(int change, int choice) const;
    QComboBox* DstModeList() const { return m_dstMode; }
    QComboBox* WeekStartList() const { return m_weekStart; }
    QTimeEdit* DayStartPicker() const { return m_dayStart; }

private:
    struct Correction {
        QLineEdit* edit = nullptr;
        int low = 0;
        int high = 0;
        int value = 0;  // the last integer the edit held within its range
    };
    struct Change {
        QButtonGroup* radios = nullptr;
        QDateEdit* manual = nullptr;
        QDateEdit* automatic = nullptr;
    };

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Validates a correction edit; shows the framework's message when it holds no integer in
    // range, and then keeps the previous value. True when valid.
    bool CheckCorrection(Correction& correction);
    void OnPeriodChanged(int index);
    void OnUsePcTimeClicked(bool ticked);
    void ShowClock(const QDateTime& now);
    void LoadChange(Change& change, int automatic, int month, int day);
    // What "Запись времени и даты" enables: the computer's-time box, the two clock pickers and the zone list.
    std::array<QWidget*, 4> ClockControls() const;

    std::array<QTimeEdit*, 8> m_periods{};
    QGroupBox* m_writeTimeBox = nullptr;
    QTimeEdit* m_clockTime = nullptr;
    QDateEdit* m_clockDate = nullptr;
    QComboBox* m_timeZone = nullptr;
    QCheckBox* m_usePcTime = nullptr;
    std::array<Correction, 2> m_corrections{};
    std::array<Change, 2> m_changes{};
    QComboBox* m_dstMode = nullptr;
    QComboBox* m_weekStart = nullptr;
    QTimeEdit* m_dayStart = nullptr;
    QTimer* m_clockTimer = nullptr;
    std::function<QDateTime()> m_now;
    SubPagePrompt m_prompt;
    int m_programUpdate = 0;
    bool m_checking = false;
};
