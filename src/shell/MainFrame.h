#pragma once
// The main window: menus, toolbar and status bar, the two links, the document and the page
// host, the file commands with the recently used files, drops, the splash and the about box.
#include <QFont>
#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QUrl>

#include "pages/PageTable.h"

#include <functional>
#include <memory>

class CConfigDoc;
class CConfigView;
class CFrameLogDock;
class CEthernetPort;
class CSerialPort;
class QLabel;
class QPrinter;
class UserPrompt;

// Command numbers of the menu and toolbar (the numbers the help and old notes use).
namespace command {
constexpr int kFileNew = 57600;
constexpr int kFileOpen = 57601;
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kFilePrintSetup = 57606;
constexpr int kFilePrint = 57607;
constexpr int kFilePrintPreview = 57609;
constexpr int kFileMru = 57616;
constexpr int kEditCopy = 57634;
constexpr int kEditCut = 57635;
constexpr int kEditPaste = 57637;
constexpr int kAppAbout = 57664;
constexpr int kAppExit = 57665;
constexpr int kHelp = 57667;
constexpr int kViewToolbar = 59392;
constexpr int kViewStatusBar = 59393;
constexpr int kWriteToDevice = 32772;
constexpr int kReadFromDevice = 32773;
constexpr int kChangePassword = 32781;
} // namespace command

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        UserPrompt* prompt = nullptr;  // message boxes when null
        QString settingsPath;          // the settings file when empty
        bool recentFiles = true;       // keep the recently used files in the user's store
    };

    explicit CMainFrame(const Options& options);
    CMainFrame() : CMainFrame(Options{}) {}
    ~CMainFrame() override;

    CConfigDoc& Document() { return *m_document; }
    CConfigView& View() { return *m_view; }
    // "Вид" -> "Журнал обмена": every frame of the run.
    CFrameLogDock& FrameLog() { return *m_frameLog; }
    CSerialPort& SerialLink() { return *m_serial; }
    CEthernetPort& EthernetLink() { return *m_ethernet; }
    UserPrompt& Prompt() { return *m_prompt; }
    QAction* Action(int commandId) const { return m_actions.value(commandId); }
    QLabel* MessagePane() const { return m_messagePane; }
    QLabel* ConnectionPane() const { return m_connectionPane; }
    const QFont& UiFont() const { return m_uiFont; }
    QPrinter& Printer();

    // File commands. Each asks to save a changed document first.
    void OnFileNew();
    void OnFileOpen();
    bool OpenDocumentFile(const QString& path);
    void OnFileSave();
    void OnFileSaveAs();
    // Files dropped on the window; false when none of them is a local file.
    bool OpenDroppedFiles(const QList<QUrl>& urls);

    // The file dialogs; tests replace them. Empty answers cancel.
    void SetOpenFileAsker(std::function<QString()> ask) { m_askOpen = std::move(ask); }
    void SetSaveAsAsker(std::function<QString(const QString&)> ask);

    QStringList RecentFiles() const { return m_recent; }

    void ShowAbout();
    void ShowHelp();

    // The configuration report: "Печать..." through the print dialog (pages 1..5),
    // "Предварительный просмотр" in the preview window. Both store every page into the model
    // first, so the report shows what the pages show.
    void OnFilePrint();
    void OnFilePrintPreview();
    // The print time of the last print or preview ("14:05:09 31/12/2012").
    const QString& PrintTime() const { return m_printTime; }
    // The entries of the voltage page's ratio list, which ratio_index picks from.
    QStringList RatioEntries() const;

    // Prints how long the start took when the window first paints (LADOGRAF_STARTUP_TIMING).
    static void MarkStartupClock();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateDeviceCommands(PageId tab);
    void UpdateTitle();
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);
    void LoadRecentFiles();
    void SaveRecentFiles() const;
    void RebuildRecentMenu();
    QAction* AddAction(int commandId, const QString& text, const QString& prompt);

    std::unique_ptr<UserPrompt> m_ownPrompt;
    UserPrompt* m_prompt = nullptr;
    std::unique_ptr<CSerialPort> m_serial;
    std::unique_ptr<CEthernetPort> m_ethernet;
    CConfigDoc* m_document = nullptr;
    CConfigView* m_view = nullptr;
    CFrameLogDock* m_frameLog = nullptr;
    QHash<int, QAction*> m_actions;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentAnchor = nullptr;
    QList<QAction*> m_recentActions;
    QStringList m_recent;
    bool m_keepRecent = true;
    QLabel* m_messagePane = nullptr;
    QLabel* m_connectionPane = nullptr;
    QFont m_uiFont;
    // The printer the report prints on; "Настройка принтера..." sets it up.
    std::unique_ptr<QPrinter> m_printer;
    QString m_printTime;
    std::function<QString()> m_askOpen;
    bool m_painted = false;
};
