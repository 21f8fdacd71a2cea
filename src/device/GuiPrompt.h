#pragma once
// The user-prompt seam in the desktop program: message boxes and the authentication dialog,
// over the main window.
#include "common/UserPrompt.h"

#include <QPointer>
#include <QWidget>

class GuiPrompt final : public UserPrompt {
public:
    explicit GuiPrompt(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }

    void Message(MessageKind kind, const QString& text) override;
    bool Ask(QuestionKind kind, const QString& text, QuestionIcon icon) override;
    std::optional<Credentials> Authenticate() override;
    YesNoCancel AskYesNoCancel(const QString& text, QuestionIcon icon) override;

private:
    QPointer<QWidget> m_owner;
};
