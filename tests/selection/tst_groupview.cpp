// The page "Группы" itself, offscreen: the list's rows and columns, expand and collapse, the
// context menu, the keys, add through the check-box tree with its over-capacity question,
// cut/copy/paste/delete, rename with its length limit, the store, and the Edit commands
// of the main window on this tab. The dialogs are answered by scripts in place of a modal
// loop.
#include "ScriptedPrompt.h"
#include "common/Cp1251.h"
#include "device/ProcessCommand.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "selection/DialogListElements.h"
#include "selection/GroupView.h"
#include "shell/HelpWindow.h"
#include "shell/TreeList.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

using Script = std::function<int(QDialog&)>;

// Answers the page's dialogs in order; an unexpected dialog is cancelled.
struct Dialogs {
    QList<Script> scripts;
    QStringList seen;
    int Run(QDialog& dialog)
    {
        seen << dialog.objectName();
        if (scripts.isEmpty())
            return QDialog::Rejected;
        dialog.show();
        return scripts.takeFirst()(dialog);
    }
};

// The add dialog: tick these leaves (category, leaf) and press "Добавить".
Script Tick(QList<std::pair<int, int>> leaves)
{
    return [leaves](QDialog& d) {
        auto& add = dynamic_cast<CDialogListElements&>(d);
        for (auto [category, leaf] : leaves)
            add.LeafItem(category, leaf)->setCheckState(0, Qt::Checked);
        add.AddButton()->click();
        return add.result();
    };
}

// The over-capacity question: remember its lines and press a button.
Script Answer(bool proceed, QStringList* lines)
{
    return [proceed, lines](QDialog& d) {
        auto& question = dynamic_cast<COverGroup&>(d);
        *lines << d.windowTitle() << d.findChild<QLabel*>(QStringLiteral("fixedLine"))->text()
               << d.findChild<QLabel*>(QStringLiteral("countLine"))->text();
        (proceed ? question.ContinueButton() : question.CancelButton())->click();
        return question.result();
    };
}

QStringList RowTexts(const CGroupView& page, int row)
{
    QStringList out;
    QTreeWidgetItem* item = page.List()->topLevelItem(row);
    for (int c = 0; c < 5; ++c)
        out << item->text(c);
    return out;
}

QStringList MenuTexts(QMenu& menu)
{
    QStringList out;
    for (QAction* action : menu.actions())
        out << (action->isSeparator() ? QStringLiteral("|") : action->text() + (action->isEnabled() ? "" : " (off)"));
    return out;
}

// The row of group g (0-based) while the groups before it are collapsed.
int GroupRowIndex(const CGroupView& page, int g)
{
    for (int r = 0; r < page.List()->topLevelItemCount(); ++r) {
        if (page.List()->topLevelItem(r)->text(0) == QString::number(g + 1))
            return r;
    }
    return -1;
}

} // namespace

class GroupViewTest : public QObject {
    Q_OBJECT
private:
    ConfigModel m_model;
    ScriptedPrompt m_prompt;
    CProcessCommand m_engine{m_prompt};  // the page's boxes go through the engine's prompt
    Dialogs m_dialogs;
    std::unique_ptr<CGroupView> m_page;

    void Select(int g) { m_page->SelectRow(GroupRowIndex(*m_page, g)); }
    void Expand(int g) { m_page->OnRowActivated(GroupRowIndex(*m_page, g)); }
    int RowCount() const { return m_page->List()->topLevelItemCount(); }

private slots:
    void init()
    {
        m_model = NewConfigModel();
        m_dialogs = {};
        m_prompt.clear();
        m_page = std::make_unique<CGroupView>();
        m_page->SetDialogRunner([this](QDialog& d) { return m_dialogs.Run(d); });
        m_page->AttachProcessCommand(&m_engine);
        m_page->resize(700, 500);
        m_page->show();
        m_page->ExchangeWithModel(m_model, CFormPage::ToPage);
        modelChanged().Clear();
    }
    void cleanup() { m_page.reset(); }

