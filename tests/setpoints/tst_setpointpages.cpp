// The "Уставки" page with its voltage, deviation and coefficient sub-pages: what they show of
// a configuration and store back, the nominal-voltage recomputation, the ratio list and its
// dialog, the archive request, the in-place cell editor, the voltage-class tables on the
// page's tick, the change flag and the accessible names. Timers are driven by their handlers.
#include "model/ArchivePhaseAction.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "setpoints/CoefficientRules.h"
#include "setpoints/DataCoeffDialog.h"
#include "setpoints/DataDeltaDialog.h"
#include "setpoints/DataVoltageDU.h"
#include "setpoints/DataVoltageDialog.h"
#include "setpoints/NewKoef.h"
#include "setpoints/SecondView.h"
#include "shell/Grid.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <memory>

namespace {

using Pairs = QList<QPair<int, int>>;

// What a screen reader says for a control. A drop-down list's name is its current entry on
// Linux; what it is for comes from its label relation (the group box it stands in).
QString AccessibleName(QWidget* widget)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (!iface)
        return QString();
    if (qobject_cast<QComboBox*>(widget)) {
        const auto labels = iface->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }
    return iface->text(QAccessible::Name);
}

} // namespace

class SetpointPagesTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_view.reset(); }

    void tabsInOrder();
    void newConfigurationIsShown();
    void storesWhatItShows();
    void choosingARatio();
    void directInputClamps();
    void switchingToDirectInput();
    void switchingToTransformerAsksForAMissingRatio_data();
    void switchingToTransformerAsksForAMissingRatio();
    void ratioDialogAnswers();
    void transformerWithoutARatioKeepsTheTexts();
    void archiveRequests_data();
    void archiveRequests();
    void limitStoreRules();
    void copyButtons_data();
    void copyButtons();
    void cellEditing_data();
    void cellEditing();
    void cellsThatOpenNoEditor();
    void scrollingAndStoringCloseTheEditor();
    void voltageClassOnTheTick();
    void voltageClassBounds_data();
    void voltageClassBounds();
    void untickedBoxWaits();
    void changeFlag_data();
    void changeFlag();
    void enterAndEscapeDoNothing();
    void accessibleNames_data();
    void accessibleNames();
    void gridCellsReadAsText();

private:
    CDataDeltaDialog* Delta() { return m_view->VoltagePage(); }
    CDataVoltageDU* Steady() { return m_view->DeviationPage()->SteadyPage(); }
    CDataVoltageDU1* Whole() { return m_view->DeviationPage()->WholeSignalPage(); }
    CDataCoeffDialog* Coeff() { return m_view->CoefficientPage(); }
    QString Cell(int row, int column) { return Coeff()->Grid()->item(row, column)->text(); }
    void Load() { m_view->ExchangeWithModel(m_model, 1); }
    void Store() { m_view->ExchangeWithModel(m_model, 0); }
    void ChooseRatio(int index)
    {
        Delta()->RatioList()->setCurrentIndex(index);
        emit Delta()->RatioList()->activated(index);
    }
    void ShowCoefficients()
    {
        m_view->show();
        m_view->SubPageTabs()->setCurrentWidget(Coeff());
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    // Direct input: 220 V, ratio "1", the list off and only the phase voltage editable.
    void VerifyDirectInputShown()
    {
    QCOMPARE(Delta()->PhaseEdit()->text(), QStringLiteral("220.000"));
    QCOMPARE(Delta()->LineEdit()->text(), QStringLiteral("381.051"));
    QCOMPARE(Delta()->RatioList()->currentText(), QStringLiteral("1"));
    QVERIFY(!Delta()->RatioList()->isEnabled());
    QVERIFY(!Delta()->PhaseEdit()->isReadOnly());
    QVERIFY(Delta()->LineEdit()->isReadOnly());
    }
    // The item view counts a double-click only on the cell its last press went to.
    void DoubleClickCell(int row, int column)
    {
        CGrid* grid = Coeff()->Grid();
        const QPoint centre = grid->visualItemRect(grid->item(row, column)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
    }
    void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    ConfigModel m_model;
    std::unique_ptr<CSecondView> m_view;
};

void SetpointPagesTest::init()
{
    m_model = NewConfigModel();
    m_view = std::make_unique<CSecondView>();
    // The tick is called by the tests themselves.
    m_view->PeriodicTimer()->stop();
    m_view->resize(1000, 600);
    Load();
    modelChanged().Clear();
    archivePhaseAction() = ArchivePhaseAction::None;
}

void SetpointPagesTest::tabsInOrder()
{
    const QStringList captions = {"Напряжение", "Отклонения напряжения", "Коэффициенты", "Частота", "Фликер", "Расчёт",
                                  "Время", "Системные", "Быстрые изменения напряжения"};
    const QStringList classes = {"CDataDeltaDialog", "CDataVoltageDialog", "CDataCoeffDialog", "CDataFreqDialog", "CDataFliker",
                                 "CDataCalc", "CDataTimeDialog", "CDataSystemDialog", "CDataRvc"};
    QTabWidget* tabs = m_view->SubPageTabs();
    QCOMPARE(tabs->count(), 9);
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(tabs->tabText(i), captions[i]);
        QCOMPARE(tabs->widget(i)->objectName(), classes[i]);
    }
    QCOMPARE(tabs->currentIndex(), 0);
    QTabWidget* inner = m_view->DeviationPage()->InnerTabs();
    QCOMPARE(inner->count(), 2);
    QCOMPARE(inner->tabText(0), QStringLiteral("Установившееся"));
    QCOMPARE(inner->widget(0)->objectName(), QStringLiteral("CDataVoltageDU"));
    QCOMPARE(inner->tabText(1), QStringLiteral("Всего сигнала"));
    QCOMPARE(inner->widget(1)->objectName(), QStringLiteral("CDataVoltageDU1"));
    QCOMPARE(inner->currentIndex(), 0);
}

