#pragma once
// The page "Группы": the six parameter groups and their device block.
#include "shell/FormPage.h"

class CGroupView : public CFormPage {
public:
    explicit CGroupView(QWidget* parent = nullptr)
        : CFormPage(parent)
    {
        setObjectName(QStringLiteral("CGroupView"));
    }
};
