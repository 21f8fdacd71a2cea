#include "selection/ParameterCatalogue.h"

#include <QSet>
#include <QTest>

class TestParameterCatalogue : public QObject {
    Q_OBJECT

private slots:
    void composedTexts_data();
    void composedTexts();
    void orders_data();
    void orders();
    void codesWithoutEntry();
    void phaselessCodesIgnoreThePhaseByte();
    void greekDesignations();
    void identifierBytes();
    void treeShape();
    void treeTitlesMixLetters();
    void treeLeavesAreDistinct();
};

void TestParameterCatalogue::composedTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("phase");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("designation");   // Unicode form

    QTest::newRow("0/A") << 0 << 0 << "Отклонение напряжения фазы A" << "δU A";
    QTest::newRow("9/AB") << 9 << 3 << "Коэффициент гармоники 3 фазы AB" << "Ku3 AB";
    QTest::newRow("57/CA") << 57 << 5 << "Коэффициент интергармоники 1 фазы CA" << "Kuig1 CA";
    QTest::newRow("4") << 4 << 0 << "Отклонение напряжения прямой последовательности" << "δU1";
    QTest::newRow("117") << 117 << 0 << "U1" << "U1";
    QTest::newRow("106") << 106 << 0 << "Значение частоты" << "f";
    QTest::newRow("20/BC") << 20 << 4 << "Коэффициент гармоники 14 фазы BC" << "Ku14 BC";
    QTest::newRow("7/A total distortion") << 7 << 0 << "Коэффициент искажения фазы A" << "Ku A";
    QTest::newRow("8/A first harmonic") << 8 << 0 << "Коэффициент гармоники 2 фазы A" << "Ku2 A";
    QTest::newRow("3/C") << 3 << 2 << "Отрицательное отклонение напряжения фазы C" << "δU(-) C";
    QTest::newRow("107") << 107 << 0 << "Отклонение частоты" << "δf";
    QTest::newRow("115/B") << 115 << 1 << "Установившееся значение напряжения фазы B" << "U(1) B";
    QTest::newRow("105/C last interharmonic") << 105 << 2 << "Коэффициент интергармоники 49 фазы C" << "Kuig49 C";
    QTest::newRow("phase byte 9") << 114 << 9 << "Значение напряжения фазы 9" << "U 9";
}

void TestParameterCatalogue::composedTexts()
{
    QFETCH(int, code);
    QFETCH(int, phase);
    QFETCH(QString, name);
    QFETCH(QString, designation);
    const ParameterId id{quint16(code), quint8(phase), 0};
    QVERIFY(CatalogueEntryFor(id.code));
    QCOMPARE(ParameterName(id), name);
    QCOMPARE(ParameterDesignation(id), designation);
}

void TestParameterCatalogue::orders_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("order");
    QTest::newRow("7 total") << 7 << 0;
    QTest::newRow("8 first harmonic") << 8 << 2;
    QTest::newRow("56 last harmonic") << 56 << 50;
    QTest::newRow("57 first interharmonic") << 57 << 1;
    QTest::newRow("105 last interharmonic") << 105 << 49;
    QTest::newRow("106") << 106 << 0;
    QTest::newRow("0") << 0 << 0;
}

void TestParameterCatalogue::orders()
{
    QFETCH(int, code);
    QFETCH(int, order);
    QCOMPARE(int(HarmonicOrderOf(quint16(code))), order);
}

void TestParameterCatalogue::codesWithoutEntry()
{
    for (int code : {108, 109, 110, 111, 112, 113, 119, 255, 65535}) {
        QVERIFY2(!CatalogueEntryFor(quint16(code)), qPrintable(QString::number(code)));
        QVERIFY(ParameterName(ParameterId{quint16(code), 0, 0}).isEmpty());
        QVERIFY(ParameterDesignation(ParameterId{quint16(code), 0, 0}).isEmpty());
    }
    int withEntry = 0;
    for (int code = 0; code < 256; ++code)
        withEntry += CatalogueEntryFor(quint16(code)) ? 1 : 0;
    QCOMPARE(withEntry, 119 - 6);
}

void TestParameterCatalogue::phaselessCodesIgnoreThePhaseByte()
{
    for (int code : {4, 5, 6, 106, 107, 116, 117, 118}) {
        const ParameterId plain{quint16(code), 0, 0};
        const ParameterId odd{quint16(code), 4, 0};
        QVERIFY(!PhaseLabelOf(odd));
        QCOMPARE(ParameterName(odd), ParameterName(plain));
        QCOMPARE(ParameterDesignation(odd), ParameterDesignation(plain));
    }
    QCOMPARE(PhaseLabelOf(ParameterId{0, 5, 0}).value(), QStringLiteral("CA"));
}