void SetpointPagesTest::newConfigurationIsShown()
{
    VerifyDirectInputShown();
    QCOMPARE(Delta()->SchemeButtons()->checkedButton()->text(), QStringLiteral("Четырёхпроводная"));
    QCOMPARE(Delta()->InputButtons()->checkedButton()->text(), QStringLiteral("Прямой"));
    QCOMPARE(Delta()->ReferenceButtons()->checkedButton()->text(), QStringLiteral("Номинальное"));

    QCOMPARE(Steady()->Edit(1016)->text(), QStringLiteral("+10.00"));  // i_max_up
    QCOMPARE(Steady()->Edit(1018)->text(), QStringLiteral("-5.00"));   // i_normal_down
    QCOMPARE(Steady()->Edit(1024)->text(), QStringLiteral("-10.00"));  // dip
    QCOMPARE(Steady()->Edit(1048)->text(), QStringLiteral("-95.00"));  // interruption, line
    QCOMPARE(Whole()->Edit(1022)->text(), QStringLiteral("-5.00"));
    QCOMPARE(Whole()->Edit(1025)->text(), QStringLiteral("5.00"));     // (+) normal, no sign
    QCOMPARE(Whole()->Edit(1046)->text(), QStringLiteral("10.00"));

    QCOMPARE(Coeff()->Edit(1021)->text(), QStringLiteral("8.00"));
    QCOMPARE(Coeff()->Edit(1020)->text(), QStringLiteral("12.00"));
    QCOMPARE(Coeff()->Edit(1027)->text(), QStringLiteral("2.00"));
    QCOMPARE(Cell(0, 0), QStringLiteral("n"));
    QCOMPARE(Cell(0, 50), QStringLiteral("50"));
    QCOMPARE(Cell(1, 11), QStringLiteral("3.50"));
    QCOMPARE(Cell(2, 11), QStringLiteral("5.25"));
    QCOMPARE(Cell(1, 41), QStringLiteral("0.00"));
    for (auto [row, column] : {std::pair{1, 1}, {2, 1}, {3, 50}, {4, 50}})
        QCOMPARE(Cell(row, column), QString());
    QCOMPARE(Coeff()->Grid()->rowCount(), 5);
    QCOMPARE(Coeff()->Grid()->columnCount(), 51);
    QCOMPARE(Coeff()->RowLabels()->LabelType(), 0);
    QCOMPARE(Coeff()->AutoBox()->isChecked(), m_model.coeff_auto != 0);
    QVERIFY(!modelChanged().IsSet());
}

