#include "GuiPrompt.h"

#include "PasswordDialogs.h"

#include <QMessageBox>

namespace {

// Message boxes carry the program's name as their title.
const QString kTitle = QStringLiteral("Ладограф");

QMessageBox::Icon IconFor(QuestionIcon icon)
{
    switch (icon) {
    case QuestionIcon::Error:
        return QMessageBox::Critical;
    case QuestionIcon::Warning:
        return QMessageBox::Warning;
    case QuestionIcon::Question:
        break;
    }
    return QMessageBox::Question;
}

} // namespace

void GuiPrompt::Message(MessageKind kind, const QString& text)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        break;
    case MessageKind::Notice:
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    case MessageKind::PlainNotice:
        break;
    }
    QMessageBox box(icon, kTitle, text, QMessageBox::Ok, m_owner);
    box.exec();
}

bool GuiPrompt::Ask(QuestionKind kind, const QString& text, QuestionIcon icon)
{
    const auto buttons = kind == QuestionKind::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                     : QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox box(IconFor(icon), kTitle, text, buttons, m_owner);
    const int answer = box.exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok;
}

YesNoCancel GuiPrompt::AskYesNoCancel(const QString& text, QuestionIcon icon)
{
    QMessageBox box(IconFor(icon), kTitle, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_owner);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return YesNoCancel::Yes;
    case QMessageBox::No:
        return YesNoCancel::No;
    default:
        return YesNoCancel::Cancel;
    }
}

std::optional<Credentials> GuiPrompt::Authenticate()
{
    CDialogTestConect dialog(m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Credentials{dialog.Level(), dialog.Password()};
}
