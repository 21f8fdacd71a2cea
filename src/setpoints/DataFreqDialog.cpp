#include "DataFreqDialog.h"

CDataFreqDialog::CDataFreqDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataFreqDialog"));
}