void SetpointPagesTest::storesWhatItShows()
{
    // Each field gets a value of its own, so a field stored into another one shows.
    ConfigModel shown = NewConfigModel();
    shown.u_nom_phase = 230.125;
    shown.u_nom_line = 398.5;
    shown.ratio_index = 7;
    shown.wiring_scheme = 0;
    shown.input_type = 1;
    shown.reference_nominal = false;
    shown.clear_archive_three_wire = 0;
    double value = 1.25;
    for (VoltageLimitSet* set : {&shown.phase_limits, &shown.line_limits}) {
        set->dip_level = (value += 1.0);
        set->swell_level = (value += 1.0);
        set->interruption_level = -(value += 1.0);
        for (auto& slot : set->dev)
            for (double& v : slot)
                v = (value += 1.0);
    }
    quint16 units = 1;
    for (quint16* field : {&shown.ku_max, &shown.ku_normal, &shown.k2u_max, &shown.k2u_normal, &shown.k0u_max, &shown.k0u_normal})
        *field = units++;
    for (auto* table : {&shown.harm_normal, &shown.harm_max, &shown.iharm_normal, &shown.iharm_max})
        for (quint16& v : *table)
            v = units++ * 7;
    shown.coeff_auto = 0;

    ConfigModel stored = NewConfigModel();
    m_view->ExchangeWithModel(shown, 1);
    m_view->ExchangeWithModel(stored, 0);
    QCOMPARE(stored.u_nom_phase, shown.u_nom_phase);
    QCOMPARE(stored.u_nom_line, shown.u_nom_line);
    QCOMPARE(stored.ratio_index, 7);
    QCOMPARE(stored.wiring_scheme, 0);
    QCOMPARE(stored.input_type, 1);
    QCOMPARE(stored.reference_nominal, false);
    QCOMPARE(stored.clear_archive_three_wire, 0);
    QVERIFY(stored.phase_limits == shown.phase_limits);
    QVERIFY(stored.line_limits == shown.line_limits);
    QCOMPARE(stored.ku_max, shown.ku_max);
    QCOMPARE(stored.k0u_normal, shown.k0u_normal);
    QCOMPARE(stored.k2u_max, shown.k2u_max);
    QVERIFY(stored.harm_normal == shown.harm_normal);
    QVERIFY(stored.harm_max == shown.harm_max);
    QVERIFY(stored.iharm_normal == shown.iharm_normal);
    QVERIFY(stored.iharm_max == shown.iharm_max);
    QCOMPARE(stored.coeff_auto, 0);

    // A ratio index beyond the list shows no selection and stores -1.
    shown.ratio_index = 40;
    m_view->ExchangeWithModel(shown, 1);
    QCOMPARE(Delta()->RatioList()->currentIndex(), -1);
    m_view->ExchangeWithModel(stored, 0);
    QCOMPARE(stored.ratio_index, -1);
}

void SetpointPagesTest::choosingARatio()
{
    Delta()->InputButtons()->button(1)->click();  // asks for nothing: "1" stays selected
    ChooseRatio(4);
    QCOMPARE(Delta()->RatioList()->currentText(), QStringLiteral("100"));
    QCOMPARE(Delta()->PhaseEdit()->text(), QStringLiteral("  5773.500"));
    QCOMPARE(Delta()->LineEdit()->text(), QStringLiteral(" 10000.000"));
    QVERIFY(Delta()->VoltageChanged());
    QVERIFY(modelChanged().IsSet());
    QVERIFY(Delta()->RecomputeTimer()->isActive());
    QVERIFY(Delta()->RecomputeTimer()->isSingleShot());
    QCOMPARE(Delta()->RecomputeTimer()->interval(), 1000);

    Delta()->OnRecomputeTimer();
    QCOMPARE(Delta()->PhaseEdit()->text(), QStringLiteral("5773.500"));
    QCOMPARE(Delta()->LineEdit()->text(), QStringLiteral("10000.000"));
    QVERIFY(!Delta()->RecomputeTimer()->isActive());
    Store();
    QCOMPARE(m_model.ratio_index, 4);
    QCOMPARE(m_model.u_nom_line, 10000.0);
    QCOMPARE(m_model.u_nom_phase, 5773.5);
}

