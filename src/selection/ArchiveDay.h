#pragma once
// The archive sub-page of the daily and weekly power-quality statistics.
#include "ArchiveSubPage.h"

class CArchiveDay : public CArchiveSubPage {
public:
    explicit CArchiveDay(QWidget* parent = nullptr);
};
