#include "NewKoef.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxRatioCharacters = 10;
}

CNewKoef::CNewKoef(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CNewKoef"));
    setWindowTitle(QStringLiteral("Ладограф"));
    auto* label = new QLabel(QStringLiteral("Введите новый коэффициент трансформации"), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("newRatio"));
    m_edit->setMaxLength(kMaxRatioCharacters);
    label->setBuddy(m_edit);
    auto* proceed = new QPushButton(QStringLiteral("Продолжить"), this);
    proceed->setObjectName(QStringLiteral("proceed"));
    proceed->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(proceed, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(proceed);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
}

QString CNewKoef::Text() const
{
    return m_edit->text();
}

QString CNewKoef::Ask(QWidget* parent)
{
    CNewKoef dialog(parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Text() : QString();
}