void SetpointPagesTest::directInputClamps()
{
    Type(Delta()->PhaseEdit(), QStringLiteral("250"));
    QVERIFY(Delta()->RecomputeTimer()->isActive());
    QVERIFY(modelChanged().IsSet());  // typed: closing without saving asks first
    modelChanged().Clear();
    Delta()->OnRecomputeTimer();
    QCOMPARE(Delta()->PhaseEdit()->text(), QStringLiteral("242.000"));
    QCOMPARE(Delta()->LineEdit()->text(), QStringLiteral("419.156"));
    QVERIFY(Delta()->VoltageChanged());
    QVERIFY(!modelChanged().IsSet());  // the recomputation itself is no edit

    // A store within the second recomputes first: the model never gets the unchecked text.
    Type(Delta()->PhaseEdit(), QStringLiteral("80"));
    Store();
    QCOMPARE(m_model.u_nom_phase, 100.0);
    QCOMPARE(Delta()->LineEdit()->text(), QStringLiteral("173.205"));
    QVERIFY(!Delta()->RecomputeTimer()->isActive());

    // Loading the page starts no recomputation.
    Load();
    QVERIFY(!Delta()->RecomputeTimer()->isActive());
}

void SetpointPagesTest::switchingToDirectInput()
{
    m_model.input_type = 1;
    m_model.ratio_index = 4;
    m_model.u_nom_phase = 5773.5;
    m_model.u_nom_line = 10000.0;
    Load();
    QVERIFY(Delta()->RatioList()->isEnabled());
    QVERIFY(Delta()->PhaseEdit()->isReadOnly());
    QVERIFY(!Delta()->LineEdit()->isReadOnly());

    Delta()->InputButtons()->button(0)->click();
    VerifyDirectInputShown();
    QVERIFY(Delta()->VoltageChanged());
    QVERIFY(modelChanged().IsSet());
    Delta()->OnRecomputeTimer();
    QCOMPARE(Delta()->LineEdit()->text(), QStringLiteral("381.051"));
}

void SetpointPagesTest::switchingToTransformerAsksForAMissingRatio_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("phase");
    QTest::newRow("cancelled") << "" << "1" << 0 << "    57.735";
    QTest::newRow("zero") << "0" << "1" << 0 << "    57.735";
    QTest::newRow("listed ratio") << "100" << "100" << 4 << "  5773.500";
    QTest::newRow("new ratio appended") << "120" << "120" << 21 << "  6928.200";
}

void SetpointPagesTest::switchingToTransformerAsksForAMissingRatio()
{
    QFETCH(QString, typed);
    QFETCH(QString, selected);
    QFETCH(int, index);
    QFETCH(QString, phase);
    // A file whose ratio index is beyond the list: nothing is selected.
    m_model.ratio_index = 30;
    Load();
    int asked = 0;
    Delta()->SetRatioAsker([&] {
        ++asked;
        return typed;
    });
    Delta()->InputButtons()->button(1)->click();
    QCOMPARE(asked, 1);
    QCOMPARE(Delta()->RatioList()->currentText(), selected);
    QCOMPARE(Delta()->RatioList()->currentIndex(), index);
    QCOMPARE(Delta()->RatioList()->count(), index == 21 ? 22 : 21);
    QCOMPARE(Delta()->PhaseEdit()->text(), phase);
    Store();
    QCOMPARE(m_model.ratio_index, index);
    QCOMPARE(m_model.input_type, 1);
}

void SetpointPagesTest::ratioDialogAnswers()
{
    // Typed and confirmed: the text; typed and cancelled: nothing.
    for (const char* button : {"proceed", "cancel"}) {
        QTimer::singleShot(0, this, [button] {
            auto* dialog = dynamic_cast<CNewKoef*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Ладограф"));
            QCOMPARE(dialog->Edit()->maxLength(), 10);
            QTest::keyClicks(dialog->Edit(), QStringLiteral("120"));
            dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        });
        const QString answer = CNewKoef::Ask(nullptr);
        QCOMPARE(answer, std::strcmp(button, "proceed") == 0 ? QStringLiteral("120") : QString());
    }
}

void SetpointPagesTest::transformerWithoutARatioKeepsTheTexts()
{
    m_model.input_type = 1;
    m_model.ratio_index = -1;
    m_model.u_nom_line = 10000.0;
    Load();
    Type(Delta()->LineEdit(), QStringLiteral("12345"));
    Delta()->OnRecomputeTimer();
    QCOMPARE(Delta()->LineEdit()->text(), QStringLiteral("12345"));
    QCOMPARE(Delta()->PhaseEdit()->text(), QStringLiteral("220.000"));
}

