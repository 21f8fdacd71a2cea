#include "ConfigView.h"

#include "AppSettings.h"
#include "ConfigDoc.h"
#include "ProgressBar.h"
#include "common/UserPrompt.h"
#include "PageFactory.h"
#include "device/FirstView.h"
#include "device/PasswordDialogs.h"
#include "device/PortScan.h"
#include "device/TerminalView.h"
#include "model/ArchivePhaseAction.h"
#include "model/ModelChanged.h"
#include "setpoints/SecondView.h"

#include <QLabel>
#include <QTabWidget>

namespace {

// The status bar's message pane when nothing runs.
const QString kIdleText = QStringLiteral(" ");

// The indicator of the read and write commands takes 40 % of the pane, range 0..150.
constexpr int kProgressSize = 40;
constexpr int kProgressMaximum = kCommandProgressMaximum;

// Below this size in both directions the pages keep their last layout.
constexpr int kMinLayoutWidth = 714;
constexpr int kMinLayoutHeight = 398;

} // namespace

CConfigView::CConfigView(CConfigDoc& document, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent)
    , m_document(document)
    , m_prompt(prompt)
    , m_processor(prompt)
    , m_settingsPath(SettingsFilePath())
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pageTabs"));
    for (const PageDescriptor& page : PageTable())
        m_pages[std::size_t(PageIndex(page.id))] = CreatePage(page.id);
    m_first = static_cast<CFirstView*>(Page(PageId::Connection));
    m_second = static_cast<CSecondView*>(Page(PageId::Setpoints));
    m_terminal = static_cast<CTerminalView*>(Page(PageId::Terminal));
    m_first->SetModel(&m_document.Model());
    m_first->SetSystemAddressSink([this](const QString& text) { m_second->SetSystemAddressText(text); });
    m_scan = new CPortScan(this);
    connect(m_scan, &CPortScan::Finished, this, &CConfigView::OnPortScanFinished);
    connect(m_first, &CFirstView::LinkChanged, this, &CConfigView::UpdateConnectionPane);
    m_document.SetCollector([this] { CollectPages(); });
}

CConfigView::~CConfigView()
{
    if (m_initialised)
        StoreSettings();
}

void CConfigView::SetLinks(CSerial* serial, CEthernetPort* ethernet)
{
    m_first->SetLinks(serial, ethernet);
}

void CConfigView::SetStatusPanes(QLabel* messagePane, QLabel* connectionPane)
{
    m_messagePane = messagePane;
    m_connectionPane = connectionPane;
    UpdateConnectionPane();
}

void CConfigView::FirstInitialUpdate()
{
    for (const PageDescriptor& page : PageTable())
        m_tabs->addTab(Page(page.id), page.Caption());
    m_tabs->setCurrentIndex(PageIndex(PageId::Connection));
    connect(m_tabs, &QTabWidget::currentChanged, this, &CConfigView::OnTabSelected);

    const AppSettings settings = ReadSettings(m_settingsPath);
    // The last used address goes into a new configuration; a file opened at start keeps its
    // own, or the page would show (and a save would write) an address the file never had.
    if (m_document.PathName().isEmpty()) {
        const int number = LeadingNumber(settings.number);
        m_document.Model().connection_address = number;
        m_document.Model().device_address = std::uint16_t(number);
    }
    m_first->LoadSettings(settings);
    m_terminal->LoadSettings(settings);

    m_first->SetRefreshEnabled(false);
    m_terminal->SetRefreshEnabled(false);
    m_scan->Start();

    // The pages that talk to the meter get the engine in the order they load from the model.
    for (PageId page : ModelExchangeOrder())
        Page(page)->AttachProcessCommand(&m_processor);
    m_initialised = true;
    modelChanged().Clear();
    archivePhaseAction() = ArchivePhaseAction::None;
    m_first->FocusAddressField();
    LayoutPages();
}

void CConfigView::OnInitialUpdate()
{
    if (!m_initialised)
        FirstInitialUpdate();
    for (PageId page : ModelExchangeOrder())
        Page(page)->ExchangeWithModel(m_document.Model(), CFormPage::ToPage);
    modelChanged().Clear();
}

