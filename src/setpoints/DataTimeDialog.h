#pragma once
// The setpoint sub-page "Время": load periods, summer/winter time, time zone and the clock.
#include "SetpointSubPage.h"

class CDataTimeDialog : public CSetpointSubPage {
public:
    explicit CDataTimeDialog(QWidget* parent = nullptr);

    // Whether "Запись времени и даты" is ticked (asked before the sub-pages are stored).
    virtual bool WriteTimeTicked() const { return m_writeTime; }

protected:
    bool m_writeTime = false;
};