void SetpointPagesTest::archiveRequests_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<bool>("boxTicked");
    QTest::addColumn<QString>("click");  // "three", "four" or "box"
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("changed");
    QTest::newRow("to three-wire, box ticked") << 1 << true << "three" << int(ArchivePhaseAction::Clear) << true;
    QTest::newRow("back to four-wire, box ticked") << 0 << true << "four" << int(ArchivePhaseAction::Restore) << true;
    QTest::newRow("to three-wire, box unticked") << 1 << false << "three" << int(ArchivePhaseAction::None) << true;
    QTest::newRow("to four-wire, box unticked") << 0 << false << "four" << int(ArchivePhaseAction::None) << true;
    QTest::newRow("same scheme again") << 1 << true << "four" << int(ArchivePhaseAction::None) << false;
    QTest::newRow("ticking the box, four-wire") << 1 << false << "box" << int(ArchivePhaseAction::None) << true;
    QTest::newRow("ticking the box, three-wire") << 0 << false << "box" << int(ArchivePhaseAction::Clear) << true;
    QTest::newRow("unticking the box, three-wire") << 0 << true << "box" << int(ArchivePhaseAction::Restore) << true;
}

void SetpointPagesTest::archiveRequests()
{
    QFETCH(int, scheme);
    QFETCH(bool, boxTicked);
    QFETCH(QString, click);
    QFETCH(int, action);
    QFETCH(bool, changed);
    m_model.wiring_scheme = scheme;
    m_model.clear_archive_three_wire = boxTicked ? 1 : 0;
    Load();
    if (click == QLatin1String("box"))
        Delta()->ClearArchiveBox()->click();
    else
        Delta()->SchemeButtons()->button(click == QLatin1String("three") ? 0 : 1)->click();
    QCOMPARE(int(archivePhaseAction()), action);
    QCOMPARE(modelChanged().IsSet(), changed);
    if (click != QLatin1String("box"))
        QCOMPARE(Delta()->VoltageChanged(), changed);
}

void SetpointPagesTest::limitStoreRules()
{
    Steady()->Edit(1016)->setText(QStringLiteral("150"));
    Steady()->Edit(1038)->setText(QStringLiteral("abc"));
    Steady()->Edit(1046)->setText(QStringLiteral("-100"));
    Whole()->Edit(1016)->setText(QStringLiteral("150"));
    Whole()->Edit(1032)->setText(QStringLiteral("-250.5"));
    Store();
    using setpoints::Limit;
    using setpoints::VoltageKind;
    QCOMPARE(LimitValue(m_model.phase_limits, Limit::i_max_up, VoltageKind::Phase, VoltageLimitSet::steady), 10.0);
    QCOMPARE(LimitValue(m_model.line_limits, Limit::i_max_up, VoltageKind::Line, VoltageLimitSet::steady), 0.0);
    QCOMPARE(m_model.line_limits.dip_level, -100.0);
    QCOMPARE(LimitValue(m_model.phase_limits, Limit::i_max_up, VoltageKind::Phase, VoltageLimitSet::signal), 150.0);
    QCOMPARE(LimitValue(m_model.line_limits, Limit::i_max_up, VoltageKind::Line, VoltageLimitSet::plusminus), -250.5);
    // The refused text stays until the page is filled again.
    QCOMPARE(Steady()->Edit(1016)->text(), QStringLiteral("150"));
    Load();
    QCOMPARE(Steady()->Edit(1016)->text(), QStringLiteral("+10.00"));
}

void SetpointPagesTest::copyButtons_data()
{
    QTest::addColumn<bool>("steady");
    QTest::addColumn<Pairs>("pairs");
    Pairs steadyPairs;
    for (int i = 0; i < 11; ++i)
        steadyPairs.append({1016 + i, 1038 + i});
    QTest::newRow("Установившееся") << true << steadyPairs;
    QTest::newRow("Всего сигнала") << false
                                   << Pairs{{1016, 1038}, {1017, 1039}, {1018, 1040}, {1019, 1041}, {1020, 1042}, {1021, 1043},
                                            {1022, 1044}, {1023, 1045}, {1024, 1032}, {1025, 1033}, {1026, 1034}, {1027, 1035},
                                            {1028, 1036}, {1029, 1037}, {1030, 1046}, {1031, 1047}};
}