    void listShowsGroupsAndExpands()
    {
        QTreeWidget* list = m_page->List();
        QStringList headers;
        QList<int> widths;
        for (int c = 0; c < 5; ++c) {
            headers << list->headerItem()->text(c);
            widths << list->columnWidth(c);
        }
        QCOMPARE(headers, (QStringList{"№", "Название группы", "№", "Наименование параметра", "Обозначение"}));
        QCOMPARE(widths, (QList<int>{30, 120, 30, 360, 100}));
        QCOMPARE(RowCount(), 6);
        QCOMPARE(RowTexts(*m_page, 3), (QStringList{"4", "Интергармоники", "", "", ""}));

        // A real double click on group 2's row.
        const QRect rect = list->visualItemRect(list->topLevelItem(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(RowCount(), 6 + 34);
        QCOMPARE(RowTexts(*m_page, 2), (QStringList{"", "", "1", "Отклонение напряжения фазы A", "δU A"}));
        QCOMPARE(RowTexts(*m_page, 35), (QStringList{"", "", "34", "Отклонение частоты", "δf"}));
        QCOMPARE(RowTexts(*m_page, 36).first(2), (QStringList{"3", "Гармоники"}));
        m_page->OnRowActivated(2);  // a parameter row does nothing
        QCOMPARE(RowCount(), 40);
        Expand(0);                   // both expanded
        QCOMPARE(RowCount(), 6 + 34 + 16);
        Expand(1);                   // collapsing rebuilds the others as they are
        QCOMPARE(RowCount(), 6 + 16);
        QVERIFY(!modelChanged().IsSet());

        // The rows reach assistive technology as a table.
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(list);
        QVERIFY(access && access->tableInterface());
        QCOMPARE(access->text(QAccessible::Name), QStringLiteral("Группы"));
        QCOMPARE(access->tableInterface()->rowCount(), 6 + 16);
        QCOMPARE(access->tableInterface()->cellAt(1, 3)->text(QAccessible::Name), QStringLiteral("Значение напряжения фазы A"));
    }

    void contextMenuFollowsTheRow()
    {
        QVERIFY(!m_page->ContextMenu());  // no row selected: no menu
        Select(0);
        std::unique_ptr<QMenu> menu = m_page->ContextMenu();
        QCOMPARE(menu->title(), QStringLiteral("Редактирование"));
        QCOMPARE(MenuTexts(*menu), (QStringList{"Переименовать группу\tCtrl+A", "Добавить параметр\tIns", "|",
                                                "Вырезать\tCtrl+X (off)", "Копировать\tCtrl+C (off)",
                                                "Вставить\tCtrl+V (off)", "Удалить\tCtrl+D (off)", "|", "Помощь\tF1"}));
        Expand(0);
        m_page->SelectRow(1);
        m_page->OnCopy();
        QVERIFY(!modelChanged().IsSet());
        menu = m_page->ContextMenu();
        QCOMPARE(MenuTexts(*menu), (QStringList{"Переименовать группу\tCtrl+A (off)", "Добавить параметр\tIns", "|",
                                                "Вырезать\tCtrl+X", "Копировать\tCtrl+C", "Вставить\tCtrl+V",
                                                "Удалить\tCtrl+D", "|", "Помощь\tF1"}));
        // The menu's items run the page's commands.
        menu->actions().at(6)->trigger();
        QCOMPARE(RowCount(), 6 + 15);
        QVERIFY(modelChanged().IsSet());
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("row");       // selected row (group 1 expanded)
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<int>("rows");
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("Ctrl+A on a group") << int(Qt::Key_A) << ctrl << 0 << "CNewNameGroup" << 22;
        QTest::newRow("A alone") << int(Qt::Key_A) << 0 << 0 << "" << 22;
        QTest::newRow("Ctrl+A on a parameter") << int(Qt::Key_A) << ctrl << 1 << "" << 22;
        QTest::newRow("Insert") << int(Qt::Key_Insert) << 0 << 1 << "CDialogListElements" << 22;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << 1 << "" << 21;
        QTest::newRow("Ctrl+D") << int(Qt::Key_D) << ctrl << 1 << "" << 21;
        QTest::newRow("D alone") << int(Qt::Key_D) << 0 << 1 << "" << 22;
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << ctrl << 1 << "" << 21;
        QTest::newRow("Delete on a group") << int(Qt::Key_Delete) << 0 << 0 << "" << 22;
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << 1 << "" << 22;
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, row);
        QFETCH(QString, dialog);
        QFETCH(int, rows);
        Expand(0);
        m_page->SelectRow(row);
        QTest::keyClick(m_page->List(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_dialogs.seen, dialog.isEmpty() ? QStringList{} : QStringList{dialog});
        QCOMPARE(RowCount(), rows);
    }

    void helpOpensTheHelpWindow()
    {
        Select(0);
        QTest::keyClick(m_page->List(), Qt::Key_F1);
        CHelpWindow* help = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* h = dynamic_cast<CHelpWindow*>(w); h && h->isVisible())
                help = h;
        }
        QVERIFY(help);
        QCOMPARE(help->source().fragment(), QStringLiteral("topic1"));
        help->close();
    }

