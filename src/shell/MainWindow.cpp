#include "MainWindow.h"

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Ладограф"));
    resize(900, 640);
}
