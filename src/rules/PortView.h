#pragma once
// The page "Импульсные входы/выходы": the pulse I/O rules with the term dictionary beside
// them. The rule text goes to the meter compiled into its control-code block and comes
// back decoded into the editor; the compiler's lines stand in the message list and the
// word a compilation stopped at is underlined in the editor.
#include "RuleCompiler.h"
#include "TermDictionary.h"
#include "shell/FormPage.h"

#include <QStringList>

#include <memory>

class CRuleHighlighter;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class UserPrompt;

class CPortView : public CFormPage {
    Q_OBJECT
public:
    explicit CPortView(QWidget* parent = nullptr);
    ~CPortView() override;

    // The dictionary is loaded once the engine (and with it the user's prompt) is here.
    void AttachProcessCommand(CProcessCommand* processor) override;
    void ExchangeWithModel(ConfigModel& model, int direction) override;
    void ContributeHooks(PageHooks& hooks, ConfigModel& model) override;

    void EditCut() override;
    void EditCopy() override;
    void EditPaste() override;

    // Replaces the dictionary with the one at path and shows it in the list.
    bool LoadDictionary(const QString& path, UserPrompt& prompt);
    const TermDictionary& Dictionary() const { return m_dictionary; }

    // Where the page's messages go when no engine is attached (tests); otherwise the
    // engine's prompt.
    void SetPrompt(UserPrompt* prompt) { m_prompt = prompt; }

    QPlainTextEdit* Editor() const { return m_editor; }
    QListWidget* MessageList() const { return m_messages; }
    QTableWidget* DictionaryList() const { return m_dictionaryList; }
    QComboBox* SearchBox() const { return m_search; }
    QStringList SearchHistory() const { return m_history; }
    // The editor's context menu "Редактирование", built as the right button shows it.
    QMenu* CreateEditorMenu(QWidget* parent);
    // The word the last compilation stopped at (start -1 when none).
    RuleCompiler::WordSpan ErrorSpan() const { return m_errorSpan; }

public slots:
    void Search();                     // "поиск"
    void InsertTerm(int row);          // double-click on a dictionary row
    void DeleteSelection();            // "Удалить", Ctrl+D
    void ShowDecodedText(const QByteArray& text);
    void ShowMessages(const QStringList& lines);
    void JumpToError(QListWidgetItem* item);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UserPrompt& Prompt();
    void EnsureDictionary();
    void FillDictionaryList();
    void ClearErrorMark();
    void LayoutControls();

    TermDictionary m_dictionary;
    bool m_dictionaryLoaded = false;
    QStringList m_history;
    RuleCompiler::WordSpan m_errorSpan;
    int m_errorLine = -1;
    UserPrompt* m_prompt = nullptr;
    std::unique_ptr<UserPrompt> m_ownPrompt;

    QLabel* m_editorCaption = nullptr;
    QPlainTextEdit* m_editor = nullptr;
    QListWidget* m_messages = nullptr;
    QLabel* m_dictionaryCaption = nullptr;
    QComboBox* m_search = nullptr;
    QPushButton* m_searchButton = nullptr;
    QTableWidget* m_dictionaryList = nullptr;
    CRuleHighlighter* m_highlighter = nullptr;
};