void CConfigView::CollectPages()
{
    for (PageId page : ModelExchangeOrder())
        Page(page)->ExchangeWithModel(m_document.Model(), CFormPage::ToModel);
}

void CConfigView::StoreSettings()
{
    AppSettings settings;
    m_first->StoreSettings(settings);
    m_terminal->StoreSettings(settings);
    WriteSettings(m_settingsPath, settings);
}

PageId CConfigView::CurrentTab() const
{
    return PageAt(m_tabs->currentIndex());
}

void CConfigView::SetCurrentTab(PageId page)
{
    m_tabs->setCurrentIndex(PageIndex(page));
}

void CConfigView::OnTabSelected(int index)
{
    emit CurrentTabChanged(PageAt(index));
}

void CConfigView::OnPortScanFinished(const QStringList& ports)
{
    // The saved names are read again: the user may have picked another port meanwhile,
    // but the scan selects what was saved, as it always did.
    m_first->SetPortList(ports, ReadSavedPortName(m_settingsPath, QStringLiteral("COM")));
    m_terminal->SetPortList(ports, ReadSavedPortName(m_settingsPath, QStringLiteral("TERM")));
    m_first->SetRefreshEnabled(true);
    m_terminal->SetRefreshEnabled(true);
}

void CConfigView::UpdateConnectionPane()
{
    if (m_connectionPane)
        m_connectionPane->setText(m_first->ConnectionPaneText());
}

void CConfigView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutPages();
}

void CConfigView::LayoutPages()
{
    const QRect client = rect();
    if (client == m_lastClient)
        return;
    m_lastClient = client;
    if (client.height() < kMinLayoutHeight && client.width() < kMinLayoutWidth && m_laidOut)
        return;
    m_laidOut = true;
    m_tabs->setGeometry(client);
    // The page rectangle below the tabs, in the host's coordinates.
    const QRect page(client.left(), client.top() + 21, client.width() - 4, client.height() - 21 - 2);
    for (CFormPage* p : m_pages)
        p->LayoutStretchingControls(page, client);
}

void CConfigView::RunPageCommand(bool write)
{
    const PageId current = CurrentTab();
    const PageDescriptor& page = ::Page(current);
    if (!(write ? page.Writes() : page.Reads()))
        return;
    CProgressBar progress(m_messagePane, write ? QStringLiteral("Запись...") : QStringLiteral("Чтение..."),
                          kProgressSize, kProgressMaximum, true, kIdleText);
    ConfigModel& model = m_document.Model();
    PageContext context{m_first->CurrentTarget(), m_processor, model, progress, m_prompt,
                        [this, &model] { m_first->ShowIdentity(model); }};
    PageHooks hooks;
    Page(current)->ContributeHooks(hooks, model);
    if (write)
        WriteActivePage(current, context, hooks);
    else
        ReadActivePage(current, context, hooks);
}

void CConfigView::OnReadFromDevice()
{
    RunPageCommand(false);
}

void CConfigView::OnWriteToDevice()
{
    RunPageCommand(true);
}

void CConfigView::OnChangePassword()
{
    std::optional<PasswordChange> change;
    if (m_passwordDialog) {
        change = m_passwordDialog();
    } else {
        CDialogChangPasswd dialog(m_prompt, this);
        if (dialog.exec() == QDialog::Accepted)
            change = PasswordChange{dialog.LevelIndex(), dialog.OldPassword(), dialog.NewPassword()};
    }
    if (!change)
        return;
    // Like "Проверка связи", but without the address range test: the engine refuses
    // address 0 itself.
    ApplyLinkSettings(m_processor, m_first->CurrentTarget());
    m_processor.ChangePassword(change->levelIndex, change->oldPassword, change->newPassword);
}

void CConfigView::OnEditCut()
{
    Page(CurrentTab())->EditCut();
}

void CConfigView::OnEditCopy()
{
    Page(CurrentTab())->EditCopy();
}

void CConfigView::OnEditPaste()
{
    Page(CurrentTab())->EditPaste();
}
