#include "CliPrompt.h"

#include "CliCommon.h"

void CliPrompt::Message(MessageKind kind, const QString& text)
{
    switch (kind) {
    case MessageKind::Error:
        cli::Err(QStringLiteral("error: ") + text);
        break;
    case MessageKind::Warning:
        cli::Err(QStringLiteral("warning: ") + text);
        break;
    case MessageKind::Notice:
    case MessageKind::PlainNotice:
    case MessageKind::Information:
        cli::Err(QStringLiteral("notice: ") + text);
        break;
    }
}

bool CliPrompt::Ask(QuestionKind, const QString& text, QuestionIcon)
{
    cli::Question(QStringLiteral("question: ") + text);
    return m_yes;
}

std::optional<Credentials> CliPrompt::Authenticate()
{
    if (!m_credentials)
        cli::Err(QStringLiteral("error: Прибор требует пароль: укажите --level и --password."));
    return m_credentials;
}
