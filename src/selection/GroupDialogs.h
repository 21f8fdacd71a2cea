#pragma once
// The two small dialogs of the page "Группы": the question shown when more parameters are
// chosen than the group has room for, and the rename dialog. Both, like the add dialog,
// run through a DialogRunner, so the page's tests answer them without a modal loop.
#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class UserPrompt;

// Runs a dialog and returns its result (QDialog::Accepted or Rejected).
using DialogRunner = std::function<int(QDialog&)>;
int RunModal(QDialog& dialog);

// "Сообщение": more parameters chosen than there are free slots. Accepted: go on with the
// first `free` of them.
class COverGroup : public QDialog {
public:
    COverGroup(int free, int requested, QWidget* parent = nullptr);

    static QString FixedLine();
    static QString CountLine(int free, int requested);

    QPushButton* ContinueButton() const { return m_continue; }
    QPushButton* CancelButton() const { return m_cancel; }

private:
    QPushButton* m_continue = nullptr;
    QPushButton* m_cancel = nullptr;
};

// "Переименование группы": a name of at most 13 characters. The field shows the current
// name in full, even a longer one; "Продолжить" refuses a longer one with the length
// message and stays open.
class CNewNameGroup : public QDialog {
public:
    CNewNameGroup(const QString& name, UserPrompt& prompt, QWidget* parent = nullptr);

    QString Name() const;
    QLineEdit* NameEdit() const { return m_edit; }
    QPushButton* ContinueButton() const { return m_continue; }
    QPushButton* CancelButton() const { return m_cancel; }

    static QString TooLongMessage();

private:
    void OnContinue();

    UserPrompt& m_prompt;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_continue = nullptr;
    QPushButton* m_cancel = nullptr;
};
