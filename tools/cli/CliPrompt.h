#pragma once
// The command-line answer to every message box and question: messages go to stderr, one
// per box, prefixed by their kind; questions are answered from --yes; the authentication
// dialog from --level and --password.
#include "common/UserPrompt.h"

class CliPrompt final : public UserPrompt {
public:
    CliPrompt(bool yes, std::optional<Credentials> credentials)
        : m_yes(yes), m_credentials(std::move(credentials)) {}

    void Message(MessageKind kind, const QString& text) override;
    bool Ask(QuestionKind kind, const QString& text, QuestionIcon icon) override;
    std::optional<Credentials> Authenticate() override;

private:
    bool m_yes;
    std::optional<Credentials> m_credentials;
};
