#pragma once
// The page "Архивируемые данные": the archive selection and its device block.
#include "shell/FormPage.h"

class CArhiveView : public CFormPage {
public:
    explicit CArhiveView(QWidget* parent = nullptr)
        : CFormPage(parent)
    {
        setObjectName(QStringLiteral("CArhiveView"));
    }
};
