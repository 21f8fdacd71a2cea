#pragma once
// The archive sub-pages of the minute, 10-minute and 2-hour values: one page in three modes.
#include "ArchiveSubPage.h"

class CArchiveMinute : public CArchiveSubPage {
public:
    enum Mode { MinuteMode = 0, TenMinuteMode = 1, TwoHourMode = 2 };
    explicit CArchiveMinute(Mode mode, QWidget* parent = nullptr);
};
