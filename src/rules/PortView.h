#pragma once
// The page "Импульсные входы/выходы": the pulse I/O rules and their control-code block.
#include "shell/FormPage.h"

class CPortView : public CFormPage {
public:
    explicit CPortView(QWidget* parent = nullptr)
        : CFormPage(parent)
    {
        setObjectName(QStringLiteral("CPortView"));
    }
};
