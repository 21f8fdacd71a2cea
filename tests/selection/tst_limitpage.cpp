// The page "Отклонения" offscreen: the tree and its check images under real clicks, the count
// line, the two limit edits, and what a load shows and a store writes.
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "LimitSlots.h"
#include "selection/LimitView.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace {

void PutSlot(ConfigModel& m, int slot, quint8 code, quint8 phase, float upper, float lower)
{
    ::PutSlot(m.deviation_limits.data(), slot, code, phase, upper, lower);
}

float SlotUpper(const ConfigModel& m, int slot) { return ::SlotUpper(m.deviation_limits.data(), slot); }

int LeafOf(const CLimitView& view, ParameterId id)
{
    const auto& leaves = view.Selection().Leaves();
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        if (leaves[i].id == id)
            return int(i);
    }
    return -1;
}

} // namespace

class LimitPageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CLimitView> m_view;
    ConfigModel m_model;

    QString Count() const { return m_view->findChild<QLabel*>("chosenCount")->text(); }
    void ClickImage(QTreeWidgetItem* item)
    {
        m_view->Tree()->scrollToItem(item);
        QTest::mouseClick(m_view->Tree()->viewport(), Qt::LeftButton, {}, m_view->ImageRect(item).center());
    }
    void Load()
    {
        m_view->ExchangeWithModel(m_model, CFormPage::ToPage);
        modelChanged().Clear();
    }
    int TickedLeaves() const
    {
        int n = 0;
        for (std::size_t i = 0; i < m_view->Selection().Leaves().size(); ++i)
            n += m_view->LeafItem(int(i))->checkState(0) == Qt::Checked;
        return n;
    }

