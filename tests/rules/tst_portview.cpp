// The pulse I/O page on its own: the editor with the dictionary, the search box, the Edit
// commands, and the page's read and write through the shared routines against an
// in-process meter.
#include "ExchangeBench.h"
#include "RulesFixture.h"
#include "common/Cp1251.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "pages/PageTable.h"
#include "rules/PortView.h"
#include "rules/RuleHighlighter.h"
#include "rules/RulesMessages.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

class PortViewTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_database;

    // A page with the test dictionary, its messages going to prompt.
    std::unique_ptr<CPortView> Page(ScriptedPrompt& prompt)
    {
        auto page = std::make_unique<CPortView>();
        page->SetPrompt(&prompt);
        page->LoadDictionary(m_database, prompt);
        page->resize(1000, 600);
        return page;
    }
    static bool RunRoutine(bool write, ExchangeBench& b, CPortView& page, ConfigModel& model)
    {
        PageContext context{b.settings, b.engine, model, b.progress, b.prompt, {}};
        PageHooks hooks;
        page.ContributeHooks(hooks, model);
        const PageDescriptor& descriptor = ::Page(PageId::Pulse);
        return write ? descriptor.write(context, hooks) : descriptor.read(context, hooks);
    }
    static void Type(CPortView& page, const QString& text)
    {
        page.Editor()->setFocus();
        page.Editor()->moveCursor(QTextCursor::End);
        page.Editor()->insertPlainText(text);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_database = m_dir.filePath(QStringLiteral("pke.dat"));
        QVERIFY(fixture::WriteDatabase(m_database));
    }

    void showsTheDictionaryInItsOrder()
    {
        ScriptedPrompt prompt;
        auto page = Page(prompt);
        QTableWidget* list = page->DictionaryList();
        QCOMPARE(list->rowCount(), fixture::Rows().size());
        QCOMPARE(list->horizontalHeaderItem(0)->text(), QStringLiteral("Обозначение"));
        QCOMPARE(list->horizontalHeaderItem(1)->text(), QStringLiteral("Наименование"));
        QCOMPARE(list->columnWidth(0), 95);
        QCOMPARE(list->columnWidth(1), 200);
        QCOMPARE(list->item(22, 0)->text(), QStringLiteral("A"));
        QCOMPARE(list->item(22, 1)->text(), QStringLiteral("Величина A"));
        QCOMPARE(page->Editor()->font().family(), QStringLiteral("Arial"));
        QCOMPARE(page->Editor()->font().pixelSize(), 16);
        QVERIFY(prompt.shown().isEmpty());
    }

    void missingDictionaryIsReported()
    {
        ScriptedPrompt prompt;
        CPortView page;
        const QString path = m_dir.filePath(QStringLiteral("none.dat"));
        QVERIFY(!page.LoadDictionary(path, prompt));
        QCOMPARE(prompt.texts(), QStringList{msg::DictionaryNotFound(path)});
        QCOMPARE(page.DictionaryList()->rowCount(), 0);
    }

    void layoutFollowsTheSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1000 x 600") << QSize(1000, 600);
        QTest::newRow("800 x 450") << QSize(800, 450);
    }
    void layoutFollowsTheSize()
    {
        QFETCH(QSize, size);
        ScriptedPrompt prompt;
        auto page = Page(prompt);
        page->show();
        page->resize(size);
        const int w = size.width(), h = size.height();
        QCOMPARE(page->Editor()->geometry(), QRect(0, 20, w - 338, h - 125));
        QCOMPARE(page->MessageList()->geometry(), QRect(0, h - 103, w - 338, 100));
        QCOMPARE(page->SearchBox()->geometry(), QRect(w - 335, 20, 275, 18));
        QCOMPARE(page->findChild<QWidget*>(QStringLiteral("searchButton"))->geometry(), QRect(w - 62, 20, 55, 22));
        QCOMPARE(page->DictionaryList()->geometry(), QRect(w - 335, 42, 330, h - 45));
    }

    // Searches typed one after another: the history kept and the notices shown.
    void search_data()
    {
        QTest::addColumn<QStringList>("searches");
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<int>("selectedRow");
        QTest::newRow("found, case ignored") << QStringList{"pulse1"} << QStringList{"pulse1"} << QStringList{} << 28;
        QTest::newRow("not found") << QStringList{"НЕТ"} << QStringList{"НЕТ"}
                                   << QStringList{QStringLiteral("Термин 'НЕТ' не найден.")} << -1;
        QTest::newRow("empty says nothing") << QStringList{""} << QStringList{""} << QStringList{} << -1;
        QTest::newRow("beginning of an entry adds nothing")
            << QStringList{"PULSE1", "pul"} << QStringList{"PULSE1"}
            << QStringList{QStringLiteral("Термин 'pul' не найден.")} << -1;
        QTest::newRow("five at most") << QStringList{"A", "B", "X", "Y", "Z", "R"}
                                      << QStringList{"B", "X", "Y", "Z", "R"} << QStringList{} << 27;
    }
    void search()
    {
        QFETCH(QStringList, searches);
        QFETCH(QStringList, history);
        QFETCH(QStringList, notices);
        QFETCH(int, selectedRow);
        ScriptedPrompt prompt;
        auto page = Page(prompt);
        page->show();
        for (const QString& s : searches) {
            page->SearchBox()->setEditText(s);
            QTest::mouseClick(page->findChild<QWidget*>(QStringLiteral("searchButton")), Qt::LeftButton);
            QCOMPARE(page->SearchBox()->currentText(), s);
        }
        QCOMPARE(page->SearchHistory(), history);
        QCOMPARE(page->SearchBox()->count(), history.size());
        QCOMPARE(prompt.texts(), notices);
        for (const QString& kind : prompt.kinds())
            QCOMPARE(kind, QStringLiteral("notice"));
        if (selectedRow >= 0) {
            QCOMPARE(page->DictionaryList()->currentRow(), selectedRow);
            QCOMPARE(page->DictionaryList()->selectionModel()->selectedRows().size(), 1);
        }
    }

    void doubleClickInsertsTheTermAsOneStep()
    {
        ScriptedPrompt prompt;
        auto page = Page(prompt);
        QPlainTextEdit* editor = page->Editor();
        Type(*page, QStringLiteral("Если X > 5"));
        // The selection "X" is replaced by the designation and a blank.
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(5);
        cursor.setPosition(6, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        modelChanged().Clear();
        page->InsertTerm(22);
        QCOMPARE(editor->toPlainText(), QStringLiteral("Если A  > 5"));
        QCOMPARE(editor->textCursor().position(), 7);
        QVERIFY(modelChanged().IsSet());
        editor->undo();
        QCOMPARE(editor->toPlainText(), QStringLiteral("Если X > 5"));
    }

    void editorMenuAndDelete()
    {
        ScriptedPrompt prompt;
        auto page = Page(prompt);
        QMenu* menu = page->CreateEditorMenu(page.get());
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(menu->title(), QStringLiteral("Редактирование"));
        QCOMPARE(texts, (QStringList{"Отмена\tCtrl+Z", "-", "Вырезать\tCtrl+X", "Копировать\tCtrl+C",
                                     "Вставить\tCtrl+V", "Удалить\tCtrl+D", "-", "Помощь\tF1"}));
        QVERIFY(!menu->actions().first()->isEnabled());  // nothing to undo yet

        page->show();
        Type(*page, QStringLiteral("Если A то"));
        page->Editor()->selectAll();
        QTest::keyClick(page->Editor(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(page->Editor()->toPlainText(), QString());
    }

    void editCommandsActOnTheEditor()
    {
        ScriptedPrompt prompt;
        auto page = Page(prompt);
        Type(*page, QStringLiteral("R = 1"));
        page->Editor()->selectAll();
        page->EditCopy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("R = 1"));
        page->EditCut();
        QCOMPARE(page->Editor()->toPlainText(), QString());
        page->EditPaste();
        page->EditPaste();
        QCOMPARE(page->Editor()->toPlainText(), QStringLiteral("R = 1R = 1"));
    }

    void everyEditSetsTheFlagLoadingDoesNot()
    {
        ScriptedPrompt prompt;
        auto page = Page(prompt);
        ConfigModel m = NewConfigModel();
        m.pulse_rules_text = fixture::Text("Если A > 5 то R = 1.");
        modelChanged().Clear();
        page->ExchangeWithModel(m, CFormPage::ToPage);
        QCOMPARE(page->Editor()->toPlainText(), QStringLiteral("Если A > 5 то R = 1."));
        QVERIFY(!modelChanged().IsSet());
        page->LoadDictionary(m_database, prompt);  // colours again, changes no text
        QVERIFY(!modelChanged().IsSet());
        page->Editor()->moveCursor(QTextCursor::End);
        QTest::keyClick(page->Editor(), Qt::Key_Backspace);
        QVERIFY(modelChanged().IsSet());
        page->ExchangeWithModel(m, CFormPage::ToModel);
        QCOMPARE(m.pulse_rules_text, fixture::Text("Если A > 5 то R = 1"));
    }

    void keywordsTermsAndNumbersAreColoured()
    {
        ScriptedPrompt prompt;
        auto page = Page(prompt);
        page->Editor()->setPlainText(QStringLiteral("Если A > 5 то НЕТ = 1."));
        const QList<QTextLayout::FormatRange> formats = page->Editor()->document()->firstBlock().layout()->formats();
        QStringList coloured;
        for (const QTextLayout::FormatRange& r : formats) {
            const QString kind = r.format == CRuleHighlighter::KeywordFormat() ? QStringLiteral("k")
                : r.format == CRuleHighlighter::TermFormat()                    ? QStringLiteral("t")
                : r.format == CRuleHighlighter::NumberFormat()                  ? QStringLiteral("n")
                                                                                : QStringLiteral("?");
            coloured << kind + page->Editor()->toPlainText().mid(r.start, r.length);
        }
        QCOMPARE(coloured, (QStringList{"kЕсли", "tA", "n5", "kто", "n1"}));
    }

    void emptyEditorWritesAnEmptyBlockAndReadsBackEmpty()
    {
        ExchangeBench b;
        auto page = Page(b.prompt);
        ConfigModel m = NewConfigModel();
        m.pulse_rules_text = fixture::Text("Если A > 5 то R = 1.");
        QVERIFY(RunRoutine(true, b, *page, m));
        QCOMPARE(b.Sent(), (QList<SentFrame>{{0x13, 0x81, QByteArray(512, char(0xFF))}}));
        QVERIFY(m.pulse_rules_text.isEmpty());  // the write stored the page first
        QCOMPARE(page->MessageList()->count(), 0);

        Type(*page, QStringLiteral("stale"));
        QVERIFY(RunRoutine(false, b, *page, m));
        QCOMPARE(page->Editor()->toPlainText(), QString());
        QVERIFY(b.prompt.shown().isEmpty());
    }

    void readPutsTheRulesIntoTheEditorOnly()
    {
        ExchangeBench b;
        auto page = Page(b.prompt);
        ConfigModel m = NewConfigModel();
        Type(*page, QStringLiteral("Если A > 5 то R = 1, иначе R = 0.\nЕсли не B то PULSE1."));
        QVERIFY(RunRoutine(true, b, *page, m));
        QCOMPARE(page->MessageList()->item(page->MessageList()->count() - 1)->text(), msg::kCompileDone);

        m.pulse_rules_text = "old";
        page->Editor()->setPlainText(QStringLiteral("something else"));
        modelChanged().Clear();
        QVERIFY(RunRoutine(false, b, *page, m));
        const QString decoded = QStringLiteral("Если A > 5.00, то R = 1, иначе R = 0.\nЕсли не B, то PULSE1.\n");
        QCOMPARE(page->Editor()->toPlainText(), decoded);
        QVERIFY(modelChanged().IsSet());
        QCOMPARE(m.pulse_rules_text, QByteArray("old"));
        // The read is one step the user can take back.
        page->Editor()->undo();
        QCOMPARE(page->Editor()->toPlainText(), QStringLiteral("something else"));
        page->Editor()->redo();
        page->ExchangeWithModel(m, CFormPage::ToModel);
        QCOMPARE(m.pulse_rules_text, cp1251::Encode(decoded));
    }

    void undecodableBlockLeavesTheEditor()
    {
        ExchangeBench b;
        auto page = Page(b.prompt);
        ConfigModel m = NewConfigModel();
        // A condition that runs to the block's end.
        b.meter.SetBlock(0x13, 0x01, fixture::Code(("?" + QByteArray(" A").repeated(169)).constData()));
        Type(*page, QStringLiteral("kept"));
        QVERIFY(!RunRoutine(false, b, *page, m));
        QCOMPARE(b.prompt.texts(), QStringList{msg::kUndecodable});
        QCOMPARE(page->Editor()->toPlainText(), QStringLiteral("kept"));
    }

    void compileErrorSendsNothingAndMarksTheWord()
    {
        ExchangeBench b;
        auto page = Page(b.prompt);
        page->show();
        ConfigModel m = NewConfigModel();
        const QString text = QStringLiteral("Если A > 5 то R = 1.\nЕсли НЕТАКОГО > 5 то R = 1.");
        Type(*page, text);
        page->Editor()->moveCursor(QTextCursor::Start);
        QVERIFY(!RunRoutine(true, b, *page, m));
        QVERIFY(b.Sent().isEmpty());
        QListWidget* list = page->MessageList();
        QCOMPARE(list->item(list->count() - 1)->text(), msg::CompileUnknownWord(QStringLiteral("НЕТАКОГО")));
        const QList<QTextEdit::ExtraSelection> marks = page->Editor()->extraSelections();
        QCOMPARE(marks.size(), 1);
        QCOMPARE(marks[0].cursor.selectedText(), QStringLiteral("НЕТАКОГО"));
        QCOMPARE(marks[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);

        // Double-clicking the error line puts the caret on the word; other lines do nothing.
        page->JumpToError(list->item(0));
        QCOMPARE(page->Editor()->textCursor().position(), 0);
        page->JumpToError(list->item(list->count() - 1));
        QCOMPARE(page->Editor()->textCursor().selectedText(), QStringLiteral("НЕТАКОГО"));
        QCOMPARE(page->Editor()->textCursor().position(), int(text.indexOf(QStringLiteral("НЕТАКОГО")) + 8));

        // An edit takes the mark away: it no longer shows where the word is.
        QTest::keyClick(page->Editor(), Qt::Key_End);
        QTest::keyClick(page->Editor(), Qt::Key_Space);
        QVERIFY(page->Editor()->extraSelections().isEmpty());
        QCOMPARE(page->ErrorSpan().start, -1);
    }

    void syntaxErrorMarksNothing()
    {
        ExchangeBench b;
        auto page = Page(b.prompt);
        ConfigModel m = NewConfigModel();
        Type(*page, QStringLiteral(" Если A то R = 1."));
        QVERIFY(!RunRoutine(true, b, *page, m));
        QVERIFY(b.Sent().isEmpty());
        QCOMPARE(page->MessageList()->item(page->MessageList()->count() - 1)->text(), msg::kCompileNoIf);
        QVERIFY(page->Editor()->extraSelections().isEmpty());
    }
};

QTEST_MAIN(PortViewTest)
#include "tst_portview.moc"
