#include "shell/ConfigApp.h"
#include "shell/MainFrame.h"

int main(int argc, char* argv[])
{
    CMainFrame::MarkStartupClock();
    CConfigApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