void SetpointPagesTest::copyButtons()
{
    QFETCH(bool, steady);
    QFETCH(Pairs, pairs);
    CVoltageLimitPage* page = steady ? static_cast<CVoltageLimitPage*>(Steady()) : Whole();
    for (const auto& [phase, line] : pairs)
        page->Edit(phase)->setText(QString::number(phase - 1000) + QStringLiteral(".5"));
    modelChanged().Clear();
    page->CopyButton()->click();
    for (const auto& [phase, line] : pairs)
        QCOMPARE(page->Edit(line)->text(), QString::number(phase - 1000) + QStringLiteral(".5"));
    QVERIFY(modelChanged().IsSet());
    Store();
    // The dip, swell and interruption levels went across too.
    if (steady) {
        QCOMPARE(m_model.line_limits.dip_level, 24.5);
        QCOMPARE(m_model.line_limits.swell_level, 25.5);
        QCOMPARE(m_model.line_limits.interruption_level, 26.5);
    }
}

void SetpointPagesTest::cellEditing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("0,15") << 1 << 5 << "0,15" << 15;
    QTest::newRow("abc") << 2 << 50 << "abc" << 0;
    QTest::newRow("-1") << 3 << 1 << "-1" << 65436;
    QTest::newRow("1.239 cut") << 4 << 49 << "1.239" << 123;
}

void SetpointPagesTest::cellEditing()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    ShowCoefficients();
    CGrid* grid = Coeff()->Grid();
    grid->setCurrentCell(row, column);
    grid->scrollToItem(grid->item(row, column));
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    DoubleClickCell(row, column);
    QVERIFY(Coeff()->IsEditingCell());
    QLineEdit* editor = Coeff()->CellEditor();
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->geometry(), cell);
    QCOMPARE(editor->text(), grid->item(row, column)->text());
    editor->selectAll();
    QTest::keyClicks(editor, typed);
    QVERIFY(!modelChanged().IsSet());
    // Leaving the cell writes it back and counts as a change.
    grid->setCurrentCell(row == 1 ? 2 : 1, 10);
    QVERIFY(!Coeff()->IsEditingCell());
    QVERIFY(!editor->isVisible());
    QCOMPARE(grid->item(row, column)->text(), typed);
    QVERIFY(modelChanged().IsSet());
    Store();
    auto* tables = std::array{&m_model.harm_normal, &m_model.harm_max, &m_model.iharm_normal, &m_model.iharm_max}[std::size_t(row - 1)];
    QCOMPARE(int((*tables)[std::size_t(column - (row <= 2 ? 2 : 1))]), stored);

    // Leaving a cell unchanged is no change.
    modelChanged().Clear();
    QVERIFY(Coeff()->OpenCellEditor(row, column));
    grid->setCurrentCell(0, 3);
    QVERIFY(!modelChanged().IsSet());
}

void SetpointPagesTest::cellsThatOpenNoEditor()
{
    ShowCoefficients();
    DoubleClickCell(1, 1);
    QVERIFY(!Coeff()->IsEditingCell());
    QVERIFY(!Coeff()->CellEditor()->isVisible());
    for (auto [row, column] : {std::pair{1, 1}, {2, 1}, {3, 50}, {4, 50}, {0, 7}, {3, 0}})
        QVERIFY(!Coeff()->OpenCellEditor(row, column));
    for (auto [row, column] : {std::pair{1, 2}, {2, 50}, {3, 1}, {4, 49}})
        QVERIFY(CDataCoeffDialog::IsEditableCell(row, column));
}

void SetpointPagesTest::scrollingAndStoringCloseTheEditor()
{
    ShowCoefficients();
    QVERIFY(Coeff()->OpenCellEditor(3, 4));
    Coeff()->CellEditor()->setText(QStringLiteral("7"));
    QScrollBar* bar = Coeff()->Grid()->horizontalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->value() + 60);
    QVERIFY(!Coeff()->IsEditingCell());
    QCOMPARE(Cell(3, 4), QStringLiteral("7"));
    QVERIFY(modelChanged().IsSet());

    // Saving while a cell is open stores what is typed in it.
    QVERIFY(Coeff()->OpenCellEditor(4, 2));
    Coeff()->CellEditor()->setText(QStringLiteral("1,25"));
    Store();
    QCOMPARE(int(m_model.iharm_max[1]), 125);
    QCOMPARE(int(m_model.iharm_normal[3]), 700);
    QVERIFY(!Coeff()->IsEditingCell());
}

