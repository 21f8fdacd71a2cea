#pragma once
// Everything an operation has to tell or ask the user goes through this seam: the GUI
// answers with message boxes and dialogs, the command-line tool on stderr and from its
// options, the tests from a script. Texts are passed exactly as they are to be shown.
#include <QByteArray>
#include <QString>

#include <optional>

enum class MessageKind {
    Error,        // stop icon, OK button
    Notice,       // exclamation icon, OK button
    PlainNotice,  // OK button, no icon (short notices such as the address and busy ones)
    Information,  // information icon, OK button
    Warning,      // warning icon, OK button
};

enum class QuestionKind {
    YesNo,
    OkCancel,
};

enum class QuestionIcon {
    Question,
    Error,
    Warning,
};

enum class YesNoCancel {
    Yes,
    No,
    Cancel,
};

// What the authentication dialog returns: level 1 or 2 and the password as typed
// (cp1251 bytes).
struct Credentials {
    int level = 1;
    QByteArray password;
};

class UserPrompt {
public:
    virtual ~UserPrompt() = default;

    virtual void Message(MessageKind kind, const QString& text) = 0;
    // Returns true for Yes / OK.
    virtual bool Ask(QuestionKind kind, const QString& text, QuestionIcon icon) = 0;
    // The authentication dialog; nullopt when the user cancels.
    virtual std::optional<Credentials> Authenticate() = 0;
    // A Yes/No/Cancel question (the save prompt before a document is closed). Without a
    // cancel button of its own an implementation answers it as a Yes/No question.
    virtual YesNoCancel AskYesNoCancel(const QString& text, QuestionIcon icon = QuestionIcon::Warning)
    {
        return Ask(QuestionKind::YesNo, text, icon) ? YesNoCancel::Yes : YesNoCancel::No;
    }

    void Error(const QString& text) { Message(MessageKind::Error, text); }
    void Notice(const QString& text) { Message(MessageKind::Notice, text); }
    void PlainNotice(const QString& text) { Message(MessageKind::PlainNotice, text); }
    void Information(const QString& text) { Message(MessageKind::Information, text); }
    void Warning(const QString& text) { Message(MessageKind::Warning, text); }
    bool AskYesNo(const QString& text, QuestionIcon icon = QuestionIcon::Question)
    {
        return Ask(QuestionKind::YesNo, text, icon);
    }
    bool AskOkCancel(const QString& text, QuestionIcon icon = QuestionIcon::Question)
    {
        return Ask(QuestionKind::OkCancel, text, icon);
    }
};

// Answers nothing and shows nothing: for code that runs without a user (the virtual meter).
class SilentPrompt final : public UserPrompt {
public:
    void Message(MessageKind, const QString&) override {}
    bool Ask(QuestionKind, const QString&, QuestionIcon) override { return false; }
    std::optional<Credentials> Authenticate() override { return std::nullopt; }
};
