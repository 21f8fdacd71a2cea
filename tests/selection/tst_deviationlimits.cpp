// The deviation page's working copy: loading counts every used slot, ticking keeps to 50, and
// a store writes the ticked leaves in tree order with the empty-slot marks after them.
#include "LimitSlots.h"
#include "selection/DeviationLimits.h"

#include <QTest>

namespace {

LimitsBlock Empty()
{
    LimitsBlock block;
    block.fill(0xFF);
    return block;
}

void PutSlot(LimitsBlock& block, int slot, quint8 code, quint8 phase, float upper, float lower)
{
    ::PutSlot(block.data(), slot, code, phase, upper, lower);
}

int LeafOf(const DeviationSelection& s, ParameterId id)
{
    for (std::size_t i = 0; i < s.Leaves().size(); ++i) {
        if (s.Leaves()[i].id == id)
            return int(i);
    }
    return -1;
}

int Ticked(const DeviationSelection& s)
{
    int n = 0;
    for (const LimitLeaf& leaf : s.Leaves())
        n += leaf.selected;
    return n;
}

// Ticks leaves from the start of the tree until count are chosen.
void TickFirst(DeviationSelection& s, int count)
{
    for (int i = 0; s.ChosenCount() < count; ++i)
        QVERIFY(s.ClickLeaf(i));
}

} // namespace

class DeviationLimitsTest : public QObject {
    Q_OBJECT
private slots:
    void newConfigurationChoosesNothing()
    {
        DeviationSelection s;
        s.Load(Empty());
        QCOMPARE(s.ChosenCount(), 0);
        QCOMPARE(Ticked(s), 0);
        LimitsBlock block{};
        s.Store(block);
        LimitsBlock expected{};
        for (int slot = 0; slot < kLimitSlots; ++slot)
            expected[std::size_t(slot * kLimitSlotSize)] = expected[std::size_t(slot * kLimitSlotSize + 1)] = 0xFF;
        QCOMPARE(block, expected);  // the limit bytes of empty slots stay as they were
    }

    void loadCountsEverySlot()
    {
        LimitsBlock block = Empty();
        PutSlot(block, 3, 9, 0, 5.5f, -1.0f);
        PutSlot(block, 7, 9, 0, 6.5f, -2.0f);   // the same parameter again: the later slot wins
        PutSlot(block, 10, 110, 0, 1.0f, 0.0f); // no such parameter
        PutSlot(block, 12, 106, 2, 1.0f, 0.0f); // a phase-less code with a phase names no leaf
        DeviationSelection s;
        s.Load(block);
        QCOMPARE(s.ChosenCount(), 4);
        QCOMPARE(Ticked(s), 1);
        const LimitLeaf& leaf = s.Leaves()[std::size_t(LeafOf(s, ParameterId{9, 0}))];
        QCOMPARE(leaf.selected, quint8(1));
        QCOMPARE(leaf.upper, 6.5f);
        QCOMPARE(leaf.lower, -2.0f);

        LimitsBlock stored = block;
        s.Store(stored);
        LimitsBlock expected = block;
        PutSlot(expected, 0, 9, 0, 6.5f, -2.0f);
        for (int slot = 1; slot < kLimitSlots; ++slot)
            expected[std::size_t(slot * kLimitSlotSize)] = expected[std::size_t(slot * kLimitSlotSize + 1)] = 0xFF;
        QCOMPARE(stored, expected);

        // A second load forgets what the first one chose.
        s.Load(Empty());
        QCOMPARE(s.ChosenCount(), 0);
        QCOMPARE(s.Leaves()[std::size_t(LeafOf(s, ParameterId{9, 0}))].upper, 0.0f);
    }

