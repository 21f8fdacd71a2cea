#include "HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

namespace {
const QString kBuiltInHelp = QStringLiteral(":/help/ladograf.html");
}

QString CHelpWindow::HelpFile()
{
    // An installed program shows the book of its data folder; in the build tree, and when
    // that file is gone, it shows the copy it carries.
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                              + QStringLiteral("/../share/ladograf/help/ladograf.html"));
    return QFileInfo(installed).isFile() ? installed : kBuiltInHelp;
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
    const QString file = HelpFile();
    QUrl url = file.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + file) : QUrl::fromLocalFile(file);
    url.setFragment(QStringLiteral("topic%1").arg(topic));
    return url;
}

bool CHelpWindow::Show(QWidget* owner, int topic)
{
    static QPointer<CHelpWindow> window;
    if (!QFile::exists(HelpFile()))
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
