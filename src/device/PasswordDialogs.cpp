#include "PasswordDialogs.h"

#include "DeviceMessages.h"
#include "common/Cp1251.h"
#include "common/UserPrompt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kMaxPasswordChars = 8;

QComboBox* LevelList(QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("level"));
    list->addItem(QStringLiteral("Первый уровень"));
    list->addItem(QStringLiteral("Второй уровень"));
    list->setCurrentIndex(0);
    return list;
}

QLineEdit* PasswordEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(kMaxPasswordChars);
    return edit;
}

// "Продолжить" (default) and "Отмена".
QDialogButtonBox* Buttons(QDialog* dialog)
{
    auto* box = new QDialogButtonBox(dialog);
    QPushButton* go = box->addButton(QStringLiteral("Продолжить"), QDialogButtonBox::AcceptRole);
    go->setObjectName(QStringLiteral("continue"));
    go->setDefault(true);
    box->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

} // namespace

CDialogTestConect::CDialogTestConect(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral(" Аутентификация"));
    m_level = LevelList(this);
    m_password = PasswordEdit(this, QStringLiteral("password"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Уровень доступа:"), m_level);
    form->addRow(QStringLiteral("Пароль:"), m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Buttons(this));
    m_password->setFocus();
}

int CDialogTestConect::Level() const
{
    return m_level->currentIndex() == 1 ? 2 : 1;
}

QByteArray CDialogTestConect::Password() const
{
    return cp1251::Encode(m_password->text());
}

CDialogChangPasswd::CDialogChangPasswd(UserPrompt& prompt, QWidget* parent)
    : QDialog(parent)
    , m_prompt(prompt)
{
    setWindowTitle(QStringLiteral("Смена пароля"));
    m_level = LevelList(this);
    m_old = PasswordEdit(this, QStringLiteral("oldPassword"));
    m_new = PasswordEdit(this, QStringLiteral("newPassword"));
    m_confirm = PasswordEdit(this, QStringLiteral("confirmPassword"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Уровень доступа:"), m_level);
    form->addRow(QStringLiteral("Старый пароль:"), m_old);
    form->addRow(QStringLiteral("Новый пароль:"), m_new);
    form->addRow(QStringLiteral("Подтверждение:"), m_confirm);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Buttons(this));
}

int CDialogChangPasswd::LevelIndex() const
{
    return m_level->currentIndex() == 1 ? 1 : 0;
}

QByteArray CDialogChangPasswd::OldPassword() const
{
    return cp1251::Encode(m_old->text());
}

QByteArray CDialogChangPasswd::NewPassword() const
{
    return cp1251::Encode(m_new->text());
}

bool CDialogChangPasswd::IsAllowedNewPassword(const QString& password)
{
    for (QChar ch : password) {
        const char16_t c = ch.unicode();
        const bool allowed = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        if (!allowed)
            return false;
    }
    return true;
}

void CDialogChangPasswd::accept()
{
    QString message;
    if (m_new->text() != m_confirm->text())
        message = msg::kPasswordsDiffer;
    else if (!IsAllowedNewPassword(m_new->text()))
        message = msg::kPasswordBadCharacters;
    if (!message.isEmpty()) {
        m_prompt.Notice(message);
        m_new->clear();
        m_confirm->clear();
        m_new->setFocus();
        return;
    }
    QDialog::accept();
}
