#include "HelpWindow.h"

#include <QFile>
#include <QPointer>

namespace {
const QString kHelpFile = QStringLiteral(":/help/ladograf.html");
}

CHelpWindow::CHelpWindow(QWidget* parent)
    : QTextBrowser(parent)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Ладограф - Справка"));
    setOpenExternalLinks(true);
    resize(640, 520);
}

QUrl CHelpWindow::TopicUrl(int topic)
{
    QUrl url(QStringLiteral("qrc") + kHelpFile);
    url.setFragment(QStringLiteral("topic%1").arg(topic));
    return url;
}

bool CHelpWindow::Show(QWidget* owner, int topic)
{
    static QPointer<CHelpWindow> window;
    if (!QFile::exists(kHelpFile))
        return false;
    if (!window) {
        window = new CHelpWindow(owner);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->setSource(TopicUrl(topic));
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}
