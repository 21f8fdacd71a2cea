// The group list as the page edits it: insert a block after a position, cut, copy, paste,
// delete, the rows shown, the store with its zero fill and the records it cannot show
// exactly; and the check rule of the add-parameter tree.
#include "model/ConfigModel.h"
#include "selection/GroupList.h"

#include <QTest>

namespace {

ParameterId P(quint16 code, quint8 phase = 0) { return ParameterId{code, phase, 0}; }

// A list of harmonics named by their codes, to read tables easily.
QList<ParameterId> Codes(std::initializer_list<int> codes)
{
    QList<ParameterId> out;
    for (int c : codes)
        out.append(P(quint16(c)));
    return out;
}

std::array<ParameterGroupRecord, kGroupCount> Records(const QList<ParameterId>& first)
{
    std::array<ParameterGroupRecord, kGroupCount> records{};
    for (int g = 0; g < kGroupCount; ++g)
        records[size_t(g)].SetNameText(QByteArray("G") + QByteArray::number(g + 1));
    records[0].count = quint16(first.size());
    std::copy(first.cbegin(), first.cend(), records[0].parameters.begin());
    return records;
}

QByteArray RecordBytes(const ParameterGroupRecord& record) { return record.ToBytes(); }

} // namespace

class GroupListTest : public QObject {
    Q_OBJECT
private slots:
    void edits_data()
    {
        QTest::addColumn<QList<ParameterId>>("start");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<ParameterId>>("block");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QList<ParameterId>>("result");

        const auto abc = Codes({8, 9, 10});
        QTest::newRow("insert at the front") << abc << "insert" << -1 << Codes({20, 21}) << true << Codes({20, 21, 8, 9, 10});
        QTest::newRow("insert behind the first") << abc << "insert" << 0 << Codes({20, 21}) << true << Codes({8, 20, 21, 9, 10});
        QTest::newRow("insert behind the last") << abc << "insert" << 2 << Codes({20}) << true << Codes({8, 9, 10, 20});
        QTest::newRow("insert nothing") << abc << "insert" << 1 << Codes({}) << true << abc;
        QTest::newRow("insert into an empty group") << Codes({}) << "insert" << -1 << Codes({20, 21}) << true << Codes({20, 21});
        QTest::newRow("same parameter twice") << abc << "insert" << 0 << Codes({8}) << true << Codes({8, 8, 9, 10});
        QTest::newRow("delete the middle") << abc << "delete" << 1 << Codes({}) << true << Codes({8, 10});
        QTest::newRow("delete the last one") << Codes({8}) << "delete" << 0 << Codes({}) << true << Codes({});
        QTest::newRow("delete past the end") << abc << "delete" << 3 << Codes({}) << false << abc;
        QTest::newRow("delete on a group row") << abc << "delete" << -1 << Codes({}) << false << abc;
        QTest::newRow("cut") << abc << "cut" << 0 << Codes({}) << true << Codes({9, 10});
        QTest::newRow("copy leaves the list") << abc << "copy" << 2 << Codes({}) << true << abc;
    }
    void edits()
    {
        QFETCH(QList<ParameterId>, start);
        QFETCH(QString, operation);
        QFETCH(int, index);
        QFETCH(QList<ParameterId>, block);
        QFETCH(bool, done);
        QFETCH(QList<ParameterId>, result);
        GroupList list;
        list.Load(Records(start));
        bool ok = false;
        if (operation == QLatin1String("insert"))
            ok = list.InsertAfter(0, index, block) == block.size();
        else if (operation == QLatin1String("delete"))
            ok = list.Delete(0, index);
        else if (operation == QLatin1String("cut"))
            ok = list.Cut(0, index);
        else
            ok = list.Copy(0, index);
        QCOMPARE(ok, done);
        QCOMPARE(list.Group(0).parameters, result);
        QCOMPARE(list.Group(0).edited, done && operation != QLatin1String("copy"));
    }

    void clipboardAndPaste()
    {
        GroupList list;
        list.Load(Records(Codes({8, 9, 10})));
        QVERIFY(!list.HasClipboard());
        QVERIFY(!list.Paste(0, -1));  // nothing copied yet
        QVERIFY(list.Cut(0, 2));
        QCOMPARE(list.Clipboard(), std::optional<ParameterId>(P(10)));
        QVERIFY(list.Paste(2, -1));   // onto group 3's row: first in group 3
        QVERIFY(list.Paste(2, 0));    // the clipboard keeps its parameter
        QCOMPARE(list.Group(2).parameters, Codes({10, 10}));
        QVERIFY(list.Group(2).expanded);

        // A full group takes nothing, and a block is cut to the free slots.
        QList<ParameterId> fifty;
        for (int i = 0; i < 50; ++i)
            fifty.append(P(8, quint8(i % 6)));
        list.Load(Records(fifty.first(48)));
        QCOMPARE(list.FreeSlots(0), 2);
        QCOMPARE(list.InsertAfter(0, -1, Codes({20, 21, 22})), 2);
        QCOMPARE(list.Group(0).parameters.first(2), Codes({20, 21}));
        QVERIFY(list.Copy(0, 0));
        QVERIFY(!list.Paste(0, 0));
        QCOMPARE(list.Group(0).parameters.size(), 50);
    }

