#pragma once
// The page host: the tab strip with the seven pages, the one protocol engine they share,
// loading the pages from the model after New and Open, the read and write commands of the
// active page, "Сменить пароль", the Edit commands, the port scan and the settings file.
#include "device/ProcessCommand.h"
#include "pages/PageTable.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class CConfigDoc;
class CEthernetPort;
class CFirstView;
class CFormPage;
class CPortScan;
class CSecondView;
class CSerial;
class CTerminalView;
class QLabel;
class QTabWidget;
class UserPrompt;

class CConfigView : public QWidget {
    Q_OBJECT
public:
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

    PageId CurrentTab() const;
    void SetCurrentTab(PageId page);
    CFormPage* Page(PageId page) const { return m_pages[std::size_t(PageIndex(page))]; }
    CFirstView* ConnectionPage() const { return m_first; }
    CSecondView* SetpointPage() const { return m_second; }
    CTerminalView* TerminalPage() const { return m_terminal; }
    CProcessCommand& Processor() { return m_processor; }
    QTabWidget* Tabs() const { return m_tabs; }

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
    void CurrentTabChanged(PageId page);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FirstInitialUpdate();
    void OnTabSelected(int index);
    void OnPortScanFinished(const QStringList& ports);
    void UpdateConnectionPane();
    void LayoutPages();
    // Runs the read or the write command of the active page.
    void RunPageCommand(bool write);

    CConfigDoc& m_document;
    UserPrompt& m_prompt;
    CProcessCommand m_processor;
    QTabWidget* m_tabs = nullptr;
    std::array<CFormPage*, kPageCount> m_pages{};
    CFirstView* m_first = nullptr;
    CSecondView* m_second = nullptr;
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
