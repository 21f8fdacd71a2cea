// The archive selection's rules: which bit each grid cell stands for, what each click does to
// the bits, the record sizes and depth texts, the unused bits a store keeps, and the
// three-wire clearing and restoring of phases A, B and C.
#include "model/ConfigModel.h"
#include "selection/ArchiveMask.h"

#include <QTest>

Q_DECLARE_METATYPE(ArchiveKind)

namespace {

constexpr quint64 kAll = ~quint64(0);

ArchiveMarks AllMarked() { return {kAll, kAll}; }

quint64 Bit(int b) { return quint64(1) << b; }

} // namespace

class ArchiveMaskTest : public QObject {
    Q_OBJECT
private slots:
    void cellBits_data()
    {
        QTest::addColumn<ArchiveKind>("kind");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("word");  // -1: no choice
        QTest::addColumn<int>("bit");
        const auto M = ArchiveKind::Minute, T = ArchiveKind::TenMinute, D = ArchiveKind::Day;
        QTest::newRow("phase A") << M << "phase" << 1 << 1 << 0 << 0;
        QTest::newRow("phase CA") << M << "phase" << 1 << 6 << 0 << 5;
        QTest::newRow("δU") << T << "quantity" << 0 << 1 << 0 << 6;
        QTest::newRow("Ku") << T << "quantity" << 1 << 1 << 0 << 10;
        QTest::newRow("K0u") << T << "quantity" << 2 << 1 << 0 << 61;
        QTest::newRow("K2u") << T << "quantity" << 3 << 1 << 0 << 62;
        QTest::newRow("δU1") << T << "quantity" << 4 << 1 << 0 << 60;
        QTest::newRow("δU(1)") << T << "quantity" << 5 << 1 << 0 << 7;
        QTest::newRow("δU(-)") << T << "quantity" << 7 << 1 << 0 << 9;
        QTest::newRow("flicker") << T << "quantity" << 8 << 1 << 1 << 49;
        QTest::newRow("day idle time") << D << "quantity" << 15 << 1 << 1 << 56;
        QTest::newRow("no row 9 on the 10-minute page") << T << "quantity" << 9 << 1 << -1 << 0;
        QTest::newRow("minute: column 1 is order 2") << M << "harmonic" << 1 << 1 << 0 << 11;
        QTest::newRow("minute: column 49 is order 50") << M << "harmonic" << 1 << 49 << 0 << 59;
        QTest::newRow("minute: no second row") << M << "harmonic" << 2 << 1 << -1 << 0;
        QTest::newRow("order 2 in column 2") << T << "harmonic" << 1 << 2 << 0 << 11;
        QTest::newRow("order 50 in column 50") << D << "harmonic" << 1 << 50 << 0 << 59;
        QTest::newRow("(1, 1) holds nothing") << T << "harmonic" << 1 << 1 << -1 << 0;
        QTest::newRow("interharmonic 1") << T << "harmonic" << 2 << 1 << 1 << 0;
        QTest::newRow("interharmonic 49") << D << "harmonic" << 2 << 49 << 1 << 48;
        QTest::newRow("(2, 50) holds nothing") << T << "harmonic" << 2 << 50 << -1 << 0;
    }
    void cellBits()
    {
        QFETCH(ArchiveKind, kind);
        QFETCH(QString, grid);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, word);
        QFETCH(int, bit);
        std::optional<ArchiveBit> found;
        if (grid == QLatin1String("phase"))
            found = PhaseCellBit(column);
        else if (grid == QLatin1String("quantity"))
            found = QuantityRowBit(kind, row);
        else
            found = HarmonicCellBit(kind, row, column);
        if (word < 0)
            QVERIFY(!found);
        else
            QCOMPARE(found, (std::optional<ArchiveBit>(ArchiveBit{word, bit})));
    }

    // Clicks from a starting state to the bits after it (only the words shown are compared).
    void clicks_data()
    {
        QTest::addColumn<ArchiveKind>("kind");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<quint64>("q0");
        QTest::addColumn<quint64>("q1");
        QTest::addColumn<quint64>("q0After");
        QTest::addColumn<quint64>("q1After");
        QTest::addColumn<bool>("changed");
        const auto M = ArchiveKind::Minute, T = ArchiveKind::TenMinute, D = ArchiveKind::Day;
        const quint64 all = kAll;
        QTest::newRow("phase header toggles") << M << "phase" << 0 << 2 << all << 0ull << (all & ~Bit(1)) << 0ull << true;
        QTest::newRow("phase mark toggles") << M << "phase" << 1 << 2 << 0ull << 0ull << Bit(1) << 0ull << true;
        QTest::newRow("caption clears all when A is marked")
            << M << "phase" << 1 << 0 << quint64(0x01) << 0ull << 0ull << 0ull << true;
        QTest::newRow("caption marks all when A is not")
            << M << "phase" << 1 << 0 << quint64(0x3E) << 0ull << quint64(0x3F) << 0ull << true;
        QTest::newRow("corner does nothing") << M << "phase" << 0 << 0 << all << 0ull << all << 0ull << false;
        QTest::newRow("quantity row toggles") << D << "quantity" << 13 << 0 << 0ull << 0ull << 0ull << Bit(54) << true;
        QTest::newRow("column header clears both")
            << T << "harmonic" << 0 << 5 << all << all << (all & ~Bit(14)) << (all & ~Bit(4)) << true;
        QTest::newRow("column header marks both when the first is clear")
            << T << "harmonic" << 0 << 5 << (all & ~Bit(14)) << 0ull << all << Bit(4) << true;
        QTest::newRow("column 1 header does nothing") << T << "harmonic" << 0 << 1 << all << all << all << all << false;
        QTest::newRow("column 50 header: harmonic only")
            << T << "harmonic" << 0 << 50 << all << all << (all & ~Bit(59)) << all << true;
        QTest::newRow("minute column header: one row")
            << M << "harmonic" << 0 << 1 << all << 0ull << (all & ~Bit(11)) << 0ull << true;
        // On the minute page column 2 is order 3: order 2 being clear does not decide.
        QTest::newRow("minute caption decided by order 3")
            << M << "harmonic" << 1 << 0 << (all & ~Bit(11)) << 0ull << (all & ~(Bit(60) - Bit(11))) << 0ull << true;
        QTest::newRow("minute caption marks when order 3 is clear")
            << M << "harmonic" << 1 << 0 << (all & ~Bit(12)) << 0ull << all << 0ull << true;
        QTest::newRow("harmonic caption decided by order 2")
            << T << "harmonic" << 1 << 0 << (all & ~Bit(11)) << 0ull << all << 0ull << true;
        QTest::newRow("interharmonic caption clears the row")
            << D << "harmonic" << 2 << 0 << 0ull << all << 0ull << (all & ~(Bit(49) - 1)) << true;
        QTest::newRow("no-choice cell") << T << "harmonic" << 2 << 50 << 0ull << 0ull << 0ull << 0ull << false;
        QTest::newRow("data cell toggles") << T << "harmonic" << 2 << 3 << 0ull << 0ull << 0ull << Bit(2) << true;
    }
    void clicks()
    {
        QFETCH(ArchiveKind, kind);
        QFETCH(QString, grid);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(quint64, q0);
        QFETCH(quint64, q1);
        QFETCH(quint64, q0After);
        QFETCH(quint64, q1After);
        QFETCH(bool, changed);
        ArchiveMarks marks{q0, q1};
        bool result = false;
        if (grid == QLatin1String("phase"))
            result = ClickPhaseGrid(marks, row, column);
        else if (grid == QLatin1String("quantity"))
            result = ClickQuantityList(marks, kind, row);
        else
            result = ClickHarmonicGrid(marks, kind, row, column);
        QCOMPARE(result, changed);
        QCOMPARE(marks.q0, q0After);
        QCOMPARE(marks.q1, q1After);
    }

    void depth_data()
    {
        QTest::addColumn<ArchiveKind>("kind");
        QTest::addColumn<quint64>("q0");
        QTest::addColumn<quint64>("q1");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("label");
        const auto M = ArchiveKind::Minute;
        QTest::newRow("minute, all") << M << kAll << kAll << 688 << "Глубина хранения:9 дн.";
        QTest::newRow("10 minutes, all") << ArchiveKind::TenMinute << kAll << kAll << 1288 << "Глубина хранения: 9 дн.";
        QTest::newRow("2 hours, all") << ArchiveKind::TwoHour << kAll << kAll << 1288 << "Глубина хранения: 31 дн.";
        QTest::newRow("day, all") << ArchiveKind::Day << kAll << kAll << 5568 << "Глубина хранения: 105 дн. / 441 дн.";
        QTest::newRow("nothing") << M << 0ull << 0ull << 28 << "Глубина хранения:0 дн.";
        QTest::newRow("no phase: phase factors do not count")
            << M << (kAll & ~quint64(0x3F) & ~(Bit(60) | Bit(61) | Bit(62))) << 0ull << 28 << "Глубина хранения:0 дн.";
        QTest::newRow("day, nothing") << ArchiveKind::Day << 0ull << 0ull << 28 << "Глубина хранения: 0 дн. / 0 дн.";
        QTest::newRow("only K0u") << M << Bit(61) << 0ull << 30 << "Глубина хранения:211 дн.";
        // 28 + 6 * (1 + 2 * 54) on the 2-hour page: 486400 div 682 = 713 records of 2 hours.
        QTest::newRow("2 hours, no interharmonics, no flicker")
            << ArchiveKind::TwoHour << (kAll & ~(Bit(60) | Bit(61) | Bit(62))) << 0ull << 682 << "Глубина хранения: 59 дн.";
    }
    void depth()
    {
        QFETCH(ArchiveKind, kind);
        QFETCH(quint64, q0);
        QFETCH(quint64, q1);
        QFETCH(int, size);
        QFETCH(QString, label);
        QCOMPARE(ArchiveRecordSize(kind, ArchiveMarks{q0, q1}), size);
        QCOMPARE(StorageDepthLabel(kind, ArchiveMarks{q0, q1}), label);
    }

    void depthText_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<qint64>("capacity");
        QTest::addColumn<qint64>("interval");
        QTest::addColumn<QString>("text");
        QTest::newRow("size 28 is no record") << 28 << 9143296LL << 60LL << "0 дн.";
        QTest::newRow("whole days") << 688 << 9143296LL << 60LL << "9 дн.";
        QTest::newRow("under a day: hours") << 1000 << 1000000LL << 60LL << "16 час.";
        QTest::newRow("under an hour") << 1000 << 10000LL << 60LL << "0 час.";
        QTest::newRow("larger than the store") << 2000 << 1000LL << 60LL << "0 дн.";
    }
    void depthText()
    {
        QFETCH(int, size);
        QFETCH(qint64, capacity);
        QFETCH(qint64, interval);
        QFETCH(QString, text);
        QCOMPARE(StorageDepthText(size, ArchiveStore{capacity, interval}), text);
    }

    // Loading and storing move the used bits only: a new configuration keeps its unused bits set,
    // and cleared unused bits stay clear whatever the page holds.
    void storeKeepsUnusedBits()
    {
        ConfigModel model = NewConfigModel();
        const auto before = model.archive_mask;
        for (int k = 0; k < kArchiveKinds; ++k)
            StoreMarksIntoModel(ArchiveMarks{}, ArchiveKind(k), model);
        ConfigModel cleared = NewConfigModel();
        cleared.archive_mask.fill(0);
        std::array<quint8, kArchiveMaskSize> expected{};
        expected[7] = 0x80;                  // minute Q0 bit 63
        expected[8 + 7] = 0x80;              // 10-minute Q0 bit 63
        expected[8 + 14] = 0xFC;             // Q1 bits 50..55
        expected[8 + 15] = 0xFF;             // Q1 bits 56..63
        expected[24 + 7] = 0x80;
        expected[24 + 14] = 0xFC;
        expected[24 + 15] = 0xFF;
        expected[40 + 7] = 0x80;
        expected[40 + 15] = 0xFE;            // day Q1 bits 57..63
        QCOMPARE(model.archive_mask, expected);

        for (int k = 0; k < kArchiveKinds; ++k)
            StoreMarksIntoModel(AllMarked(), ArchiveKind(k), cleared);
        for (int k = 0; k < kArchiveKinds; ++k)
            StoreMarksIntoModel(AllMarked(), ArchiveKind(k), model);
        QCOMPARE(model.archive_mask, before);
        for (std::size_t i = 0; i < expected.size(); ++i)
            QCOMPARE(quint8(cleared.archive_mask[i] & expected[i]), quint8(0));

        // The minute record is 8 bytes: its page-only row never reaches the 10-minute record.
        ConfigModel m = NewConfigModel();
        m.archive_mask.fill(0);
        StoreMarksIntoModel(ArchiveMarks{0, kAll}, ArchiveKind::Minute, m);
        QCOMPARE(MarksFromModel(m, ArchiveKind::TenMinute), ArchiveMarks{});
        QCOMPARE(MarksFromModel(NewConfigModel(), ArchiveKind::Day), AllMarked());
    }

    void threeWireClearThenRestore()
    {
        std::array<ArchiveMarks, kArchiveKinds> pages{ArchiveMarks{0x3F}, ArchiveMarks{0x05}, ArchiveMarks{0x3A}, ArchiveMarks{0}};
        const auto original = pages;
        ArchivePhaseMemory memory = InitialArchivePhaseMemory();
        QVERIFY(ApplyArchivePhaseAction(ArchivePhaseAction::Clear, pages, memory));
        const std::array<ArchiveMarks, kArchiveKinds> cleared{ArchiveMarks{0x38}, ArchiveMarks{0}, ArchiveMarks{0x38},
                                                              ArchiveMarks{0}};
        QCOMPARE(pages, cleared);
        QVERIFY(ApplyArchivePhaseAction(ArchivePhaseAction::Restore, pages, memory));
        QCOMPARE(pages, original);
        QVERIFY(!ApplyArchivePhaseAction(ArchivePhaseAction::None, pages, memory));
        QCOMPARE(pages, original);
    }

    void restoreWithoutClearMarksThreePhasesEverywhere()
    {
        std::array<ArchiveMarks, kArchiveKinds> pages{ArchiveMarks{0x08, 7}, ArchiveMarks{}, ArchiveMarks{0x01},
                                                      ArchiveMarks{0x07}};
        ArchivePhaseMemory memory = InitialArchivePhaseMemory();
        QVERIFY(ApplyArchivePhaseAction(ArchivePhaseAction::Restore, pages, memory));
        const std::array<ArchiveMarks, kArchiveKinds> restored{ArchiveMarks{0x0F, 7}, ArchiveMarks{0x07}, ArchiveMarks{0x07},
                                                               ArchiveMarks{0x07}};
        QCOMPARE(pages, restored);
    }
};

QTEST_GUILESS_MAIN(ArchiveMaskTest)
#include "tst_archivemask.moc"