void SetpointPagesTest::voltageClassOnTheTick()
{
    QVERIFY(Coeff()->AutoBox()->isChecked());
    Delta()->InputButtons()->button(1)->click();
    ChooseRatio(4);
    Delta()->OnRecomputeTimer();
    m_view->OnTimer();
    QCOMPARE(Cell(1, 2), QStringLiteral("1.50"));
    QCOMPARE(Cell(2, 2), QStringLiteral("2.25"));
    QCOMPARE(Cell(1, 5), QStringLiteral("4.00"));
    QCOMPARE(Cell(2, 5), QStringLiteral("6.00"));
    QCOMPARE(Cell(1, 12), QStringLiteral("0.20"));
    QCOMPARE(Cell(2, 12), QStringLiteral("0.30"));
    QCOMPARE(Cell(1, 50), QStringLiteral("0.00"));
    QCOMPARE(Coeff()->Edit(1021)->text(), QStringLiteral("5.00"));
    QCOMPARE(Coeff()->Edit(1020)->text(), QStringLiteral("8.00"));
    QVERIFY(!Delta()->VoltageChanged());
    // The interharmonic rows are left alone.
    QCOMPARE(Cell(3, 2), setpoints::CoefficientText(m_model.iharm_normal[1]));
    // The model follows at the next store.
    QCOMPARE(int(m_model.harm_normal[0]), 200);
    Store();
    QCOMPARE(int(m_model.harm_normal[0]), 150);
    QCOMPARE(int(m_model.harm_max[3]), 600);
    QCOMPARE(int(m_model.ku_normal), 500);

    // A tick without a voltage change changes nothing.
    Coeff()->Edit(1021)->setText(QStringLiteral("1.00"));
    m_view->OnTimer();
    QCOMPARE(Coeff()->Edit(1021)->text(), QStringLiteral("1.00"));
    QVERIFY(m_view->PeriodicTimer()->interval() == 1000 && !m_view->PeriodicTimer()->isSingleShot());
}

void SetpointPagesTest::voltageClassBounds_data()
{
    QTest::addColumn<int>("ratioIndex");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("kuNormal");
    QTest::newRow("5999 V: class 1") << 1 << "5999" << "8.00";
    QTest::newRow("6000 V: class 2") << 1 << "6000" << "5.00";
    QTest::newRow("35000 V: class 3") << 14 << "35000" << "4.00";
    QTest::newRow("110000 V: class 4") << 15 << "110000" << "2.00";
}

void SetpointPagesTest::voltageClassBounds()
{
    QFETCH(int, ratioIndex);
    QFETCH(QString, line);
    QFETCH(QString, kuNormal);
    m_model.input_type = 1;
    m_model.ratio_index = ratioIndex;
    Load();
    Type(Delta()->LineEdit(), line);
    Delta()->OnRecomputeTimer();
    QCOMPARE(Delta()->LineEdit()->text(), line + QStringLiteral(".000"));
    m_view->OnTimer();
    QCOMPARE(Coeff()->Edit(1021)->text(), kuNormal);
}

void SetpointPagesTest::untickedBoxWaits()
{
    Coeff()->AutoBox()->click();
    QVERIFY(!Coeff()->AutoBox()->isChecked());
    Delta()->InputButtons()->button(1)->click();
    ChooseRatio(4);
    Delta()->OnRecomputeTimer();
    m_view->OnTimer();
    QCOMPARE(Cell(1, 2), QStringLiteral("2.00"));
    QCOMPARE(Coeff()->Edit(1021)->text(), QStringLiteral("8.00"));
    QVERIFY(Delta()->VoltageChanged());
    Coeff()->AutoBox()->click();
    m_view->OnTimer();
    QCOMPARE(Cell(1, 2), QStringLiteral("1.50"));
    QCOMPARE(Coeff()->Edit(1021)->text(), QStringLiteral("5.00"));
}

void SetpointPagesTest::changeFlag_data()
{
    QTest::addColumn<QString>("what");
    for (const char* what : {"steady edit", "whole-signal edit", "coefficient edit", "coefficient box", "reference radio",
                             "typed line voltage"})
        QTest::newRow(what) << QString::fromLatin1(what);
}