    void storeFollowsTreeOrder()
    {
        LimitsBlock block = Empty();
        PutSlot(block, 0, 107, 0, 0.2f, -0.2f);  // "Частота", the last category
        PutSlot(block, 1, 57, 5, 1.0f, 0.5f);    // interharmonic 1 of CA
        PutSlot(block, 2, 114, 0, 250.0f, 200.0f);  // first leaf of the tree
        PutSlot(block, 3, 4, 0, 3.0f, -3.0f);
        DeviationSelection s;
        s.Load(block);
        LimitsBlock stored = Empty();
        s.Store(stored);
        LimitsBlock expected = Empty();
        PutSlot(expected, 0, 114, 0, 250.0f, 200.0f);
        PutSlot(expected, 1, 4, 0, 3.0f, -3.0f);
        PutSlot(expected, 2, 57, 5, 1.0f, 0.5f);
        PutSlot(expected, 3, 107, 0, 0.2f, -0.2f);
        QCOMPARE(stored, expected);
    }

    void tickingRules_data()
    {
        QTest::addColumn<int>("chosenBefore");
        QTest::addColumn<QString>("click");   // "leaf" or "category"
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("chosenAfter");
        QTest::addColumn<int>("tickedInCategory");
        // Category 15 ("Коэффициенты искажения синусоидальности") has 6 leaves; the first 48
        // leaves of the tree lie in categories 0..2.
        QTest::newRow("48 chosen, 6-leaf category") << 48 << "category" << 15 << true << 50 << 2;
        QTest::newRow("50 chosen, category") << 50 << "category" << 15 << false << 50 << 0;
        QTest::newRow("50 chosen, leaf") << 50 << "leaf" << 630 << false << 50 << 0;
        QTest::newRow("unticked leaf") << 3 << "leaf" << 630 << true << 4 << 1;
        QTest::newRow("unticked category") << 0 << "category" << 15 << true << 6 << 6;
    }
    void tickingRules()
    {
        QFETCH(int, chosenBefore);
        QFETCH(QString, click);
        QFETCH(int, index);
        QFETCH(bool, changed);
        QFETCH(int, chosenAfter);
        QFETCH(int, tickedInCategory);
        DeviationSelection s;
        TickFirst(s, chosenBefore);
        const bool result = click == QLatin1String("leaf") ? s.ClickLeaf(index) : s.ClickCategory(index);
        QCOMPARE(result, changed);
        QCOMPARE(s.ChosenCount(), chosenAfter);
        int ticked = 0;
        for (int i = s.FirstLeaf(15); i < s.EndLeaf(15); ++i)
            ticked += s.Leaves()[std::size_t(i)].selected;
        QCOMPARE(ticked, tickedInCategory);
        QCOMPARE(s.CategoryTicked(15), tickedInCategory > 0);
        if (tickedInCategory == 2) {  // the first two, in order
            QVERIFY(s.Leaves()[std::size_t(s.FirstLeaf(15))].selected);
            QVERIFY(s.Leaves()[std::size_t(s.FirstLeaf(15) + 1)].selected);
        }
    }

    void untickingLeafAndCategory()
    {
        DeviationSelection s;
        const int first = s.FirstLeaf(1);
        QVERIFY(s.ClickLeaf(first));
        QVERIFY(s.ClickLeaf(first + 3));
        QVERIFY(s.ClickLeaf(first));
        QVERIFY(s.CategoryTicked(1));
        QVERIFY(s.ClickLeaf(first + 3));
        QVERIFY(!s.CategoryTicked(1));
        QCOMPARE(s.ChosenCount(), 0);

        QVERIFY(s.ClickLeaf(first + 2));
        QVERIFY(s.ClickLeaf(first + 5));
        QVERIFY(s.ClickCategory(1));  // a ticked category unticks its leaves
        QCOMPARE(s.ChosenCount(), 0);
        QVERIFY(!s.CategoryTicked(1));
        QCOMPARE(s.CategoryOf(first + 24), 1);
        QCOMPARE(s.CategoryOf(first + 25), 2);
    }

    void limitsAreSinglePrecision()
    {
        DeviationSelection s;
        s.SetUpper(5, 1.23);
        QCOMPARE(s.Leaves()[5].upper, 1.23f);
        s.SetLower(5, 0.1);
        QCOMPARE(s.Leaves()[5].lower, float(0.1));
    }
};

QTEST_GUILESS_MAIN(DeviationLimitsTest)
#include "tst_deviationlimits.moc"
