#pragma once
// The two password dialogs: the authentication dialog that a login opens, and the
// change-password dialog of the "Действия" menu.
#include <QByteArray>
#include <QDialog>

class QComboBox;
class QLineEdit;
class UserPrompt;

// " Аутентификация": access level and password.
class CDialogTestConect : public QDialog {
    Q_OBJECT
public:
    explicit CDialogTestConect(QWidget* parent = nullptr);

    int Level() const;             // 1 or 2
    QByteArray Password() const;   // cp1251, as typed

private:
    QComboBox* m_level = nullptr;
    QLineEdit* m_password = nullptr;
};

// "Смена пароля": level, old password, new password and its confirmation. "Продолжить"
// accepts only a confirmed new password of digits and Latin letters.
class CDialogChangPasswd : public QDialog {
    Q_OBJECT
public:
    explicit CDialogChangPasswd(UserPrompt& prompt, QWidget* parent = nullptr);

    int LevelIndex() const;        // 0 first level, 1 second level
    QByteArray OldPassword() const;
    QByteArray NewPassword() const;

    // True for a password the meter accepts as new: digits and Latin letters only (an
    // empty one passes).
    static bool IsAllowedNewPassword(const QString& password);

public slots:
    void accept() override;

private:
    UserPrompt& m_prompt;
    QComboBox* m_level = nullptr;
    QLineEdit* m_old = nullptr;
    QLineEdit* m_new = nullptr;
    QLineEdit* m_confirm = nullptr;
};
