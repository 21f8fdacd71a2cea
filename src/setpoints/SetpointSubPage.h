#pragma once
// The common shape of the nine sub-pages of "Уставки": each moves its part of the setpoints
// between its controls and the model. direction 1: model -> controls; 0: controls -> model.
#include <QWidget>

struct ConfigModel;

class CSetpointSubPage : public QWidget {
public:
    explicit CSetpointSubPage(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }

    virtual void ExchangeWithModel(ConfigModel& model, int direction)
    {
        Q_UNUSED(model);
        Q_UNUSED(direction);
    }
};
