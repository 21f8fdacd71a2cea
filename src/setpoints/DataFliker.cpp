#include "DataFliker.h"

CDataFliker::CDataFliker(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataFliker"));
}
