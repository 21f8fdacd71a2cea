#include "DataVoltageDialog.h"

CDataVoltageDialog::CDataVoltageDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataVoltageDialog"));
}
