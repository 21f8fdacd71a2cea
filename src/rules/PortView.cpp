#include "PortView.h"

#include "RuleHighlighter.h"
#include "TermSearch.h"
#include "common/Cp1251.h"
#include "common/UserPrompt.h"
#include "device/GuiPrompt.h"
#include "device/ProcessCommand.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "shell/HelpWindow.h"
#include "shell/ToolbarIcons.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTextBlock>

namespace {

// The help topic of this page.
constexpr int kHelpContext = 2;

// Width kept free right of the editor for the dictionary.
constexpr int kDictionaryMargin = 338;

QFont RuleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    font.setWeight(QFont::Normal);
    return font;
}

QString TermNotFound(const QString& text)
{
    return QStringLiteral("Термин '%1' не найден.").arg(text);
}

} // namespace

CPortView::CPortView(QWidget* parent)
    : CFormPage(parent)
{
    setObjectName(QStringLiteral("CPortView"));

    m_editorCaption = new QLabel(QStringLiteral("Условия работы:"), this);
    m_editor = new QPlainTextEdit(this);
    m_editor->setObjectName(QStringLiteral("ruleEditor"));
    m_editor->setFont(RuleFont());
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    m_editorCaption->setBuddy(m_editor);
    m_editor->setAccessibleName(m_editorCaption->text());
    m_highlighter = new CRuleHighlighter(m_dictionary, m_editor->document());

    m_messages = new QListWidget(this);
    m_messages->setObjectName(QStringLiteral("messageList"));
    m_messages->setFont(RuleFont());
    m_messages->setAccessibleName(QStringLiteral("Сообщения"));

    m_dictionaryCaption = new QLabel(QStringLiteral("Словарь терминов:"), this);
    m_search = new QComboBox(this);
    m_search->setObjectName(QStringLiteral("termSearch"));
    m_search->setEditable(true);
    m_search->setInsertPolicy(QComboBox::NoInsert);
    m_search->setAccessibleName(QStringLiteral("Поиск термина"));
    m_search->lineEdit()->setAccessibleName(m_search->accessibleName());
    m_searchButton = new QPushButton(QStringLiteral("поиск"), this);
    m_searchButton->setObjectName(QStringLiteral("searchButton"));

    m_dictionaryList = new QTableWidget(0, 2, this);
    m_dictionaryList->setObjectName(QStringLiteral("dictionaryList"));
    m_dictionaryList->setHorizontalHeaderLabels({QStringLiteral("Обозначение"), QStringLiteral("Наименование")});
    m_dictionaryList->setColumnWidth(0, 95);
    m_dictionaryList->setColumnWidth(1, 200);
    m_dictionaryList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_dictionaryList->verticalHeader()->hide();
    m_dictionaryList->setShowGrid(true);
    m_dictionaryList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_dictionaryList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_dictionaryList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dictionaryList->setWordWrap(false);
    m_dictionaryCaption->setBuddy(m_dictionaryList);
    m_dictionaryList->setAccessibleName(m_dictionaryCaption->text());

    // Only real edits count: the highlighter's colouring changes no character.
    connect(m_editor->document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed == 0 && added == 0)
            return;
        modelChanged().Set();
        ClearErrorMark();
    });
    connect(m_editor, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateEditorMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_editor->viewport()->mapToGlobal(at));
    });
    m_editor->installEventFilter(this);
    connect(m_searchButton, &QPushButton::clicked, this, &CPortView::Search);
    connect(m_search->lineEdit(), &QLineEdit::returnPressed, this, &CPortView::Search);
    connect(m_dictionaryList, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { InsertTerm(row); });
    connect(m_messages, &QListWidget::itemDoubleClicked, this, &CPortView::JumpToError);

    LayoutControls();
}

CPortView::~CPortView() = default;

