#include "MainFrame.h"

#include "AboutBox.h"
#include "ConfigDoc.h"
#include "ConfigView.h"
#include "FrameLogDock.h"
#include "HelpWindow.h"
#include "ReportContent.h"
#include "ReportPainter.h"
#include "ToolbarIcons.h"
#include "common/UserPrompt.h"
#include "device/EthernetPort.h"
#include "device/FirstView.h"
#include "device/GuiPrompt.h"
#include "device/SerialPort.h"
#include "setpoints/DataDeltaDialog.h"
#include "setpoints/SecondView.h"
#include "model/ModelChanged.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QTextStream>
#include <QToolBar>

namespace {

const QString kAppTitle = QStringLiteral("Ладограф");
const QString kFileFilter = QStringLiteral("Файлы конфигуратора cfg (*.cfg)");
constexpr int kRecentCount = 4;
constexpr int kTooltipMax = 80;

QElapsedTimer& StartupClock()
{
    static QElapsedTimer clock;
    return clock;
}

// The recently used files live in the user's own settings store.
QSettings RecentStore()
{
    return QSettings(QStringLiteral("VX"), QStringLiteral("Ладограф"));
}

} // namespace

void CMainFrame::MarkStartupClock()
{
    StartupClock().start();
}

CMainFrame::CMainFrame(const Options& options)
    : m_keepRecent(options.recentFiles)
{
    if (options.prompt) {
        m_prompt = options.prompt;
    } else {
        m_ownPrompt = std::make_unique<GuiPrompt>(this);
        m_prompt = m_ownPrompt.get();
    }
    m_serial = std::make_unique<CSerialPort>(*m_prompt);
    m_ethernet = std::make_unique<CEthernetPort>();

    m_uiFont = QFont(QStringLiteral("Arial"));
    m_uiFont.setPixelSize(16);
    m_uiFont.setWeight(QFont::Normal);
    m_uiFont.setStyleHint(QFont::SansSerif);

    m_document = new CConfigDoc(*m_prompt, this);
    m_view = new CConfigView(*m_document, *m_prompt, this);
    if (!options.settingsPath.isEmpty())
        m_view->SetSettingsPath(options.settingsPath);
    m_view->SetLinks(m_serial.get(), m_ethernet.get());
    setCentralWidget(m_view);
    // The log keeps the run's frames whether it shows or not.
    m_frameLog = new CFrameLogDock(*m_prompt, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_frameLog);
    m_frameLog->hide();
    m_view->Processor().SetFrameObserver(&m_frameLog->Observer());

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    m_view->SetStatusPanes(m_messagePane, m_connectionPane);

    SetSaveAsAsker({});
    m_askOpen = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(), kFileFilter);
    };
    connect(m_view, &CConfigView::CurrentTabChanged, this, &CMainFrame::UpdateDeviceCommands);
    connect(m_document, &CConfigDoc::DocumentReplaced, m_view, &CConfigView::OnInitialUpdate);
    connect(m_document, &CConfigDoc::PathChanged, this, [this](const QString& path) {
        if (!path.isEmpty())
            AddRecentFile(path);
        UpdateTitle();
    });
    UpdateDeviceCommands(PageId::Connection);
    LoadRecentFiles();
    UpdateTitle();
    setAcceptDrops(true);
    resize(1000, 700);
}

CMainFrame::~CMainFrame()
{
    // The page host stores its settings while the links still exist.
    m_view->Processor().SetFrameObserver(nullptr);
    delete m_view;
    m_view = nullptr;
}

void CMainFrame::SetSaveAsAsker(std::function<QString(const QString&)> ask)
{
    if (!ask) {
        ask = [this](const QString& proposed) {
            return QFileDialog::getSaveFileName(this, QString(), proposed, kFileFilter);
        };
    }
    m_document->SetSaveAsAsker(std::move(ask));
}

QAction* CMainFrame::AddAction(int commandId, const QString& text, const QString& prompt)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QStringLiteral("command%1").arg(commandId));
    action->setStatusTip(prompt);
    action->setToolTip(prompt.left(kTooltipMax));
    // A toolbar button shows only its icon; its icon text is what a screen reader says
    // (without it the reader would say the menu text with its shortcut).
    if (!prompt.isEmpty())
        action->setIconText(action->toolTip());
    m_actions.insert(commandId, action);
    return action;
}