    void rowsAndExpansion()
    {
        // Code 110 has no catalogue entry: no row, and the numbers count only the rows shown.
        GroupList list;
        list.Load(Records({P(8), P(110), P(9)}));
        QCOMPARE(list.Rows().size(), 6);
        QVERIFY(list.ToggleExpanded(0));
        const QList<GroupRow> expected{{0, -1, 0}, {0, 0, 1}, {0, 2, 2}, {1, -1, 0}, {2, -1, 0},
                                       {3, -1, 0}, {4, -1, 0}, {5, -1, 0}};
        QCOMPARE(list.Rows(), expected);
        QVERIFY(!list.ToggleExpanded(1));  // an empty group does not expand
        QVERIFY(list.ToggleExpanded(0));
        QCOMPARE(list.Rows().size(), 6);

        // Adding nothing to a collapsed group expands it; deleting its last entry collapses it.
        list.Load(Records(Codes({8})));
        list.InsertAfter(0, -1, {});
        QVERIFY(list.Group(0).expanded);
        QVERIFY(list.Delete(0, 0));
        QVERIFY(!list.Group(0).expanded);
        QVERIFY(!list.ToggleExpanded(0));
        QCOMPARE(list.Rows().size(), 6);
    }

    void store_data()
    {
        QTest::addColumn<QByteArray>("before");      // the model's record before the store
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QByteArray>("after");

        ParameterGroupRecord three;
        three.SetNameText("Three");
        three.count = 3;
        three.parameters[0] = P(8);
        three.parameters[1] = P(9, 3);
        three.parameters[2] = P(114, 5);
        QByteArray threeBytes = RecordBytes(three);

        // Junk after the count is zeroed; bytes after the name's zero byte stay.
        ParameterGroupRecord junk = three;
        junk.parameters[3] = P(77, 1);
        junk.parameters[49] = P(1, 1);
        junk.name[10] = 'x';
        ParameterGroupRecord junkStored = three;
        junkStored.name[10] = 'x';
        QTest::newRow("three ids, 188 zero bytes") << threeBytes << "" << threeBytes;
        QTest::newRow("junk slots zeroed, name tail kept") << RecordBytes(junk) << "" << RecordBytes(junkStored);

        ParameterGroupRecord renamed = junkStored;
        std::memcpy(renamed.name.data(), "AB\0", 3);
        QTest::newRow("shorter name over the old bytes") << RecordBytes(junk) << "rename AB" << RecordBytes(renamed);

        // Records the page cannot show exactly stay byte for byte until their group is edited.
        ParameterGroupRecord over = three;
        over.count = 60;
        for (int i = 0; i < 50; ++i)
            over.parameters[size_t(i)] = P(quint16(8 + i % 49), quint8(i % 6));
        std::memcpy(over.name.data(), "ABCDEFGHIJKLMNOP", 16);
        QTest::newRow("count 60 and no zero byte, untouched") << RecordBytes(over) << "" << RecordBytes(over);
        ParameterGroupRecord overStored = over;
        overStored.count = 49;
        std::copy(over.parameters.begin() + 1, over.parameters.end(), overStored.parameters.begin());
        overStored.parameters[49] = ParameterId{};
        overStored.name[15] = 0;
        QTest::newRow("count 60, first deleted") << RecordBytes(over) << "delete 0" << RecordBytes(overStored);
    }
    void store()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, edit);
        QFETCH(QByteArray, after);
        std::array<ParameterGroupRecord, kGroupCount> records = Records({});
        records[1] = ParameterGroupRecord::FromBytes(before);
        GroupList list;
        list.Load(records);
        QVERIFY(list.Group(1).parameters.size() <= 50);
        QVERIFY(list.Group(1).name.size() <= 15);
        if (edit.startsWith(QLatin1String("rename ")))
            list.Rename(1, edit.mid(7).toLatin1());
        else if (edit.startsWith(QLatin1String("delete ")))
            QVERIFY(list.Delete(1, edit.mid(7).toInt()));
        std::array<ParameterGroupRecord, kGroupCount> stored = records;
        list.Store(stored);
        QCOMPARE(RecordBytes(stored[1]).toHex(), after.toHex());
        QCOMPARE(RecordBytes(stored[0]), RecordBytes(records[0]));
    }

    void treeChecks()
    {
        ParameterTreeChecks checks;
        const QList<ParameterCategory>& tree = ParameterTree();
        checks.SetLeaf(2, 5, true);          // a leaf checks its category
        QVERIFY(checks.CategoryChecked(2));
        checks.SetLeaf(2, 7, true);
        checks.SetLeaf(2, 5, false);         // another leaf is still checked
        QVERIFY(checks.CategoryChecked(2));
        checks.SetLeaf(2, 7, false);         // the last one clears it
        QVERIFY(!checks.CategoryChecked(2));

        checks.SetCategory(16, true);        // "Частота": both leaves
        checks.SetLeaf(0, 14, true);         // U2
        QCOMPARE(checks.Checked(), (QList<ParameterId>{P(118), P(106), P(107)}));
        checks.SetCategory(16, false);
        QCOMPARE(checks.Checked(), QList<ParameterId>{P(118)});
        checks.SetCategory(3, true);
        QCOMPARE(checks.Checked().size(), 50);
        QCOMPARE(checks.Checked().last(), tree[3].leaves.last());

        QCOMPARE(FirstThatFit(Codes({8, 9, 10}), 2), Codes({8, 9}));
        QCOMPARE(FirstThatFit(Codes({8, 9, 10}), 0), Codes({}));
        QCOMPARE(FirstThatFit(Codes({8}), 5), Codes({8}));
    }
};

QTEST_GUILESS_MAIN(GroupListTest)
#include "tst_grouplist.moc"
