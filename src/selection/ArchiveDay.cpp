#include "ArchiveDay.h"

CArchiveDay::CArchiveDay(QWidget* parent)
    : CArchiveSubPage(ArchiveKind::Day, parent)
{
    setObjectName(QStringLiteral("CArchiveDay"));
}
