#include "DataRvc.h"

CDataRvc::CDataRvc(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataRvc"));
}
