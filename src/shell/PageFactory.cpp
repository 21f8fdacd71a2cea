#include "PageFactory.h"

#include "device/FirstView.h"
#include "device/TerminalView.h"
#include "rules/PortView.h"
#include "selection/ArhiveView.h"
#include "selection/GroupView.h"
#include "selection/LimitView.h"
#include "setpoints/SecondView.h"

CFormPage* CreatePage(PageId page)
{
    switch (page) {
    case PageId::Connection:
        return new CFirstView;
    case PageId::Setpoints:
        return new CSecondView;
    case PageId::Groups:
        return new CGroupView;
    case PageId::Archive:
        return new CArhiveView;
    case PageId::Limits:
        return new CLimitView;
    case PageId::Pulse:
        return new CPortView;
    case PageId::Terminal:
        return new CTerminalView;
    }
    return nullptr;
}
