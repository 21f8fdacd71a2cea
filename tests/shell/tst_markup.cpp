// The label markup's pen positions, the grid's row labels and the list's Greek rows.
#include "common/Cp1251.h"
#include "shell/Grid.h"
#include "shell/Markup.h"
#include "shell/TreeList.h"

#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

// "K@25" style: each glyph as its character (or d/D for the deltas) and position.
QStringList Describe(const std::vector<MarkupGlyph>& glyphs)
{
    QStringList out;
    for (const MarkupGlyph& g : glyphs) {
        QString what;
        if (g.kind == MarkupGlyph::SmallDelta)
            what = QStringLiteral("δ");
        else if (g.kind == MarkupGlyph::CapitalDelta)
            what = QStringLiteral("Δ");
        else
            what = cp1251::Decode(QByteArrayView(&g.byte, 1));
        out << QStringLiteral("%1@%2,%3").arg(what).arg(g.x).arg(g.y);
    }
    return out;
}

} // namespace

class MarkupTest : public QObject {
    Q_OBJECT
private slots:
    void penPositions_data();
    void penPositions();
    void accessibleText_data();
    void accessibleText();
    void gridLabelTypes();
    void gridPaintsItsLabels();
    void treeListRows();
    void plainText_data();
    void plainText();
};

void MarkupTest::penPositions_data()
{
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("subscript advances the pen")
        << "K~0u пред~,%"
        << QStringList{"K@10,20", "0@19,25", "u@26,25", " @33,25", "п@40,25", "р@47,25", "е@54,25",
                       "д@61,25", ",@68,20", "%@75,20"};
    QTest::newRow("ф and м advance 8 in a subscript")
        << "U~ном.ф~,В"
        << QStringList{"U@10,20", "н@19,25", "о@26,25", "м@33,25", ".@41,25", "ф@48,25", ",@56,20", "В@63,20"};
    QTest::newRow("superscript leaves the pen")
        << "@d@U^I^~пред в~,%"
        << QStringList{"δ@10,20", "U@17,20", "I@26,15", "п@26,25", "р@33,25", "е@40,25", "д@47,25",
                       " @54,25", "в@61,25", ",@68,20", "%@75,20"};
    QTest::newRow("capital delta")
        << "@D@F~пред в~,Гц"
        << QStringList{"Δ@10,20", "F@17,20", "п@26,25", "р@33,25", "е@40,25", "д@47,25", " @54,25",
                       "в@61,25", ",@68,20", "Г@75,20", "ц@82,20"};
    QTest::newRow("latin subscript") << "P~stпред~"
                                     << QStringList{"P@10,20", "s@19,25", "t@26,25", "п@33,25", "р@40,25",
                                                    "е@47,25", "д@54,25"};
    QTest::newRow("caret at the end draws nothing") << "U^" << QStringList{"U@10,20"};
    QTest::newRow("open subscript runs to the end") << "K~ab" << QStringList{"K@10,20", "a@19,25", "b@26,25"};
    QTest::newRow("unknown @ letter consumes three") << "@x@Z" << QStringList{"Z@10,20"};
    QTest::newRow("empty") << "" << QStringList{};
}

void MarkupTest::penPositions()
{
    QFETCH(QString, markup);
    QFETCH(QStringList, expected);
    QCOMPARE(Describe(LayoutMarkup(10, 20, cp1251::Encode(markup))), expected);
}

void MarkupTest::accessibleText_data()
{
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("plain");
    QTest::newRow("subscript") << "U~ном.ф~,В" << "Uном.ф,В";
    QTest::newRow("delta and superscript") << "@d@Uу^II^~пред н~,%" << "δUуIIпред н,%";
    QTest::newRow("capital delta") << "@D@F~пред в~,Гц" << "ΔFпред в,Гц";
    QTest::newRow("unclosed subscript") << "P~stпред" << "Pstпред";
    QTest::newRow("empty") << "" << "";
}

void MarkupTest::accessibleText()
{
    QFETCH(QString, markup);
    QFETCH(QString, plain);
    QCOMPARE(MarkupPlainText(cp1251::Encode(markup)), plain);
}

