#include "DataDeltaDialog.h"

CDataDeltaDialog::CDataDeltaDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataDeltaDialog"));
}
