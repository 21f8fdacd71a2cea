#pragma once
// The page host: the tab strip with the seven pages, the one protocol engine they share,
// loading the pages from the model after New and Open, the read and write commands of the
// active page, "Сменить пароль", the Edit commands, the port scan and the settings file.
#include "device/ActivePage.h"
#include "device/PageExchange.h"
#include "device/ProcessCommand.h"
#include "rules/TermDictionary.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class CArhiveView;
class CConfigDoc;
class CEthernetPort;
class CFirstView;
class CFormPage;
class CGroupView;
class CLimitView;
class CPortScan;
class CPortView;
class CSecondView;
class CSerial;
class CTerminalView;
class QLabel;
class QTabWidget;
class UserPrompt;

class CConfigView : public QWidget {
    Q_OBJECT
public:
    enum Tab { TabConnection, TabSetpoints, TabGroups, TabArchive, TabLimits, TabPulse, TabTerminal, TabCount };

    CConfigView(CConfigDoc& document, UserPrompt& prompt, QWidget* parent = nullptr);
    ~CConfigView() override;

    // Before the first initial update: the main window's links, its two status panes and
    // the settings file.
    void SetLinks(CSerial* serial, CEthernetPort* ethernet);
    void SetStatusPanes(QLabel* messagePane, QLabel* connectionPane);
    void SetSettingsPath(const QString& path) { m_settingsPath = path; }
    // Replaces the machine's serial ports for the port scan (tests).
    CPortScan& PortScan() { return *m_scan; }

    // After every New and Open; the first call also builds the host (tabs, settings, scan).
    void OnInitialUpdate();
    bool IsInitialised() const { return m_initialised; }

    int CurrentTab() const;
    void SetCurrentTab(int tab);
    CFormPage* Page(int tab) const { return m_pages[std::size_t(tab)]; }
    CFirstView* ConnectionPage() const { return m_first; }
    CSecondView* SetpointPage() const { return m_second; }
    CTerminalView* TerminalPage() const { return m_terminal; }
    CProcessCommand& Processor() { return m_processor; }
    QTabWidget* Tabs() const { return m_tabs; }

    // The read and write commands' texts and states by tab.
    static QString ReadCommandText(int tab);
    static QString WriteCommandText(int tab);
    static bool ReadCommandEnabled(int tab) { return tab != TabTerminal; }
    static bool WriteCommandEnabled(int tab) { return tab != TabConnection && tab != TabTerminal; }

    // Stores every page into the model (before a save or a print).
    void CollectPages();
    // Writes the connection and terminal settings into the settings file.
    void StoreSettings();

    // What "Сменить пароль" asks: level index, old and new password; nullopt on cancel.
    struct PasswordChange {
        int levelIndex = 0;
        QByteArray oldPassword;
        QByteArray newPassword;
    };
    void SetPasswordDialog(std::function<std::optional<PasswordChange>()> dialog) { m_passwordDialog = std::move(dialog); }

public slots:
    void OnReadFromDevice();
    void OnWriteToDevice();
    void OnChangePassword();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();

signals:
    void CurrentTabChanged(int tab);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FirstInitialUpdate();
    void OnTabSelected(int index);
    void OnPortScanFinished(const QStringList& ports);
    void UpdateConnectionPane();
    void LayoutPages();
    // The connection page's settings with the address tested, for both commands; nullopt
    // after the address notice.
    // The hooks the active page adds to the shared read and write routines.
    PageCallbacks CommandHooks(int tab, ConfigModel& model);

    CConfigDoc& m_document;
    UserPrompt& m_prompt;
    TermDictionary m_dictionary;
    CProcessCommand m_processor;
    QTabWidget* m_tabs = nullptr;
    std::array<CFormPage*, TabCount> m_pages{};
    CFirstView* m_first = nullptr;
    CSecondView* m_second = nullptr;
    CGroupView* m_groups = nullptr;
    CArhiveView* m_archive = nullptr;
    CLimitView* m_limits = nullptr;
    CPortView* m_pulse = nullptr;
    CTerminalView* m_terminal = nullptr;
    CPortScan* m_scan = nullptr;
    QPointer<QLabel> m_messagePane;
    QPointer<QLabel> m_connectionPane;
    QString m_settingsPath;
    bool m_initialised = false;
    QRect m_lastClient;
    bool m_laidOut = false;
    std::function<std::optional<PasswordChange>()> m_passwordDialog;
};
