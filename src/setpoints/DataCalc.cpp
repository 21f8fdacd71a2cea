#include "DataCalc.h"

CDataCalc::CDataCalc(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataCalc"));
}