UserPrompt& CPortView::Prompt()
{
    if (Processor())
        return Processor()->Prompt();
    if (m_prompt)
        return *m_prompt;
    if (!m_ownPrompt)
        m_ownPrompt = std::make_unique<GuiPrompt>(this);
    return *m_ownPrompt;
}

void CPortView::AttachProcessCommand(CProcessCommand* processor)
{
    CFormPage::AttachProcessCommand(processor);
    EnsureDictionary();
}

void CPortView::EnsureDictionary()
{
    if (!m_dictionaryLoaded)
        LoadDictionary(TermDictionary::DefaultPath(), Prompt());
}

bool CPortView::LoadDictionary(const QString& path, UserPrompt& prompt)
{
    m_dictionaryLoaded = true;
    const bool loaded = m_dictionary.Load(path, prompt);
    FillDictionaryList();
    const ModelChangedFlag::Preserve keep(modelChanged());
    m_highlighter->rehighlight();
    return loaded;
}

void CPortView::FillDictionaryList()
{
    m_dictionaryList->setRowCount(m_dictionary.size());
    for (int row = 0; row < m_dictionary.size(); ++row) {
        const TermDictionary::Term& term = m_dictionary.at(row);
        m_dictionaryList->setItem(row, 0, new QTableWidgetItem(cp1251::Decode(term.designation)));
        m_dictionaryList->setItem(row, 1, new QTableWidgetItem(cp1251::Decode(term.name)));
    }
    m_dictionaryList->resizeRowsToContents();
}

void CPortView::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == ToPage) {
        const ModelChangedFlag::Preserve keep(modelChanged());
        m_editor->setPlainText(cp1251::Decode(model.pulse_rules_text));
    } else {
        model.pulse_rules_text = cp1251::Encode(m_editor->toPlainText());
    }
}

void CPortView::ContributeHooks(PageHooks& hooks, ConfigModel& model)
{
    EnsureDictionary();
    hooks.dictionary = &m_dictionary;
    hooks.storePage = [this, &model] { ExchangeWithModel(model, ToModel); };
    hooks.showText = [this](const QByteArray& text) { ShowDecodedText(text); };
    hooks.showMessages = [this](const QStringList& lines) { ShowMessages(lines); };
}