    void addToAFullOrNearlyFullGroup_data()
    {
        QTest::addColumn<int>("count");       // group 1 holds this many
        QTest::addColumn<bool>("proceed");
        QTest::addColumn<QString>("countLine");
        QTest::addColumn<int>("after");
        QTest::newRow("full, continue") << 50 << true
            << "В случае продолжения, будут добавлены только 0 новых параметров из 3 запрошенных." << 50;
        QTest::newRow("two free, continue") << 48 << true
            << "В случае продолжения, будут добавлены только 2 новых параметров из 3 запрошенных." << 50;
        QTest::newRow("two free, cancel") << 48 << false
            << "В случае продолжения, будут добавлены только 2 новых параметров из 3 запрошенных." << 48;
    }
    void addToAFullOrNearlyFullGroup()
    {
        QFETCH(int, count);
        QFETCH(bool, proceed);
        QFETCH(QString, countLine);
        QFETCH(int, after);
        m_model.groups[0].count = quint16(count);
        for (int i = 0; i < count; ++i)
            m_model.groups[0].parameters[size_t(i)] = ParameterId{114, quint8(i % 6), 0};
        m_page->ExchangeWithModel(m_model, CFormPage::ToPage);
        modelChanged().Clear();

        QStringList lines;
        bool stillOpen = false;
        bool stillTicked = false;
        m_dialogs.scripts = {[&](QDialog& d) {
            auto& add = dynamic_cast<CDialogListElements&>(d);
            for (int leaf : {0, 1, 2})
                add.LeafItem(16 - leaf / 2, leaf % 2)->setCheckState(0, Qt::Checked);
            add.AddButton()->click();
            stillOpen = add.isVisible();
            stillTicked = add.LeafItem(16, 0)->checkState(0) == Qt::Checked;
            return add.result();
        }, Answer(proceed, &lines)};
        Select(0);
        m_page->OnAdd();
        QCOMPARE(m_dialogs.seen, (QStringList{"CDialogListElements", "COverGroup"}));
        QCOMPARE(lines, (QStringList{"Сообщение",
                                     "Число новых параметров для добавления превышает число свободных мест в группе.",
                                     countLine}));
        QCOMPARE(stillOpen, !proceed);
        QCOMPARE(stillTicked, true);
        QCOMPARE(m_page->Groups().Group(0).parameters.size(), after);
        QCOMPARE(modelChanged().IsSet(), proceed);
        if (proceed && count == 48) {
            // The first two in tree order: "Частота" 106 comes before "Коэффициенты искажения".
            QCOMPARE(m_page->Groups().Group(0).parameters.first(2),
                     (QList<ParameterId>{ParameterId{7, 0, 0}, ParameterId{106, 0, 0}}));
        }
    }

    void addWithNothingCheckedExpands()
    {
        m_dialogs.scripts = {Tick({})};
        Select(2);
        m_page->OnAdd();
        QCOMPARE(RowCount(), 6 + 24);
        QCOMPARE(m_page->Groups().Group(2).parameters.size(), 24);
        QVERIFY(modelChanged().IsSet());

        // Cancelling the dialog changes nothing.
        modelChanged().Clear();
        m_page->SelectRow(0);
        m_page->OnAdd();
        QCOMPARE(RowCount(), 6 + 24);
        QVERIFY(!modelChanged().IsSet());
    }

