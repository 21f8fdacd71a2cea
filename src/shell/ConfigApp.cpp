#include "ConfigApp.h"

#include "ConfigDoc.h"
#include "ConfigView.h"
#include "MainFrame.h"
#include "Splash.h"
#include "device/FirstView.h"

#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// "--meter HOST:PORT" points the Ethernet link at a meter for this run (the run script
// uses it with the virtual meter), without changing what a normal first start shows.
void PointEthernetAt(CFirstView& page, const QString& target)
{
    const int colon = target.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return;
    page.PointEthernetAt(target.left(colon), target.mid(colon + 1));
}

} // namespace

bool InstallToolkitTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

CConfigApp::CConfigApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("VX"));
    setApplicationName(QStringLiteral("Ладограф"));
    setApplicationDisplayName(QStringLiteral("Ладограф"));
    // The icon of the installed theme (hicolor); none when the program runs from the build tree.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("ladograf")));
    InstallToolkitTranslations(*this);
}

CConfigApp::~CConfigApp() = default;

bool CConfigApp::OpenStartDocument(CMainFrame& frame, const QStringList& files)
{
    CConfigDoc& document = frame.Document();
    return files.isEmpty() ? document.OnNewDocument() : document.OnOpenDocument(files.first());
}

bool CConfigApp::InitInstance()
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("a .cfg file to open"));
    const QCommandLineOption noSplash(QStringLiteral("nosplash"), QStringLiteral("start without the splash"));
    const QCommandLineOption meter(QStringLiteral("meter"), QStringLiteral("Ethernet link to HOST:PORT for this run"),
                                   QStringLiteral("HOST:PORT"));
    parser.addOption(noSplash);
    parser.addOption(meter);
    parser.addHelpOption();
    parser.process(*this);

    m_frame = std::make_unique<CMainFrame>();
    if (!OpenStartDocument(*m_frame, parser.positionalArguments()))
        return false;
    if (parser.isSet(meter))
        PointEthernetAt(*m_frame->View().ConnectionPage(), parser.value(meter));
    m_frame->showMaximized();
    if (!parser.isSet(noSplash))
        CSplashWnd::ShowSplashScreen(m_frame.get());
    return true;
}