void CPortView::ShowDecodedText(const QByteArray& text)
{
    // One editing step: the user can take back what a read brought in.
    QTextCursor cursor(m_editor->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(cp1251::Decode(text));
    cursor.endEditBlock();
    modelChanged().Set();
}

void CPortView::ShowMessages(const QStringList& lines)
{
    m_messages->clear();
    m_messages->addItems(lines);
    ClearErrorMark();
    // The compiler tells where the word it stopped at stands; compiling the editor's text
    // again asks it (the lines alone do not say).
    QByteArray block = EmptyControlCode();
    QStringList again;
    RuleCompiler::WordSpan span;
    if (RuleCompiler(m_dictionary).Compile(cp1251::Encode(m_editor->toPlainText()), block, again, &span)
        || span.start < 0 || again != lines)
        return;
    m_errorSpan = span;
    m_errorLine = int(lines.size()) - 1;
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(m_editor->document());
    mark.cursor.setPosition(int(span.start));
    mark.cursor.setPosition(int(span.start + span.length), QTextCursor::KeepAnchor);
    mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    mark.format.setUnderlineColor(Qt::red);
    m_editor->setExtraSelections({mark});
}

void CPortView::ClearErrorMark()
{
    if (m_errorSpan.start < 0 && m_editor->extraSelections().isEmpty())
        return;
    m_errorSpan = {};
    m_errorLine = -1;
    m_editor->setExtraSelections({});
}

void CPortView::JumpToError(QListWidgetItem* item)
{
    if (!item || m_errorSpan.start < 0 || m_messages->row(item) != m_errorLine)
        return;
    QTextCursor cursor = m_editor->textCursor();
    cursor.setPosition(int(m_errorSpan.start));
    cursor.setPosition(int(m_errorSpan.start + m_errorSpan.length), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    m_editor->ensureCursorVisible();
    m_editor->setFocus();
}

void CPortView::Search()
{
    const QString text = m_search->currentText();
    if (AddToSearchHistory(m_history, text)) {
        m_search->clear();
        m_search->addItems(m_history);
        m_search->setEditText(text);
    }
    const int row = FindDesignation(m_dictionary, text);
    if (row == TermDictionary::kNone) {
        if (!text.isEmpty())
            Prompt().Notice(TermNotFound(text));
        return;
    }
    QTableWidgetItem* item = m_dictionaryList->item(row, 0);
    m_dictionaryList->scrollToItem(item);
    m_dictionaryList->setCurrentItem(item);
    m_dictionaryList->selectRow(row);
    m_dictionaryList->setFocus();
}

void CPortView::InsertTerm(int row)
{
    if (row < 0 || row >= m_dictionary.size())
        return;
    QTextCursor cursor = m_editor->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(cp1251::Decode(m_dictionary.at(row).designation) + QLatin1Char(' '));
    cursor.endEditBlock();
    m_editor->setTextCursor(cursor);
    m_editor->setFocus();
}

void CPortView::DeleteSelection()
{
    m_editor->textCursor().removeSelectedText();
}

QMenu* CPortView::CreateEditorMenu(QWidget* parent)
{
    auto* menu = new QMenu(QStringLiteral("Редактирование"), parent);
    menu->setObjectName(QStringLiteral("editorMenu"));
    QAction* undo = menu->addAction(QStringLiteral("Отмена\tCtrl+Z"), m_editor, &QPlainTextEdit::undo);
    undo->setEnabled(m_editor->document()->isUndoAvailable());
    menu->addSeparator();
    const bool selected = m_editor->textCursor().hasSelection();
    menu->addAction(ToolbarIcon(ToolbarIconKind::Cut), QStringLiteral("Вырезать\tCtrl+X"), m_editor,
                    &QPlainTextEdit::cut)->setEnabled(selected);
    menu->addAction(ToolbarIcon(ToolbarIconKind::Copy), QStringLiteral("Копировать\tCtrl+C"), m_editor,
                    &QPlainTextEdit::copy)->setEnabled(selected);
    menu->addAction(ToolbarIcon(ToolbarIconKind::Paste), QStringLiteral("Вставить\tCtrl+V"), m_editor,
                    &QPlainTextEdit::paste)->setEnabled(m_editor->canPaste());
    menu->addAction(QStringLiteral("Удалить\tCtrl+D"), this, &CPortView::DeleteSelection)->setEnabled(selected);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Помощь\tF1"), this, [this] { CHelpWindow::Show(window(), kHelpContext); });
    return menu;
}

void CPortView::EditCut() { m_editor->cut(); }

void CPortView::EditCopy() { m_editor->copy(); }

void CPortView::EditPaste() { m_editor->paste(); }

bool CPortView::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+D typed in the editor deletes the selection, as the menu's "Удалить".
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) {
            DeleteSelection();
            return true;
        }
    }
    return CFormPage::eventFilter(watched, event);
}

void CPortView::resizeEvent(QResizeEvent* event)
{
    CFormPage::resizeEvent(event);
    LayoutControls();
}

void CPortView::LayoutControls()
{
    const int w = width();
    const int h = height();
    m_editorCaption->setGeometry(0, 2, std::max(0, w - kDictionaryMargin), 16);
    m_editor->setGeometry(0, 20, std::max(0, w - kDictionaryMargin), std::max(0, h - 125));
    m_messages->setGeometry(0, h - 103, std::max(0, w - kDictionaryMargin), 100);
    m_dictionaryCaption->setGeometry(w - 330, 5, 330, 13);
    m_search->setGeometry(w - 335, 20, 275, 18);
    m_searchButton->setGeometry(w - 62, 20, 55, 22);
    m_dictionaryList->setGeometry(w - 335, 42, 330, std::max(0, h - 45));
}