void MarkupTest::gridLabelTypes()
{
    QVERIFY(CGrid::LabelPieces(1).empty());
    QCOMPARE(CGrid::LabelPieces(0).size(), size_t(4));
    QCOMPARE(CGrid::LabelPieces(0)[3].text, cp1251::Encode(u"K~Uig(n)пред~,%"));
    QCOMPARE(CGrid::LabelPieces(0)[3].y, 101);

    // Types 9 and 10 differ only in the last row: Pst against Plt at y 129.
    const auto& pst = CGrid::LabelPieces(9);
    const auto& plt = CGrid::LabelPieces(10);
    QCOMPARE(pst.size(), plt.size());
    QCOMPARE(pst.back().text, QByteArray("Pst"));
    QCOMPARE(plt.back().text, QByteArray("Plt"));
    QCOMPARE(plt.back().y, 129);
    QCOMPARE(CGrid::LabelPieces(3).size() + 1, pst.size());

    // The day grid ends with Tпрст; the plain second pieces sit one pixel lower.
    const auto& day = CGrid::LabelPieces(2);
    QCOMPARE(day.back().text, cp1251::Encode(u"прст"));
    QCOMPARE(day.back().x, 25);
    QCOMPARE(day.back().y, 241);
    QCOMPARE(day[3].text, QByteArray("u"));
    QCOMPARE(day[3].y, day[2].y + 1);

    QCOMPARE(CGrid::LabelPieces(12).size(), size_t(2));
    QCOMPARE(CGrid::LabelPieces(12)[1].y, 42);
}

void MarkupTest::gridPaintsItsLabels()
{
    // An empty grid of type 12 shows only its labels: something is painted in the label
    // area, nothing to the right of it.
    CGrid grid;
    grid.setRowCount(3);
    grid.setColumnCount(2);
    grid.resize(200, 80);
    grid.SetLabelType(12);
    grid.setShowGrid(false);
    QImage withLabels = grid.grab().toImage();
    grid.SetLabelType(1);
    QImage without = grid.grab().toImage();
    QVERIFY(withLabels != without);
}

void MarkupTest::treeListRows()
{
    CTreeList list;
    list.Initialise();
    QCOMPARE(list.font().pixelSize(), 16);
    QCOMPARE(list.m_marker, (unsigned char)37);
    QTreeWidgetItem* group = list.InsertGroupRow(0, "3", cp1251::Encode(u"Гармоники"));
    QCOMPARE(group->text(0), QStringLiteral("3"));
    QCOMPARE(group->text(1), QStringLiteral("Гармоники"));
    QCOMPARE(CTreeList::ItemData(group), qint64(2));

    const QByteArray designation = cp1251::Encode(u"дU(1)");
    QTreeWidgetItem* greek = list.InsertParameterRow(1, "1", "name", designation, 77, true);
    QTreeWidgetItem* plain = list.InsertParameterRow(2, "2", "name", designation, 78, false);
    QVERIFY(greek->text(0).isEmpty() && greek->text(1).isEmpty());
    QCOMPARE(greek->text(2), QStringLiteral("1"));
    QCOMPARE(greek->text(4), QStringLiteral("δU(1)"));
    QCOMPARE(plain->text(4), QStringLiteral("дU(1)"));
    QCOMPARE(CTreeList::ItemData(greek), qint64(77));
}

void MarkupTest::plainText_data()
{
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("plain");
    QTest::newRow("capital delta and subscript") << "@D@F~пред в~,Гц" << "ΔFпред в,Гц";
    QTest::newRow("small delta and superscript") << "@d@U^I^~пред в~,%" << "δUIпред в,%";
    QTest::newRow("plain text") << "Pst" << "Pst";
    QTest::newRow("two deltas") << "@d@U(+) и @d@U(-)" << "δU(+) и δU(-)";
}

void MarkupTest::plainText()
{
    QFETCH(QString, markup);
    QFETCH(QString, plain);
    QCOMPARE(MarkupPlainText(cp1251::Encode(markup)), plain);
}

QTEST_MAIN(MarkupTest)
#include "tst_markup.moc"
