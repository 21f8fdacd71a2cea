#pragma once
// The page "Архивируемые данные": the four archives' selections on their own tab strip, the
// storage depth of the one showing, and the voltage page's three-wire request carried out
// once a second.
#include "ArchiveMask.h"
#include "shell/FormPage.h"

#include <array>

class CArchiveSubPage;
class QTabWidget;
class QTimer;

class CArhiveView : public CFormPage {
public:
    explicit CArhiveView(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;
    void ContributeHooks(PageHooks& hooks, ConfigModel& model) override;

    QTabWidget* SubPageTabs() const { return m_tabs; }
    CArchiveSubPage* SubPage(ArchiveKind kind) const { return m_pages[std::size_t(kind)]; }
    QTimer* PhaseActionTimer() const { return m_timer; }

    // The 1000 ms timer's handler: carries out and resets archivePhaseAction().
    void OnPhaseActionTimer();

private:
    void OnSubPageSelected(int index);

    QTabWidget* m_tabs = nullptr;
    std::array<CArchiveSubPage*, kArchiveKinds> m_pages{};
    // Whether phases A, B and C of each sub-page were marked before the last clearing.
    ArchivePhaseMemory m_remembered = InitialArchivePhaseMemory();
    QTimer* m_timer = nullptr;
};