void CMainFrame::CreateActions()
{
    using namespace command;
    AddAction(kFileNew, QStringLiteral("Новый\tCtrl+N"), QStringLiteral("Создать новый документ"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    AddAction(kFileOpen, QStringLiteral("Открыть...\tCtrl+O"), QStringLiteral("Открыть существующий документ"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    AddAction(kFileSave, QStringLiteral("Сохранить\tCtrl+S"), QStringLiteral("Сохранить активный документ"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    AddAction(kFileSaveAs, QStringLiteral("Сохранить Как..."), QStringLiteral("Сохранить активный документ с новым именем"));
    AddAction(kFilePrint, QStringLiteral("Печать...\tCtrl+P"), QStringLiteral("Печать отчета"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    AddAction(kFilePrintPreview, QStringLiteral("Предварительный просмотр"), QStringLiteral("Показать всю страницу"));
    AddAction(kFilePrintSetup, QStringLiteral("Настройка принтера..."), QStringLiteral("Изменить настройки принтера и печати"));
    AddAction(kFileMru, QStringLiteral("Последний файл"), QStringLiteral("Открыть этот документ"))->setEnabled(false);
    AddAction(kAppExit, QStringLiteral("Выход"), QStringLiteral("Выйти из приложения; предварительно сохранив документ"));
    AddAction(kEditCut, QStringLiteral("Вырезать\tCtrl+X"), QStringLiteral("Вырезать"));
    AddAction(kEditCopy, QStringLiteral("Копировать\tCtrl+C"), QStringLiteral("Копировать"));
    AddAction(kEditPaste, QStringLiteral("Вставить\tCtrl+V"), QStringLiteral("Вставить"));
    AddAction(kReadFromDevice, QString(), QString());
    AddAction(kWriteToDevice, QString(), QString());
    AddAction(kChangePassword, QStringLiteral("Сменить пароль"), QStringLiteral("Смена пароля"));
    AddAction(kViewToolbar, QStringLiteral("Панель инструментов"), QStringLiteral("Показать или скрыть панель инструментов"))
        ->setCheckable(true);
    AddAction(kViewStatusBar, QStringLiteral("Панель состояния"), QStringLiteral("Показать или скрыть панель состояния"))
        ->setCheckable(true);
    // Help has no prompt of its own: the message pane stays idle over it.
    AddAction(kHelp, QStringLiteral("Справка"), QString());
    AddAction(kAppAbout, QStringLiteral("&О программе..."), QStringLiteral("О программе..."));

    connect(Action(kFileNew), &QAction::triggered, this, &CMainFrame::OnFileNew);
    connect(Action(kFileOpen), &QAction::triggered, this, &CMainFrame::OnFileOpen);
    connect(Action(kFileSave), &QAction::triggered, this, &CMainFrame::OnFileSave);
    connect(Action(kFileSaveAs), &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    connect(Action(kAppExit), &QAction::triggered, this, &CMainFrame::close);
    connect(Action(kEditCut), &QAction::triggered, m_view, &CConfigView::OnEditCut);
    connect(Action(kEditCopy), &QAction::triggered, m_view, &CConfigView::OnEditCopy);
    connect(Action(kEditPaste), &QAction::triggered, m_view, &CConfigView::OnEditPaste);
    connect(Action(kReadFromDevice), &QAction::triggered, m_view, &CConfigView::OnReadFromDevice);
    connect(Action(kWriteToDevice), &QAction::triggered, m_view, &CConfigView::OnWriteToDevice);
    connect(Action(kChangePassword), &QAction::triggered, m_view, &CConfigView::OnChangePassword);
    connect(Action(kFilePrint), &QAction::triggered, this, &CMainFrame::OnFilePrint);
    connect(Action(kFilePrintPreview), &QAction::triggered, this, &CMainFrame::OnFilePrintPreview);
    connect(Action(kFilePrintSetup), &QAction::triggered, this, [this] {
        QPageSetupDialog dialog(&Printer(), this);
        dialog.exec();
    });
    connect(Action(kHelp), &QAction::triggered, this, &CMainFrame::ShowHelp);
    connect(Action(kAppAbout), &QAction::triggered, this, &CMainFrame::ShowAbout);

    Action(kFileNew)->setIcon(ToolbarIcon(ToolbarIconKind::New));
    Action(kFileOpen)->setIcon(ToolbarIcon(ToolbarIconKind::Open));
    Action(kFileSave)->setIcon(ToolbarIcon(ToolbarIconKind::Save));
    Action(kEditCut)->setIcon(ToolbarIcon(ToolbarIconKind::Cut));
    Action(kEditCopy)->setIcon(ToolbarIcon(ToolbarIconKind::Copy));
    Action(kEditPaste)->setIcon(ToolbarIcon(ToolbarIconKind::Paste));
    Action(kReadFromDevice)->setIcon(ToolbarIcon(ToolbarIconKind::Read));
    Action(kWriteToDevice)->setIcon(ToolbarIcon(ToolbarIconKind::Write));
    Action(kFilePrint)->setIcon(ToolbarIcon(ToolbarIconKind::Print));
    Action(kAppAbout)->setIcon(ToolbarIcon(ToolbarIconKind::About));
}

void CMainFrame::CreateMenus()
{
    using namespace command;
    m_fileMenu = menuBar()->addMenu(QStringLiteral("Файл"));
    m_fileMenu->addAction(Action(kFileNew));
    m_fileMenu->addAction(Action(kFileOpen));
    m_fileMenu->addAction(Action(kFileSave));
    m_fileMenu->addAction(Action(kFileSaveAs));
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(kFilePrint));
    m_fileMenu->addAction(Action(kFilePrintPreview));
    m_fileMenu->addAction(Action(kFilePrintSetup));
    m_fileMenu->addSeparator();
    m_recentAnchor = Action(kFileMru);
    m_fileMenu->addAction(m_recentAnchor);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(kAppExit));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Редактирование"));
    edit->addAction(Action(kEditCut));
    edit->addAction(Action(kEditCopy));
    edit->addAction(Action(kEditPaste));

    QMenu* actions = menuBar()->addMenu(QStringLiteral("Действия"));
    actions->addAction(Action(kReadFromDevice));
    actions->addAction(Action(kWriteToDevice));
    actions->addSeparator();
    actions->addAction(Action(kChangePassword));

    QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
    view->addAction(Action(kViewToolbar));
    view->addAction(Action(kViewStatusBar));
    QAction* frameLog = m_frameLog->toggleViewAction();
    frameLog->setObjectName(QStringLiteral("viewFrameLog"));
    frameLog->setStatusTip(QStringLiteral("Показать или скрыть журнал обмена с прибором"));
    view->addAction(frameLog);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Помощь"));
    help->addAction(Action(kHelp));
    help->addAction(Action(kAppAbout));
}

void CMainFrame::CreateToolBar()
{
    using namespace command;
    QToolBar* bar = addToolBar(QStringLiteral("Стандартная"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setIconSize(QSize(16, 16));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->addAction(Action(kFileNew));
    bar->addAction(Action(kFileOpen));
    bar->addAction(Action(kFileSave));
    bar->addSeparator();
    bar->addAction(Action(kEditCut));
    bar->addAction(Action(kEditCopy));
    bar->addAction(Action(kEditPaste));
    bar->addSeparator();
    bar->addAction(Action(kReadFromDevice));
    bar->addAction(Action(kWriteToDevice));
    bar->addSeparator();
    bar->addAction(Action(kFilePrint));
    bar->addAction(Action(kAppAbout));
    Action(kViewToolbar)->setChecked(true);
    connect(Action(kViewToolbar), &QAction::toggled, bar, &QToolBar::setVisible);
    connect(bar, &QToolBar::visibilityChanged, Action(kViewToolbar), &QAction::setChecked);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    m_messagePane = new QLabel(QStringLiteral(" "), bar);
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_messagePane, 1);
    m_connectionPane = new QLabel(bar);
    m_connectionPane->setObjectName(QStringLiteral("connectionPane"));
    m_connectionPane->setMinimumWidth(m_connectionPane->fontMetrics().horizontalAdvance(QStringLiteral("COM1:115200")) + 8);
    m_connectionPane->setAlignment(Qt::AlignCenter);
    bar->addPermanentWidget(m_connectionPane);
    Action(command::kViewStatusBar)->setChecked(true);
    connect(Action(command::kViewStatusBar), &QAction::toggled, bar, &QStatusBar::setVisible);
}

void CMainFrame::UpdateDeviceCommands(PageId tab)
{
    const PageDescriptor& page = Page(tab);
    const auto show = [this](QAction* action, const QString& text, bool enabled) {
        action->setText(text);
        action->setToolTip(text.left(kTooltipMax));
        action->setIconText(action->toolTip());
        action->setStatusTip(text);
        action->setEnabled(enabled);
    };
    show(Action(command::kReadFromDevice), page.ReadText(), page.Reads());
    show(Action(command::kWriteToDevice), page.WriteText(), page.Writes());
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(m_document->Title() + QStringLiteral(" - ") + kAppTitle);
}

void CMainFrame::OnFileNew()
{
    if (!m_document->SaveModified())
        return;
    m_document->OnNewDocument();
}

void CMainFrame::OnFileOpen()
{
    const QString path = m_askOpen ? m_askOpen() : QString();
    if (path.isEmpty())
        return;
    OpenDocumentFile(path);
}

bool CMainFrame::OpenDocumentFile(const QString& path)
{
    if (!m_document->SaveModified())
        return false;
    if (!m_document->OnOpenDocument(path)) {
        RemoveRecentFile(QFileInfo(path).absoluteFilePath());
        return false;
    }
    return true;
}

void CMainFrame::OnFileSave()
{
    m_document->DoFileSave();
}

void CMainFrame::OnFileSaveAs()
{
    m_document->DoSaveAs();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_document->SaveModified()) {
        event->ignore();
        return;
    }
    SaveRecentFiles();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (OpenDroppedFiles(event->mimeData()->urls()))
        event->acceptProposedAction();
}

bool CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls)
{
    // One document at a time: the first local file is opened like File Open.
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            activateWindow();
            OpenDocumentFile(url.toLocalFile());
            return true;
        }
    }
    return false;
}

bool CMainFrame::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        if (StartupClock().isValid() && qEnvironmentVariableIsSet("LADOGRAF_STARTUP_TIMING"))
            QTextStream(stderr) << "ladograf: main window painted " << StartupClock().elapsed()
                                << " ms after main() began, at epoch ms " << QDateTime::currentMSecsSinceEpoch() << "\n";
    }
    return handled;
}

void CMainFrame::LoadRecentFiles()
{
    m_recent.clear();
    if (m_keepRecent) {
        QSettings store = RecentStore();
        store.beginGroup(QStringLiteral("Recent File List"));
        for (int i = 1; i <= kRecentCount; ++i) {
            const QString path = store.value(QStringLiteral("File%1").arg(i)).toString();
            if (!path.isEmpty())
                m_recent << path;
        }
    }
    RebuildRecentMenu();
}

void CMainFrame::SaveRecentFiles() const
{
    if (!m_keepRecent)
        return;
    QSettings store = RecentStore();
    store.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 1; i <= kRecentCount; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_recent.size())
            store.setValue(key, m_recent[i - 1]);
        else
            store.remove(key);
    }
}

