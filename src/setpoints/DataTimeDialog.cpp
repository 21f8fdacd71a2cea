#include "DataTimeDialog.h"

CDataTimeDialog::CDataTimeDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataTimeDialog"));
}
