#include "ScriptedPrompt.h"

void ScriptedPrompt::Message(MessageKind kind, const QString& text)
{
    static const char* const names[] = {"error", "notice", "plain", "information", "warning"};
    m_shown.append({QString::fromLatin1(names[int(kind)]), text});
}

bool ScriptedPrompt::Ask(QuestionKind kind, const QString& text, QuestionIcon icon)
{
    m_lastIcon = icon;
    m_shown.append({kind == QuestionKind::YesNo ? QStringLiteral("yesno") : QStringLiteral("okcancel"), text});
    return m_answers.isEmpty() ? false : m_answers.dequeue();
}

std::optional<Credentials> ScriptedPrompt::Authenticate()
{
    m_shown.append({QStringLiteral("auth"), QString()});
    return m_logins.isEmpty() ? std::nullopt : m_logins.dequeue();
}

YesNoCancel ScriptedPrompt::AskYesNoCancel(const QString& text, QuestionIcon icon)
{
    m_lastIcon = icon;
    m_shown.append({QStringLiteral("yesnocancel"), text});
    return m_threeWay.isEmpty() ? YesNoCancel::Cancel : m_threeWay.dequeue();
}

QStringList ScriptedPrompt::texts() const
{
    QStringList out;
    for (const auto& s : m_shown)
        out << s.text;
    return out;
}

QStringList ScriptedPrompt::kinds() const
{
    QStringList out;
    for (const auto& s : m_shown)
        out << s.kind;
    return out;
}