private slots:
    void init()
    {
        m_model = NewConfigModel();
        m_view = std::make_unique<CLimitView>();
        m_view->resize(900, 600);
        m_view->show();
        Load();
    }
    void cleanup() { m_view.reset(); }

    void newConfiguration()
    {
        QTreeWidget* tree = m_view->Tree();
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Параметры"));
        QVERIFY(tree->topLevelItem(0)->isExpanded());
        QCOMPARE(tree->topLevelItem(0)->childCount(), 17);
        QCOMPARE(m_view->LeafItem(0)->text(0), QStringLiteral("Значение напряжения фазы A"));
        QCOMPARE(Count(), QStringLiteral("0"));
        QCOMPARE(TickedLeaves(), 0);
        QVERIFY(!m_view->UpperEdit()->isEnabled());
        QVERIFY(!m_view->LowerEdit()->isEnabled());
        auto* interval = m_view->findChild<QComboBox*>("averagingInterval");
        QCOMPARE(interval->currentText(), QStringLiteral("150T"));
        QVERIFY(!interval->isEnabled());
        QVERIFY(!m_view->findChild<QCheckBox*>("showOnlySelected")->isEnabled());

        ConfigModel out = NewConfigModel();
        out.deviation_limits.fill(0);
        m_view->ExchangeWithModel(out, CFormPage::ToModel);
        for (int slot = 0; slot < kLimitSlots; ++slot) {
            QCOMPARE(out.deviation_limits[std::size_t(slot * 10)], quint8(0xFF));
            QCOMPARE(out.deviation_limits[std::size_t(slot * 10 + 1)], quint8(0xFF));
            QCOMPARE(out.deviation_limits[std::size_t(slot * 10 + 2)], quint8(0));
        }

        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(m_view->UpperEdit());
        QCOMPARE(access->text(QAccessible::Name), QStringLiteral("- верхний предел"));
        QCOMPARE(QAccessible::queryAccessibleInterface(tree)->text(QAccessible::Name), QStringLiteral("Анализируемые параметры:"));
    }

    // 48 chosen: a category of six gets its first two leaves and the count stops at 50; then
    // nothing unticked can be ticked.
    void capOfFifty()
    {
        for (int slot = 0; slot < 48; ++slot) {
            const ParameterId id = m_view->Selection().Leaves()[std::size_t(slot)].id;
            PutSlot(m_model, slot, quint8(id.code), id.phase, 1.0f, 0.0f);
        }
        Load();
        QCOMPARE(Count(), QStringLiteral("48"));
        QTreeWidgetItem* distortion = m_view->CategoryItem(15);
        QCOMPARE(distortion->childCount(), 6);
        ClickImage(distortion);
        QCOMPARE(Count(), QStringLiteral("50"));
        QCOMPARE(distortion->checkState(0), Qt::Checked);
        QCOMPARE(distortion->child(0)->checkState(0), Qt::Checked);
        QCOMPARE(distortion->child(1)->checkState(0), Qt::Checked);
        QCOMPARE(distortion->child(2)->checkState(0), Qt::Unchecked);
        QVERIFY(modelChanged().IsSet());

        modelChanged().Clear();
        ClickImage(distortion->child(3));
        ClickImage(m_view->CategoryItem(16));
        QCOMPARE(Count(), QStringLiteral("50"));
        QCOMPARE(distortion->child(3)->checkState(0), Qt::Unchecked);
        QCOMPARE(m_view->CategoryItem(16)->checkState(0), Qt::Unchecked);
        QVERIFY(!modelChanged().IsSet());

        // Unticking a leaf frees a place; the category stays ticked while a leaf is.
        ClickImage(distortion->child(0));
        QCOMPARE(Count(), QStringLiteral("49"));
        QCOMPARE(distortion->checkState(0), Qt::Checked);
        ClickImage(distortion);  // a ticked category unticks all of it
        QCOMPARE(Count(), QStringLiteral("48"));
        QCOMPARE(distortion->checkState(0), Qt::Unchecked);
        // A click beside the image only selects.
        QTest::mouseClick(m_view->Tree()->viewport(), Qt::LeftButton, {},
                          m_view->Tree()->visualItemRect(distortion->child(4)).center());
        QCOMPARE(distortion->child(4)->checkState(0), Qt::Unchecked);
        QCOMPARE(m_view->Tree()->currentItem(), distortion->child(4));

        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(m_view->Tree());
        QAccessibleInterface* first = tree->tableInterface()->cellAt(1, 0);  // first category
        QVERIFY(first->state().checkable);
        QVERIFY(first->state().checked);
    }

    void duplicatesAndUnknownCodes()
    {
        PutSlot(m_model, 3, 9, 0, 2.5f, 1.0f);
        PutSlot(m_model, 7, 9, 0, 2.5f, 1.0f);
        PutSlot(m_model, 9, 110, 0, 7.0f, 1.0f);
        Load();
        QCOMPARE(Count(), QStringLiteral("3"));
        QCOMPARE(TickedLeaves(), 1);
        QCOMPARE(m_view->LeafItem(LeafOf(*m_view, ParameterId{9, 0}))->checkState(0), Qt::Checked);
        m_view->ExchangeWithModel(m_model, CFormPage::ToModel);
        QCOMPARE(m_model.deviation_limits[0], quint8(9));
        QCOMPARE(m_model.deviation_limits[1], quint8(0));
        QCOMPARE(SlotUpper(m_model, 0), 2.5f);
        for (int slot = 1; slot < kLimitSlots; ++slot)
            QCOMPARE(m_model.deviation_limits[std::size_t(slot * 10)], quint8(0xFF));
    }

    void storeInTreeOrder()
    {
        PutSlot(m_model, 0, 107, 0, 0.2f, -0.2f);
        PutSlot(m_model, 1, 20, 4, 5.0f, 0.0f);
        PutSlot(m_model, 2, 115, 1, 240.0f, 220.0f);
        Load();
        m_view->ExchangeWithModel(m_model, CFormPage::ToModel);
        const quint8 expected[][2] = {{115, 1}, {20, 4}, {107, 0}};
        for (int slot = 0; slot < 3; ++slot) {
            QCOMPARE(m_model.deviation_limits[std::size_t(slot * 10)], expected[slot][0]);
            QCOMPARE(m_model.deviation_limits[std::size_t(slot * 10 + 1)], expected[slot][1]);
        }
        QCOMPARE(SlotUpper(m_model, 0), 240.0f);
    }

    void limitEdits()
    {
        PutSlot(m_model, 0, 9, 0, 1.2345f, -0.5f);
        Load();
        const int leaf = LeafOf(*m_view, ParameterId{9, 0});
        QCOMPARE(m_view->Selection().Leaves()[std::size_t(leaf)].upper, 1.2345f);

        // Selecting a leaf shows its limits, and what is shown is what it keeps.
        m_view->Tree()->setCurrentItem(m_view->LeafItem(leaf));
        QVERIFY(m_view->UpperEdit()->isEnabled());
        QCOMPARE(m_view->UpperEdit()->text(), QStringLiteral("1.23"));
        QCOMPARE(m_view->LowerEdit()->text(), QStringLiteral("-0.50"));
        QCOMPARE(m_view->Selection().Leaves()[std::size_t(leaf)].upper, 1.23f);
        QVERIFY(!modelChanged().IsSet());

        // Text that is not a number is 0; typing sets the flag and ticks nothing.
        m_view->UpperEdit()->selectAll();
        QTest::keyClicks(m_view->UpperEdit(), QStringLiteral("abc"));
        QCOMPARE(m_view->Selection().Leaves()[std::size_t(leaf)].upper, 0.0f);
        QVERIFY(modelChanged().IsSet());
        m_view->LowerEdit()->selectAll();
        QTest::keyClicks(m_view->LowerEdit(), QStringLiteral("-3.14159"));
        QCOMPARE(m_view->Selection().Leaves()[std::size_t(leaf)].lower, -3.14159f);

        // A category or the root empties and disables both edits and changes no record.
        m_view->Tree()->setCurrentItem(m_view->CategoryItem(2));
        QVERIFY(!m_view->UpperEdit()->isEnabled());
        QVERIFY(m_view->UpperEdit()->text().isEmpty());
        QCOMPARE(m_view->Selection().Leaves()[std::size_t(leaf)].lower, -3.14159f);
        m_view->Tree()->setCurrentItem(m_view->Tree()->topLevelItem(0));
        QVERIFY(!m_view->LowerEdit()->isEnabled());

        // An unticked leaf's limits are edited too but not stored.
        const int other = LeafOf(*m_view, ParameterId{106, 0});
        m_view->Tree()->setCurrentItem(m_view->LeafItem(other));
        m_view->UpperEdit()->selectAll();
        QTest::keyClicks(m_view->UpperEdit(), QStringLiteral("50.1"));
        QCOMPARE(m_view->LeafItem(other)->checkState(0), Qt::Unchecked);
        m_view->ExchangeWithModel(m_model, CFormPage::ToModel);
        QCOMPARE(SlotUpper(m_model, 0), 0.0f);
        QCOMPARE(m_model.deviation_limits[10], quint8(0xFF));

        // A load leaves nothing selected.
        Load();
        QVERIFY(!m_view->UpperEdit()->isEnabled());
    }

    // A block the page can show exactly (tree order, no repeats) goes out byte for byte.
    void loadThenStoreIsByteIdentical()
    {
        for (int i = 0; i < kDeviationLimitsSize; ++i)
            m_model.deviation_limits[std::size_t(i)] = quint8(i * 13 + 5);
        PutSlot(m_model, 0, 114, 0, 253.0f, 207.0f);
        PutSlot(m_model, 1, 9, 2, 1.2345f, 0.0f);
        PutSlot(m_model, 2, 106, 0, 50.2f, 49.8f);
        for (int slot = 3; slot < kLimitSlots; ++slot)
            m_model.deviation_limits[std::size_t(slot * 10)] = m_model.deviation_limits[std::size_t(slot * 10 + 1)] = 0xFF;
        const auto bytes = m_model.deviation_limits;
        Load();
        m_view->ExchangeWithModel(m_model, CFormPage::ToModel);
        QCOMPARE(m_model.deviation_limits, bytes);
    }
};

QTEST_MAIN(LimitPageTest)
#include "tst_limitpage.moc"
