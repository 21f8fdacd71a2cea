// The page "Архивируемые данные" offscreen: the depth label of each sub-page, clicks on the
// real grids, the three-wire action on its timer, what a store keeps and what a load shows.
#include "model/ArchivePhaseAction.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "selection/ArchiveSubPage.h"
#include "selection/ArhiveView.h"
#include "shell/Grid.h"

#include <QAccessible>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

void Click(CGrid* grid, int row, int column)
{
    grid->scrollToItem(grid->item(row, column));
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

bool Marked(CGrid* grid, int row, int column) { return grid->item(row, column)->text() == QLatin1String("*"); }

QString Depth(CArhiveView& view, ArchiveKind kind) { return view.SubPage(kind)->StorageDepth()->text(); }

} // namespace

class ArchivePageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CArhiveView> m_view;
    ConfigModel m_model;

    CArchiveSubPage* Sub(ArchiveKind kind) { return m_view->SubPage(kind); }

private slots:
    void init()
    {
        archivePhaseAction() = ArchivePhaseAction::None;
        m_model = NewConfigModel();
        m_view = std::make_unique<CArhiveView>();
        m_view->resize(1000, 600);
        m_view->show();
        m_view->ExchangeWithModel(m_model, CFormPage::ToPage);
        modelChanged().Clear();
    }
    void cleanup() { m_view.reset(); }

    void newConfigurationDepths_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("label");
        QTest::newRow("minute") << 0 << "Глубина хранения:9 дн.";
        QTest::newRow("10 minutes") << 1 << "Глубина хранения: 9 дн.";
        QTest::newRow("2 hours") << 2 << "Глубина хранения: 31 дн.";
        QTest::newRow("day/week") << 3 << "Глубина хранения: 105 дн. / 441 дн.";
    }
    void newConfigurationDepths()
    {
        QFETCH(int, tab);
        QFETCH(QString, label);
        m_view->SubPageTabs()->setCurrentIndex(tab);
        QCOMPARE(Depth(*m_view, ArchiveKind(tab)), label);
        QVERIFY(Sub(ArchiveKind(tab))->StorageDepth()->isVisible());
        QCOMPARE(m_view->SubPageTabs()->tabText(tab),
                 (QStringList{"Минутные значения", "Значения за 10 минут", "Значения за 2 часа", "ПКЭ (сутки/неделя)"}[tab]));
    }

    void gridShapes()
    {
        CArchiveSubPage* minute = Sub(ArchiveKind::Minute);
        CArchiveSubPage* day = Sub(ArchiveKind::Day);
        QCOMPARE(minute->PhaseGrid()->item(0, 0)->text(), QStringLiteral("Фаза"));
        QCOMPARE(minute->PhaseGrid()->item(0, 4)->text(), QStringLiteral("AB"));
        QCOMPARE(minute->QuantityList()->rowCount(), 9);
        QCOMPARE(day->QuantityList()->rowCount(), 16);
        QCOMPARE(minute->HarmonicGrid()->columnCount(), 50);
        QCOMPARE(minute->HarmonicGrid()->item(0, 1)->text(), QStringLiteral("2"));
        QCOMPARE(day->HarmonicGrid()->columnCount(), 51);
        QCOMPARE(day->HarmonicGrid()->item(0, 1)->text(), QStringLiteral("1"));
        QCOMPARE(day->HarmonicGrid()->item(0, 0)->text(), QStringLiteral("n"));
        // The cells without a choice stay empty in a new configuration.
        QVERIFY(!Marked(day->HarmonicGrid(), 1, 1));
        QVERIFY(!Marked(day->HarmonicGrid(), 2, 50));
        QVERIFY(Marked(day->HarmonicGrid(), 1, 2));
        QVERIFY(Marked(day->HarmonicGrid(), 2, 49));
        QCOMPARE(Sub(ArchiveKind::TenMinute)->findChild<QLabel*>("quantityName8")->text(), QStringLiteral("Кратковременная доза фликера"));
        QCOMPARE(Sub(ArchiveKind::TwoHour)->findChild<QLabel*>("quantityName8")->text(), QStringLiteral("Длительная доза фликера"));
        QCOMPARE(minute->findChild<QLabel*>("quantityName8")->text(), QString());
        QCOMPARE(minute->QuantityList()->LabelType(), 3);
        QCOMPARE(Sub(ArchiveKind::TenMinute)->QuantityList()->LabelType(), 9);
        QCOMPARE(Sub(ArchiveKind::TwoHour)->QuantityList()->LabelType(), 10);
        QCOMPARE(day->QuantityList()->LabelType(), 2);
        QCOMPARE(minute->HarmonicGrid()->LabelType(), 11);
        QCOMPARE(day->HarmonicGrid()->LabelType(), 12);

        // Screen readers get the painted captions through the table interface.
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(day->QuantityList());
        QVERIFY(list && list->tableInterface());
        QCOMPARE(list->tableInterface()->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("δU"));
        QCOMPARE(list->tableInterface()->cellAt(12, 0)->text(QAccessible::Name), QStringLiteral("Δtпр"));
        QCOMPARE(list->tableInterface()->cellAt(12, 1)->text(QAccessible::Name), QStringLiteral("*"));
        QAccessibleInterface* harmonics = QAccessible::queryAccessibleInterface(day->HarmonicGrid());
        QCOMPARE(harmonics->text(QAccessible::Name), QStringLiteral("Коэффициенты"));
        QCOMPARE(harmonics->tableInterface()->cellAt(2, 0)->text(QAccessible::Name), QStringLiteral("KUig(n)"));
    }

    // Clearing the phases and the three phase-free quantities leaves an empty record; K0u alone
    // makes it 30 bytes.
    void clicksDownToNothingAndK0u()
    {
        CArchiveSubPage* minute = Sub(ArchiveKind::Minute);
        Click(minute->PhaseGrid(), 1, 0);  // A is marked: all six are cleared
        for (int c = 1; c <= 6; ++c)
            QVERIFY(!Marked(minute->PhaseGrid(), 1, c));
        QVERIFY(modelChanged().IsSet());
        Click(minute->QuantityList(), 2, 0);  // K0u, by its caption
        Click(minute->QuantityList(), 3, 1);  // K2u, by its mark
        Click(minute->QuantityList(), 4, 1);  // δU1
        QCOMPARE(Depth(*m_view, ArchiveKind::Minute), QStringLiteral("Глубина хранения:0 дн."));
        Click(minute->QuantityList(), 2, 1);
        QVERIFY(Marked(minute->QuantityList(), 2, 1));
        QCOMPARE(Depth(*m_view, ArchiveKind::Minute), QStringLiteral("Глубина хранения:211 дн."));
        Click(minute->PhaseGrid(), 1, 0);  // A is not marked: all six come back
        QVERIFY(Marked(minute->PhaseGrid(), 1, 6));

        m_view->SubPageTabs()->setCurrentIndex(3);
        CArchiveSubPage* day = Sub(ArchiveKind::Day);
        Click(day->PhaseGrid(), 1, 0);
        for (int r : {2, 3, 4, 13, 14, 15})
            Click(day->QuantityList(), r, 1);
        QCOMPARE(Depth(*m_view, ArchiveKind::Day), QStringLiteral("Глубина хранения: 0 дн. / 0 дн."));
    }

    // On the minute sub-page the harmonic row's caption looks at order 3, in column 2.
    void minuteCaptionDecidedByOrderThree()
    {
        CGrid* grid = Sub(ArchiveKind::Minute)->HarmonicGrid();
        Click(grid, 1, 1);  // clear order 2
        QVERIFY(!Marked(grid, 1, 1));
        Click(grid, 1, 0);  // order 3 is marked: the row is cleared
        for (int c = 1; c < 50; ++c)
            QVERIFY2(!Marked(grid, 1, c), qPrintable(QString::number(c)));
        Click(grid, 1, 0);
        for (int c = 1; c < 50; ++c)
            QVERIFY(Marked(grid, 1, c));
        Click(grid, 0, 49);  // header of order 50
        QVERIFY(!Marked(grid, 1, 49));
        grid->setCurrentCell(1, 49);
        QTest::keyClick(grid, Qt::Key_Space);  // the keyboard's click
        QVERIFY(Marked(grid, 1, 49));
        modelChanged().Clear();
        Click(grid, 0, 0);  // the corner
        QVERIFY(!modelChanged().IsSet());
    }

    void headerOfColumnOneDoesNothing()
    {
        CGrid* grid = Sub(ArchiveKind::TenMinute)->HarmonicGrid();
        m_view->SubPageTabs()->setCurrentIndex(1);
        Click(grid, 0, 1);
        QVERIFY(Marked(grid, 2, 1));
        QVERIFY(!modelChanged().IsSet());
        Click(grid, 0, 50);
        QVERIFY(!Marked(grid, 1, 50));
        Click(grid, 0, 7);
        QVERIFY(!Marked(grid, 1, 7));
        QVERIFY(!Marked(grid, 2, 7));
    }

    void threeWireClearThenRestore()
    {
        QVERIFY(m_view->PhaseActionTimer()->isActive());
        QCOMPARE(m_view->PhaseActionTimer()->interval(), 1000);
        CGrid* tenPhases = Sub(ArchiveKind::TenMinute)->PhaseGrid();
        Click(tenPhases, 1, 2);  // B off on the 10-minute sub-page
        modelChanged().Clear();

        archivePhaseAction() = ArchivePhaseAction::Clear;
        m_view->OnPhaseActionTimer();
        QCOMPARE(archivePhaseAction(), ArchivePhaseAction::None);
        for (int k = 0; k < kArchiveKinds; ++k) {
            CGrid* phases = Sub(ArchiveKind(k))->PhaseGrid();
            for (int c = 1; c <= 3; ++c)
                QVERIFY(!Marked(phases, 1, c));
            QVERIFY(Marked(phases, 1, 4));
        }
        QVERIFY(modelChanged().IsSet());
        QCOMPARE(Depth(*m_view, ArchiveKind::Minute), QStringLiteral("Глубина хранения:17 дн."));
        // The model follows at the next store only.
        QCOMPARE(m_model.archive_mask[0], quint8(0xFF));

        archivePhaseAction() = ArchivePhaseAction::Restore;
        m_view->OnPhaseActionTimer();
        QCOMPARE(archivePhaseAction(), ArchivePhaseAction::None);
        QVERIFY(Marked(Sub(ArchiveKind::Minute)->PhaseGrid(), 1, 1));
        QVERIFY(!Marked(tenPhases, 1, 2));
        QVERIFY(Marked(tenPhases, 1, 1));
        QCOMPARE(Depth(*m_view, ArchiveKind::Minute), QStringLiteral("Глубина хранения:9 дн."));
    }

    void restoreWithoutClearMarksThePhases()
    {
        m_model.archive_mask.fill(0);
        m_view->ExchangeWithModel(m_model, CFormPage::ToPage);
        archivePhaseAction() = ArchivePhaseAction::Restore;
        m_view->OnPhaseActionTimer();
        for (int k = 0; k < kArchiveKinds; ++k) {
            CGrid* phases = Sub(ArchiveKind(k))->PhaseGrid();
            for (int c = 1; c <= 6; ++c)
                QCOMPARE(Marked(phases, 1, c), c <= 3);
        }
        m_view->ExchangeWithModel(m_model, CFormPage::ToModel);
        for (int offset : {0, 8, 24, 40})
            QCOMPARE(m_model.archive_mask[std::size_t(offset)], quint8(0x07));
    }

    // A store writes what the grids show and keeps every bit the grids do not show.
    void storeKeepsUnlistedBits()
    {
        Click(Sub(ArchiveKind::Day)->QuantityList(), 15, 1);  // idle time: Q1 bit 56
        m_view->ExchangeWithModel(m_model, CFormPage::ToModel);
        std::array<quint8, kArchiveMaskSize> expected;
        expected.fill(0xFF);
        expected[40 + 15] = 0xFE;
        QCOMPARE(m_model.archive_mask, expected);
    }

    // Whatever bytes come in go out unchanged when nothing is clicked; the minute sub-page's
    // unnamed row never reaches the file.
    void loadThenStoreIsByteIdentical()
    {
        for (int i = 0; i < kArchiveMaskSize; ++i)
            m_model.archive_mask[std::size_t(i)] = quint8(i * 37 + 11);
        const auto bytes = m_model.archive_mask;
        m_view->ExchangeWithModel(m_model, CFormPage::ToPage);
        Click(Sub(ArchiveKind::Minute)->QuantityList(), 8, 1);
        ConfigModel out = NewConfigModel();
        out.archive_mask = bytes;
        m_view->ExchangeWithModel(out, CFormPage::ToModel);
        QCOMPARE(out.archive_mask, bytes);
        QCOMPARE(Sub(ArchiveKind::TwoHour)->Marks(), MarksFromModel(m_model, ArchiveKind::TwoHour));
    }
};

QTEST_MAIN(ArchivePageTest)
#include "tst_archivepage.moc"
