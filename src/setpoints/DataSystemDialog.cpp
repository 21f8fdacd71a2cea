#include "DataSystemDialog.h"

CDataSystemDialog::CDataSystemDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataSystemDialog"));
}
