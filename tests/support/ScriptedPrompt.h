#pragma once
// A UserPrompt for tests: records every text it is shown or asked, and answers questions
// and the authentication dialog from queues set up in advance. An unexpected question is
// answered "no" and an unexpected dialog is cancelled, and both are recorded.
#include "common/UserPrompt.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

class ScriptedPrompt final : public UserPrompt {
public:
    struct Shown {
        QString kind;  // "error", "notice", "plain", "information", "warning", "yesno", "okcancel", "auth"
        QString text;
    };

    void Message(MessageKind kind, const QString& text) override;
    bool Ask(QuestionKind kind, const QString& text, QuestionIcon icon) override;
    std::optional<Credentials> Authenticate() override;
    // Recorded as "yesnocancel"; answered from its own queue (Cancel when it is empty).
    YesNoCancel AskYesNoCancel(const QString& text, QuestionIcon icon) override;

    // Queue answers.
    void AnswerNext(bool yes) { m_answers.enqueue(yes); }
    void LoginNext(int level, const QByteArray& password) { m_logins.enqueue(Credentials{level, password}); }
    void CancelNextLogin() { m_logins.enqueue(std::nullopt); }
    void AnswerNextYesNoCancel(YesNoCancel answer) { m_threeWay.enqueue(answer); }

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const;          // every text in order
    QStringList kinds() const;          // every kind in order
    QuestionIcon lastIcon() const { return m_lastIcon; }
    int pendingAnswers() const { return int(m_answers.size()); }
    int pendingLogins() const { return int(m_logins.size()); }
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    QQueue<bool> m_answers;
    QQueue<std::optional<Credentials>> m_logins;
    QQueue<YesNoCancel> m_threeWay;
    QuestionIcon m_lastIcon = QuestionIcon::Question;
};
