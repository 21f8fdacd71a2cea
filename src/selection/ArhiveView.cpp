#include "ArhiveView.h"

#include "ArchiveDay.h"
#include "ArchiveMinute.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"

#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kPhaseActionPeriodMs = 1000;
}

CArhiveView::CArhiveView(QWidget* parent)
    : CFormPage(parent)
{
    setObjectName(QStringLiteral("CArhiveView"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("archiveTabs"));
    m_pages = {new CArchiveMinute(CArchiveMinute::MinuteMode), new CArchiveMinute(CArchiveMinute::TenMinuteMode),
               new CArchiveMinute(CArchiveMinute::TwoHourMode), new CArchiveDay};
    m_tabs->addTab(m_pages[0], QStringLiteral("Минутные значения"));
    m_tabs->addTab(m_pages[1], QStringLiteral("Значения за 10 минут"));
    m_tabs->addTab(m_pages[2], QStringLiteral("Значения за 2 часа"));
    m_tabs->addTab(m_pages[3], QStringLiteral("ПКЭ (сутки/неделя)"));
    m_tabs->setCurrentIndex(0);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CArhiveView::OnSubPageSelected);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);

    m_timer = new QTimer(this);
    m_timer->setInterval(kPhaseActionPeriodMs);
    connect(m_timer, &QTimer::timeout, this, &CArhiveView::OnPhaseActionTimer);
    m_timer->start();
}

void CArhiveView::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == ToPage) {
        for (CArchiveSubPage* page : m_pages) {
            ArchiveMarks marks = MarksFromModel(model, page->Kind());
            if (page->Kind() == ArchiveKind::Minute)
                marks.q1 = page->Marks().q1;  // the unnamed row is the page's own
            page->SetMarks(marks);
        }
        m_pages[std::size_t(m_tabs->currentIndex())]->RefreshStorageDepth();
        return;
    }
    for (CArchiveSubPage* page : m_pages)
        StoreMarksIntoModel(page->Marks(), page->Kind(), model);
}

void CArhiveView::ContributeHooks(PageHooks& hooks, ConfigModel& model)
{
    hooks.storePage = [this, &model] { ExchangeWithModel(model, ToModel); };
    hooks.loadPage = [this, &model] { ExchangeWithModel(model, ToPage); };
}

void CArhiveView::OnSubPageSelected(int index)
{
    if (index >= 0 && index < kArchiveKinds)
        m_pages[std::size_t(index)]->RefreshStorageDepth();
}

void CArhiveView::OnPhaseActionTimer()
{
    const ArchivePhaseAction action = archivePhaseAction();
    if (action == ArchivePhaseAction::None)
        return;
    std::array<ArchiveMarks, kArchiveKinds> marks;
    for (std::size_t k = 0; k < marks.size(); ++k)
        marks[k] = m_pages[k]->Marks();
    // The grids now differ from the model: the next save must be offered.
    if (ApplyArchivePhaseAction(action, marks, m_remembered))
        modelChanged().Set();
    for (std::size_t k = 0; k < marks.size(); ++k)
        m_pages[k]->SetMarks(marks[k]);
    archivePhaseAction() = ArchivePhaseAction::None;
    m_pages[std::size_t(m_tabs->currentIndex())]->RefreshStorageDepth();
}
