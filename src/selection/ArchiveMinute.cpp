#include "ArchiveMinute.h"

CArchiveMinute::CArchiveMinute(Mode mode, QWidget* parent)
    : CArchiveSubPage(static_cast<ArchiveKind>(mode), parent)
{
    setObjectName(QStringLiteral("CArchiveMinute%1").arg(int(mode)));
}