void SetpointPagesTest::changeFlag()
{
    QFETCH(QString, what);
    m_model.input_type = 1;
    Load();
    QVERIFY(!modelChanged().IsSet());
    if (what == QLatin1String("steady edit"))
        Type(Steady()->Edit(1040), QStringLiteral("-4"));
    else if (what == QLatin1String("whole-signal edit"))
        Type(Whole()->Edit(1033), QStringLiteral("4"));
    else if (what == QLatin1String("coefficient edit"))
        Type(Coeff()->Edit(1029), QStringLiteral("3"));
    else if (what == QLatin1String("coefficient box"))
        Coeff()->AutoBox()->click();
    else if (what == QLatin1String("reference radio"))
        Delta()->ReferenceButtons()->button(0)->click();
    else
        Type(Delta()->LineEdit(), QStringLiteral("10500"));
    QVERIFY(modelChanged().IsSet());
}

void SetpointPagesTest::enterAndEscapeDoNothing()
{
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    Type(Delta()->PhaseEdit(), QStringLiteral("230"));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(Delta()->PhaseEdit(), key);
        QTest::keyClick(m_view.get(), key);
    }
    QVERIFY(m_view->isVisible());
    QCOMPARE(Delta()->PhaseEdit()->text(), QStringLiteral("230"));
}

void SetpointPagesTest::accessibleNames_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");
    QTest::newRow("phase voltage") << "delta" << "phaseVoltage" << "Uном.ф,В";
    QTest::newRow("line voltage") << "delta" << "lineVoltage" << "Uном.мф,В";
    QTest::newRow("ratio list") << "delta" << "ratioList" << "Коэффициент трансформации";
    QTest::newRow("steady, phase") << "steady" << "edit1016" << "Фазное напряжение: δUуIпред в,%";
    QTest::newRow("steady, line, II") << "steady" << "edit1045" << "Междуфазное напряжение: δUуIIпред н,%";
    QTest::newRow("steady, dip") << "steady" << "edit1024" << "Фазное напряжение: Уровень провала напряжения, %";
    QTest::newRow("whole signal") << "whole" << "edit1038" << "Междуфазное напряжение: δUIпред в,%";
    QTest::newRow("whole signal (+)") << "whole" << "edit1025" << "Фазное напряжение: δUI(+)нд,%";
    QTest::newRow("whole signal (-)") << "whole" << "edit1046" << "Междуфазное напряжение: δUII(-)пред,%";
    QTest::newRow("unbalance") << "coeff" << "edit1027" << "K0u нд,%";
    QTest::newRow("distortion") << "coeff" << "edit1020" << "KU пред,%";
    QTest::newRow("grid")
        << "coeff" << "coefficientGrid" << "Коэффициенты гармонической и интергармонической составляющей напряжения:";
    QTest::newRow("row labels") << "coeff" << "coefficientRowLabels" << "n";
}

void SetpointPagesTest::accessibleNames()
{
    QFETCH(QString, page);
    QFETCH(QString, object);
    QFETCH(QString, name);
    QWidget* pages[] = {Delta(), Steady(), Whole(), Coeff()};
    const QStringList keys = {"delta", "steady", "whole", "coeff"};
    QWidget* widget = pages[keys.indexOf(page)]->findChild<QWidget*>(object);
    QVERIFY(widget);
    QCOMPARE(AccessibleName(widget), name);
}

void SetpointPagesTest::gridCellsReadAsText()
{
    // The painted row labels reach a screen reader as the texts of their cells.
    QAccessibleInterface* labels = QAccessible::queryAccessibleInterface(Coeff()->RowLabels());
    QVERIFY(labels && labels->tableInterface());
    const QStringList expected = {"n", "KU(n)нд,%", "KU(n)пред,%", "KUig(n)нд,%", "KUig(n)пред,%"};
    for (int row = 0; row < 5; ++row)
        QCOMPARE(labels->tableInterface()->cellAt(row, 0)->text(QAccessible::Name), expected[row]);
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(Coeff()->Grid());
    QVERIFY(grid && grid->tableInterface());
    QCOMPARE(grid->tableInterface()->rowCount(), 5);
}

QTEST_MAIN(SetpointPagesTest)
#include "tst_setpointpages.moc"
