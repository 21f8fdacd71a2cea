#pragma once
// The page "Отклонения": the monitored parameters with their limits and their device block.
#include "shell/FormPage.h"

class CLimitView : public CFormPage {
public:
    explicit CLimitView(QWidget* parent = nullptr)
        : CFormPage(parent)
    {
        setObjectName(QStringLiteral("CLimitView"));
    }
};