    void addInsertsBehindTheSelectedRow()
    {
        Expand(0);
        m_dialogs.scripts = {Tick({{16, 1}, {0, 12}})};  // ticked in another order than the tree's
        m_page->SelectRow(2);                            // parameter 2 of group 1
        m_page->OnAdd();
        QCOMPARE(RowTexts(*m_page, 3).mid(2), (QStringList{"3", "U0", "U0"}));
        QCOMPARE(RowTexts(*m_page, 4).mid(2), (QStringList{"4", "Отклонение частоты", "δf"}));
        QCOMPARE(RowTexts(*m_page, 5).at(2), QStringLiteral("5"));
        QCOMPARE(m_page->SelectedRow(), 2);
    }

    void pasteOnGroupThreeGoesFirst()
    {
        Expand(0);
        m_page->SelectRow(3);  // "Значение напряжения фазы C"
        m_page->EditCopy();
        Select(2);
        m_page->EditPaste();
        QCOMPARE(m_page->Groups().Group(2).parameters.first(), (ParameterId{114, 2, 0}));
        const int row = GroupRowIndex(*m_page, 2) + 1;
        QCOMPARE(RowTexts(*m_page, row).mid(2), (QStringList{"1", "Значение напряжения фазы C", "U C"}));
        QCOMPARE(RowTexts(*m_page, row + 1).at(2), QStringLiteral("2"));
        QVERIFY(modelChanged().IsSet());
    }

    void cutAndPasteIntoAFullGroup()
    {
        for (int i = 0; i < 50; ++i)
            m_model.groups[5].parameters[size_t(i)] = ParameterId{8, 0, 0};
        m_model.groups[5].count = 50;
        m_page->ExchangeWithModel(m_model, CFormPage::ToPage);
        Expand(0);
        m_page->SelectRow(1);
        m_page->EditCut();
        QCOMPARE(RowTexts(*m_page, 1).mid(2), (QStringList{"1", "Значение напряжения фазы B", "U B"}));
        QCOMPARE(m_page->SelectedRow(), 1);
        modelChanged().Clear();
        Select(5);
        m_page->EditPaste();  // a full group takes nothing and says nothing
        QCOMPARE(m_page->Groups().Group(5).parameters.size(), 50);
        QVERIFY(!modelChanged().IsSet());
    }

    void deletingTheLastParameter()
    {
        m_model.groups[4].count = 1;
        m_model.groups[4].parameters[0] = ParameterId{106, 0, 0};
        m_page->ExchangeWithModel(m_model, CFormPage::ToPage);
        Expand(4);
        QCOMPARE(RowCount(), 7);
        m_page->SelectRow(5);
        m_page->OnDelete();
        QCOMPARE(RowCount(), 6);
        QVERIFY(!m_page->Groups().Group(4).expanded);
        QCOMPARE(m_page->SelectedRow(), 5);  // group 6's row took its place
        Expand(4);
        QCOMPARE(RowCount(), 6);
        QVERIFY(modelChanged().IsSet());
    }

    void storeWritesCountIdsAndZeros()
    {
        m_model.groups[4].parameters[7] = ParameterId{33, 2, 0};  // left over from earlier
        m_page->ExchangeWithModel(m_model, CFormPage::ToPage);
        m_dialogs.scripts = {Tick({{2, 1}, {2, 3}, {16, 0}})};
        Select(4);
        m_page->OnAdd();
        m_page->ExchangeWithModel(m_model, CFormPage::ToModel);
        const QByteArray bytes = m_model.groups[4].ToBytes();
        QCOMPARE(bytes.left(2).toHex(), QByteArray("0300"));
        QCOMPARE(bytes.mid(18, 12).toHex(), QByteArray("090000000b0000006a000000"));
        QCOMPARE(bytes.mid(30), QByteArray(188, '\0'));
    }

