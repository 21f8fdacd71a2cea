#pragma once
// The common interface of the seven pages of the page host. Every page but the terminal
// moves data between its controls and the model with ExchangeWithModel; a page that talks
// to the meter offers a read and a write routine; the Edit commands are routed to the page
// showing. The default of each routine does nothing, so a page implements only what it has.
#include "device/PageRoutine.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>

struct ConfigModel;
class CProcessCommand;

class CFormPage : public QWidget {
public:
    explicit CFormPage(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }

    enum Direction { ToModel = 0, ToPage = 1 };

    // direction 1: fill the controls from the model; direction 0: store them into it.
    virtual void ExchangeWithModel(ConfigModel& model, int direction)
    {
        Q_UNUSED(model);
        Q_UNUSED(direction);
    }
    // The read and write commands of the active page run the shared routines of the core
    // (address test, identification, the page's block exchange); a page reaches back into
    // them through its hooks: storing its controls before a write, loading them after a
    // read, and whatever else its routine offers. The default adds nothing.
    virtual void ContributeHooks(PageHooks& hooks, ConfigModel& model)
    {
        Q_UNUSED(hooks);
        Q_UNUSED(model);
    }

    // The Edit menu's commands while this page shows.
    virtual void EditCut() {}
    virtual void EditCopy() {}
    virtual void EditPaste() {}

    // Handed out once by the page host.
    virtual void AttachProcessCommand(CProcessCommand* processor) { m_processor = processor; }
    CProcessCommand* Processor() const { return m_processor; }

    // The host lays the pages out when its window changes size; pages with controls that
    // stretch with the window place them here. page is the page rectangle, client the
    // host's client rectangle (both in the host's coordinates). The page's bottom edge in
    // the sizes of the layout table (H = bottom / 2) is page.y() + page.height(): QRect's
    // bottom() and right() are one pixel less.
    virtual void LayoutStretchingControls(const QRect& page, const QRect& client)
    {
        Q_UNUSED(page);
        Q_UNUSED(client);
    }

private:
    CProcessCommand* m_processor = nullptr;
};
