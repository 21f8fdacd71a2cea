#include <QApplication>

#include "shell/MainWindow.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VX"));
    QApplication::setApplicationName(QStringLiteral("Ладограф"));
    CMainFrame frame;
    frame.show();
    return app.exec();
}
