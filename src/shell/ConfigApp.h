#pragma once
// The application: parses the command line, builds the main window with its document and
// page host, shows the splash, opens the file named on the command line or starts a new
// document, and shows the window.
#include <QApplication>

#include <memory>

class CMainFrame;
class QCoreApplication;

// The toolkit's own words (the buttons of message boxes, the file and printer dialogs) in
// Russian, from the Qt translations installed with the system; false when they are missing
// and the toolkit stays in English.
bool InstallToolkitTranslations(QCoreApplication& app);

class CConfigApp : public QApplication {
public:
    CConfigApp(int& argc, char** argv);
    ~CConfigApp() override;

    // False when the program is to end at once (the named file could not be opened).
    bool InitInstance();
    CMainFrame* MainFrame() const { return m_frame.get(); }

    // The document the program starts with: the first file named on the command line, or a
    // new one. False when the file could not be opened (its report has been shown).
    static bool OpenStartDocument(CMainFrame& frame, const QStringList& files);

private:
    std::unique_ptr<CMainFrame> m_frame;
};