void CMainFrame::AddRecentFile(const QString& path)
{
    m_recent.removeAll(path);
    m_recent.prepend(path);
    while (m_recent.size() > kRecentCount)
        m_recent.removeLast();
    RebuildRecentMenu();
    SaveRecentFiles();
}

void CMainFrame::RemoveRecentFile(const QString& path)
{
    if (m_recent.removeAll(path) > 0) {
        RebuildRecentMenu();
        SaveRecentFiles();
    }
}

void CMainFrame::RebuildRecentMenu()
{
    for (QAction* action : std::as_const(m_recentActions)) {
        m_fileMenu->removeAction(action);
        delete action;
    }
    m_recentActions.clear();
    // The placeholder stands in the menu while the list is empty, as the framework shows it.
    m_recentAnchor->setVisible(m_recent.isEmpty());
    for (int i = 0; i < m_recent.size(); ++i) {
        const QString path = m_recent[i];
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)), this);
        action->setStatusTip(QStringLiteral("Открыть этот документ"));
        connect(action, &QAction::triggered, this, [this, path] { OpenDocumentFile(path); });
        m_fileMenu->insertAction(m_recentAnchor, action);
        m_recentActions << action;
    }
}

QStringList CMainFrame::RatioEntries() const
{
    // The voltage page's list as it stands: a ratio typed in this run prints too.
    QStringList entries;
    const QComboBox* list = m_view->SetpointPage()->VoltagePage()->RatioList();
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

void CMainFrame::OnFilePrint()
{
    QPrinter& printer = Printer();
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, kReportPageCount);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_printTime = ReportPrintTime(QDateTime::currentDateTime());
    m_view->CollectPages();
    int first = 1;
    int last = kReportPageCount;
    if (printer.printRange() == QPrinter::PageRange) {
        first = printer.fromPage();
        last = printer.toPage();
    }
    PaintReport(printer, m_document->Model(), m_document->PathName(), m_printTime, first, last, RatioEntries());
}

void CMainFrame::OnFilePrintPreview()
{
    m_printTime = ReportPrintTime(QDateTime::currentDateTime());
    m_view->CollectPages();
    QPrintPreviewDialog dialog(&Printer(), this);
    dialog.setObjectName(QStringLiteral("reportPreview"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        PaintReport(*printer, m_document->Model(), m_document->PathName(), m_printTime, 1, kReportPageCount,
                    RatioEntries());
    });
    dialog.exec();
}

QPrinter& CMainFrame::Printer()
{
    // Made on first use: finding the default printer can take a while.
    if (!m_printer) {
        // The report is laid out in the dots of a 600 dpi page, on paper as in the preview.
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setResolution(600);
    }
    return *m_printer;
}

void CMainFrame::ShowAbout()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::ShowHelp()
{
    if (!CHelpWindow::Show(this, 3))
        m_prompt->Notice(QStringLiteral("Failed to launch help."));
}