void TestParameterCatalogue::greekDesignations()
{
    // The 8-bit form keeps the byte 0xE4 the Greek-charset font draws as δ; entries without
    // the flag never get a δ.
    QCOMPARE(ParameterDesignation8Bit(ParameterId{1, 1, 0}), QByteArray("\xE4U(1) B"));
    QCOMPARE(ParameterDesignation8Bit(ParameterId{107, 0, 0}), QByteArray("\xE4" "f"));
    QCOMPARE(ParameterDesignation8Bit(ParameterId{57, 0, 0}), QByteArray("Kuig1 A"));
    QCOMPARE(CatalogueEntryFor(106)->greekDesignation, false);
    QCOMPARE(CatalogueEntryFor(114)->greekDesignation, false);
    QCOMPARE(CatalogueEntryFor(116)->greekDesignation, true);
    QCOMPARE(CatalogueEntryFor(2)->designation, QStringLiteral("дU(+)"));
}

void TestParameterCatalogue::identifierBytes()
{
    const ParameterId id{20, 4, 0};
    QCOMPARE(id.ToUInt32(), quint32(20 + 65536 * 4));
    QCOMPARE(ParameterId::FromUInt32(0x01020014), (ParameterId{20, 2, 1}));
}

void TestParameterCatalogue::treeShape()
{
    const QList<ParameterCategory>& tree = ParameterTree();
    QCOMPARE(tree.size(), 17);
    const QList<int> counts = {15, 25, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 49, 2, 6, 2};
    for (int i = 0; i < tree.size(); ++i)
        QCOMPARE(tree[i].leaves.size(), counts[i]);

    // Code 0..3 leaves: all six phases of one code before the next code.
    const QList<ParameterId>& deviations = tree[1].leaves;
    QCOMPARE(deviations[5], (ParameterId{0, 5, 0}));
    QCOMPARE(deviations[6], (ParameterId{1, 0, 0}));
    QCOMPARE(deviations[24], (ParameterId{4, 0, 0}));
    QCOMPARE(tree[0].leaves.last(), (ParameterId{118, 0, 0}));
    QCOMPARE(tree[7].leaves.first(), (ParameterId{8, 5, 0}));
    QCOMPARE(tree[13].leaves.last(), (ParameterId{105, 5, 0}));
    QCOMPARE(tree[14].leaves, (QList<ParameterId>{{5, 0, 0}, {6, 0, 0}}));
    QCOMPARE(tree[16].leaves, (QList<ParameterId>{{106, 0, 0}, {107, 0, 0}}));
}

void TestParameterCatalogue::treeTitlesMixLetters()
{
    // "А" in the phase suffixes is Cyrillic (U+0410); "B" and "C" are Latin.
    const QStringList expected = {
        QStringLiteral("Значения напряжения"),
        QStringLiteral("Отклонения напряжения"),
        QStringLiteral("Коэффициенты гармоник фазы \u0410"),
        QStringLiteral("Коэффициенты гармоник фазы B"),
        QStringLiteral("Коэффициенты гармоник фазы C"),
        QStringLiteral("Коэффициенты гармоник фазы \u0410B"),
        QStringLiteral("Коэффициенты гармоник фазы BC"),
        QStringLiteral("Коэффициенты гармоник фазы C\u0410"),
        QStringLiteral("Коэффициенты интергармоник фазы \u0410"),
        QStringLiteral("Коэффициенты интергармоник фазы B"),
        QStringLiteral("Коэффициенты интергармоник фазы C"),
        QStringLiteral("Коэффициенты интергармоник фазы \u0410B"),
        QStringLiteral("Коэффициенты интергармоник фазы BC"),
        QStringLiteral("Коэффициенты интергармоник фазы C\u0410"),
        QStringLiteral("Коэффициенты несимметрии"),
        QStringLiteral("Коэффициенты искажения синусоидальности"),
        QStringLiteral("Частота"),
    };
    QStringList titles;
    for (const ParameterCategory& category : ParameterTree())
        titles << category.title;
    QCOMPARE(titles, expected);
}

void TestParameterCatalogue::treeLeavesAreDistinct()
{
    const QList<ParameterId> leaves = ParameterTreeLeaves();
    QCOMPARE(leaves.size(), 638);
    QSet<quint32> ids;
    QSet<QString> names;
    for (const ParameterId& id : leaves) {
        QVERIFY(CatalogueEntryFor(id.code));
        QVERIFY(id.phase == 0 || !IsPhaseless(id.code));
        ids.insert(id.ToUInt32());
        names.insert(ParameterName(id));
    }
    QCOMPARE(ids.size(), 638);
    QCOMPARE(names.size(), 638);
}

QTEST_GUILESS_MAIN(TestParameterCatalogue)
#include "tst_parametercatalogue.moc"
