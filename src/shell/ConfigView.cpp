#include "ConfigView.h"

#include "AppSettings.h"
#include "ConfigDoc.h"
#include "ProgressBar.h"
#include "common/UserPrompt.h"
#include "device/DeviceMessages.h"
#include "device/FirstView.h"
#include "device/PasswordDialogs.h"
#include "device/PortScan.h"
#include "device/TerminalView.h"
#include "model/ModelChanged.h"
#include "rules/PortView.h"
#include "selection/ArhiveView.h"
#include "selection/GroupView.h"
#include "selection/LimitView.h"
#include "setpoints/SecondView.h"

#include <QLabel>
#include <QLineEdit>
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

const char16_t* const kCaptions[CConfigView::TabCount] = {
    u"Настройки соединения", u"Уставки", u"Группы", u"Архивируемые данные",
    u"Отклонения", u"Импульсные входы/выходы", u"Терминал",
};

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
    m_first = new CFirstView;
    m_second = new CSecondView;
    m_groups = new CGroupView;
    m_archive = new CArhiveView;
    m_limits = new CLimitView;
    m_pulse = new CPortView;
    m_terminal = new CTerminalView;
    m_pages = {m_first, m_second, m_groups, m_archive, m_limits, m_pulse, m_terminal};
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
    for (int tab = 0; tab < TabCount; ++tab)
        m_tabs->addTab(m_pages[std::size_t(tab)], QString::fromUtf16(kCaptions[tab]));
    m_tabs->setCurrentIndex(TabConnection);
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

    for (CFormPage* page : m_pages) {
        if (page != m_terminal)
            page->AttachProcessCommand(&m_processor);
    }
    m_initialised = true;
    modelChanged().Clear();
    LayoutPages();
}

void CConfigView::OnInitialUpdate()
{
    if (!m_initialised)
        FirstInitialUpdate();
    // The order the pages depend on: connection first, deviations last.
    for (CFormPage* page : {static_cast<CFormPage*>(m_first), static_cast<CFormPage*>(m_second),
                            static_cast<CFormPage*>(m_groups), static_cast<CFormPage*>(m_archive),
                            static_cast<CFormPage*>(m_pulse), static_cast<CFormPage*>(m_limits)})
        page->ExchangeWithModel(m_document.Model(), CFormPage::ToPage);
    modelChanged().Clear();
    m_first->findChild<QLineEdit*>(m_first->LinkChoiceValue() == CFirstView::EthernetLink
                                       ? QStringLiteral("ethernetAddress")
                                       : QStringLiteral("serialAddress"))
        ->setFocus();
}

void CConfigView::CollectPages()
{
    for (CFormPage* page : {static_cast<CFormPage*>(m_first), static_cast<CFormPage*>(m_second),
                            static_cast<CFormPage*>(m_groups), static_cast<CFormPage*>(m_archive),
                            static_cast<CFormPage*>(m_pulse), static_cast<CFormPage*>(m_limits)})
        page->ExchangeWithModel(m_document.Model(), CFormPage::ToModel);
}

void CConfigView::StoreSettings()
{
    AppSettings settings;
    m_first->StoreSettings(settings);
    m_terminal->StoreSettings(settings);
    WriteSettings(m_settingsPath, settings);
}

int CConfigView::CurrentTab() const
{
    const int index = m_tabs->currentIndex();
    return index >= 0 && index < TabCount ? index : TabConnection;
}

void CConfigView::SetCurrentTab(int tab)
{
    m_tabs->setCurrentIndex(tab);
}

void CConfigView::OnTabSelected(int index)
{
    emit CurrentTabChanged(index >= 0 && index < TabCount ? index : TabConnection);
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

QString CConfigView::ReadCommandText(int tab)
{
    switch (tab) {
    case TabConnection:
        return QStringLiteral("Считать информацию о приборе");
    case TabSetpoints:
        return QStringLiteral("Считать 'Уставки'");
    case TabGroups:
        return QStringLiteral("Считать 'Группы'");
    case TabArchive:
        return QStringLiteral("Считать 'Архивируемые данные'");
    case TabLimits:
        return QStringLiteral("Считать 'Отклонения'");
    case TabPulse:
        return QStringLiteral("Считать 'Импульсные входы/выходы'");
    default:
        return QStringLiteral("Считать данные из прибора");
    }
}

QString CConfigView::WriteCommandText(int tab)
{
    switch (tab) {
    case TabSetpoints:
        return QStringLiteral("Записать 'Уставки'");
    case TabGroups:
        return QStringLiteral("Записать 'Группы'");
    case TabArchive:
        return QStringLiteral("Записать 'Архивируемые данные'");
    case TabLimits:
        return QStringLiteral("Записать 'Отклонения'");
    case TabPulse:
        return QStringLiteral("Записать 'Импульсные входы/выходы'");
    default:
        return QStringLiteral("Записать данные в прибор");
    }
}

PageCallbacks CConfigView::CommandHooks(int tab, ConfigModel& model)
{
    PageCallbacks callbacks;
    callbacks.loadConnectionPage = [this, &model] { m_first->ExchangeWithModel(model, CFormPage::ToPage); };
    Page(tab)->ContributeHooks(callbacks, model);
    if (tab == TabPulse && !callbacks.dictionary) {
        // Until the pulse page brings its own dictionary and editor, the command uses the
        // shipped dictionary and keeps the decoded rules in the configuration.
        if (m_dictionary.isEmpty())
            m_dictionary.Load(TermDictionary::DefaultPath(), m_prompt);
        callbacks.dictionary = &m_dictionary;
        if (!callbacks.decodedRules && !callbacks.pulse.showText)
            callbacks.decodedRules = &model.pulse_rules_text;
    }
    return callbacks;
}

void CConfigView::OnReadFromDevice()
{
    const int tab = CurrentTab();
    if (!ReadCommandEnabled(tab))
        return;
    CProgressBar progress(m_messagePane, QStringLiteral("Чтение..."), kProgressSize, kProgressMaximum, true, kIdleText);
    ConfigModel& model = m_document.Model();
    ReadActivePage(PageKind(tab), m_first->CurrentTarget(), m_processor, model, progress, m_prompt,
                   CommandHooks(tab, model));
}

void CConfigView::OnWriteToDevice()
{
    const int tab = CurrentTab();
    if (!WriteCommandEnabled(tab))
        return;
    CProgressBar progress(m_messagePane, QStringLiteral("Запись..."), kProgressSize, kProgressMaximum, true, kIdleText);
    ConfigModel& model = m_document.Model();
    WriteActivePage(PageKind(tab), m_first->CurrentTarget(), m_processor, model, progress, m_prompt,
                    CommandHooks(tab, model));
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
