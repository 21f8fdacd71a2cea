#include "DataCoeffDialog.h"

CDataCoeffDialog::CDataCoeffDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataCoeffDialog"));
}