    void renameRefusesALongName()
    {
        bool stayed = false;
        QString shown;
        m_dialogs.scripts = {[&](QDialog& d) {
            auto& rename = dynamic_cast<CNewNameGroup&>(d);
            shown = rename.NameEdit()->text();
            rename.ContinueButton()->click();
            stayed = rename.isVisible() && rename.result() != QDialog::Accepted;
            // Typing stops at 13 characters; a shorter name goes through.
            rename.NameEdit()->clear();
            QTest::keyClicks(rename.NameEdit(), QStringLiteral("Harmonics 1-49 rest"));
            rename.ContinueButton()->click();
            return rename.result();
        }};
        Select(3);
        m_page->OnRename();
        QCOMPARE(shown, QStringLiteral("Интергармоники"));
        QVERIFY(stayed);
        QCOMPARE(m_prompt.kinds(), QStringList{"notice"});
        QCOMPARE(m_prompt.texts(), QStringList{"Please enter no more than 13 characters."});
        QCOMPARE(RowTexts(*m_page, 3).at(1), QStringLiteral("Harmonics 1-4"));
        QVERIFY(modelChanged().IsSet());
        m_page->ExchangeWithModel(m_model, CFormPage::ToModel);
        QCOMPARE(m_model.groups[3].NameText(), cp1251::Encode(u"Harmonics 1-4"));

        // Cancelled: the name stays, the flag is set all the same.
        modelChanged().Clear();
        m_page->OnRename();
        QCOMPARE(RowTexts(*m_page, 3).at(1), QStringLiteral("Harmonics 1-4"));
        QVERIFY(modelChanged().IsSet());
    }

    void addDialogCheckRule()
    {
        CDialogListElements dialog(50);
        dialog.show();
        QTreeWidgetItem* root = dialog.Root();
        QCOMPARE(root->text(0), QStringLiteral("Текущие значения"));
        QVERIFY(root->isExpanded());
        QCOMPARE(root->childCount(), 17);
        QVERIFY(!(root->flags() & Qt::ItemIsUserCheckable));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Добавление нового параметра"));

        QTreeWidgetItem* harmonicsA = dialog.CategoryItem(2);
        QCOMPARE(harmonicsA->text(0), QStringLiteral("Коэффициенты гармоник фазы А"));
        QCOMPARE(harmonicsA->child(48)->text(0), QStringLiteral("Коэффициент гармоники 50 фазы A"));
        dialog.ToggleItem(harmonicsA);
        for (int l = 0; l < 49; ++l)
            QCOMPARE(harmonicsA->child(l)->checkState(0), Qt::Checked);
        dialog.ToggleItem(harmonicsA->child(0));
        QCOMPARE(harmonicsA->checkState(0), Qt::Checked);
        dialog.ToggleItem(harmonicsA);
        QCOMPARE(harmonicsA->child(5)->checkState(0), Qt::Unchecked);

        QTreeWidgetItem* frequency = dialog.CategoryItem(16);
        dialog.ToggleItem(frequency->child(1));
        QCOMPARE(frequency->checkState(0), Qt::Checked);
        dialog.ToggleItem(frequency->child(1));
        QCOMPARE(frequency->checkState(0), Qt::Unchecked);
        dialog.ToggleItem(root);  // the root does not react
        QCOMPARE(root->data(0, Qt::CheckStateRole), QVariant());

        // A click on the text does not toggle; the check state reaches assistive technology.
        QTreeWidget* tree = dialog.Tree();
        tree->scrollToItem(frequency);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(frequency).center());
        QCOMPARE(frequency->checkState(0), Qt::Unchecked);
        dialog.ToggleItem(frequency);
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(tree);
        QVERIFY(access && access->tableInterface());
        QCOMPARE(access->text(QAccessible::Name), QStringLiteral("Текущие значения"));
        bool found = false;
        for (int i = 0; i < access->childCount(); ++i) {
            QAccessibleInterface* child = access->child(i);
            if (child && child->text(QAccessible::Name) == QStringLiteral("Частота")) {
                QVERIFY(child->state().checkable);
                QVERIFY(child->state().checked);
                found = true;
            }
        }
        QVERIFY(found);
        dialog.AddButton()->click();
        QCOMPARE(dialog.Chosen(), (QList<ParameterId>{ParameterId{106, 0, 0}, ParameterId{107, 0, 0}}));
    }
};

QTEST_MAIN(GroupViewTest)
#include "tst_groupview.moc"
