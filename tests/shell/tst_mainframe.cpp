// The main window and the page host: menus and toolbar, the commands that follow the tab,
// the document's life cycle with the save prompt, the settings file at start and exit,
// the port scan, the layout rule, the splash and the progress indicator.
#include "ScriptedPrompt.h"
#include "device/DeviceMessages.h"
#include "device/EthernetPort.h"
#include "device/FirstView.h"
#include "device/PortScan.h"
#include "device/TerminalView.h"
#include "model/ConfigFile.h"
#include "model/ModelChanged.h"
#include "shell/AboutBox.h"
#include "shell/AppSettings.h"
#include "shell/ConfigApp.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/HelpWindow.h"
#include "shell/MainFrame.h"
#include "shell/ProgressBar.h"
#include "shell/Splash.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QProgressBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTranslator>

namespace {

QStringList NoPorts() { return {}; }
QStringList SomePorts() { return {QStringLiteral("ttyS0"), QStringLiteral("COM10"), QStringLiteral("COM11")}; }

// A main window answering its boxes from a script, with its own settings file.
struct Window {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    std::unique_ptr<CMainFrame> frame;

    explicit Window(CPortScan::Probe probe = &NoPorts) { Create(probe); }
    QString SettingsPath() const { return dir.filePath(QStringLiteral("VX/Ладограф/Ладограф.ini")); }
    void Create(CPortScan::Probe probe = &NoPorts)
    {
        CMainFrame::Options options;
        options.prompt = &prompt;
        options.settingsPath = SettingsPath();
        frame = std::make_unique<CMainFrame>(options);
        frame->View().PortScan().SetProbe(probe);
        frame->Document().OnNewDocument();
    }
    CConfigDoc& Doc() { return frame->Document(); }
    CConfigView& View() { return frame->View(); }
    QLineEdit* Edit(const char* name) { return View().ConnectionPage()->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

QStringList MenuTexts(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("|");
        else if (a->isVisible())
            out << a->text();
    }
    return out;
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { modelChanged().Clear(); }

    void menusToolbarAndStatusBar();
    void deviceCommandsFollowTheTab_data();
    void deviceCommandsFollowTheTab();
    void sevenTabsInOrder();
    void firstStartShowsTheDefaultsAndExitWritesEveryKey();
    void savedTcpLinkComesBack();
    void portScanSelectsTheSavedPort();

    void newAsksToSaveChanges();
    void saveAndOpenClearTheChangeFlag();
    void droppedFileOpensLikeFileOpen();
    void commandLineFileIsTheStartDocument();
    void brokenFileLeavesTheDocumentAsItWas();
    void failedSaveKeepsTheOldFileAndTheFlag();
    void closingWithChangesAsks();
    void recentFilesKeepFour();

    void addressNoticeStopsBothCommands();
    void terminalTabDisablesBothCommands();

    void layoutKeepsItsShapeBelowTheMinimum();
    void progressIndicatorLayout();
    void splashClosesOnKeyAndSwallowsIt();
    void splashClosesByItself();
    void aboutBox();
    void helpOpensAtItsTopic();
    void installedHelpIsPreferred();
    void toolkitButtonsAreRussian();
};

void MainFrameTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QStringLiteral("VX"), QStringLiteral("Ладограф")).clear();
}

void MainFrameTest::menusToolbarAndStatusBar()
{
    Window w;
    const QList<QAction*> menus = w.frame->menuBar()->actions();
    QStringList titles;
    for (QAction* m : menus)
        titles << m->text();
    QCOMPARE(titles, (QStringList{"Файл", "Редактирование", "Действия", "Вид", "Помощь"}));
    QCOMPARE(MenuTexts(menus[0]->menu()),
             (QStringList{"Новый\tCtrl+N", "Открыть...\tCtrl+O", "Сохранить\tCtrl+S", "Сохранить Как...", "|",
                          "Печать...\tCtrl+P", "Предварительный просмотр", "Настройка принтера...", "|",
                          "Последний файл", "|", "Выход"}));
    QCOMPARE(MenuTexts(menus[1]->menu()), (QStringList{"Вырезать\tCtrl+X", "Копировать\tCtrl+C", "Вставить\tCtrl+V"}));
    QCOMPARE(MenuTexts(menus[2]->menu()),
             (QStringList{"Считать информацию о приборе", "Записать данные в прибор", "|", "Сменить пароль"}));
    QCOMPARE(MenuTexts(menus[3]->menu()), (QStringList{"Панель инструментов", "Панель состояния"}));
    QCOMPARE(MenuTexts(menus[4]->menu()), (QStringList{"Справка", "&О программе..."}));

    QCOMPARE(w.frame->Action(command::kFileNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(w.frame->Action(command::kFileOpen)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(w.frame->Action(command::kFileSave)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(w.frame->Action(command::kFilePrint)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));

    // Toolbar: buttons in order with their tooltips (which are also the status prompts).
    auto* bar = w.frame->findChild<QToolBar*>(QStringLiteral("toolBar"));
    QStringList tips;
    for (QAction* a : bar->actions())
        tips << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
    QCOMPARE(tips, (QStringList{"Создать новый документ", "Открыть существующий документ", "Сохранить активный документ", "|",
                                "Вырезать", "Копировать", "Вставить", "|", "Считать информацию о приборе",
                                "Записать данные в прибор", "|", "Печать отчета", "О программе..."}));
    for (QAction* a : bar->actions()) {
        QCOMPARE(a->statusTip(), a->toolTip());
        // An icon-only button: a screen reader says what it does.
        if (!a->isSeparator())
            QCOMPARE(QAccessible::queryAccessibleInterface(bar->widgetForAction(a))->text(QAccessible::Name),
                     a->toolTip());
    }
    QCOMPARE(w.frame->Action(command::kChangePassword)->statusTip(), QStringLiteral("Смена пароля"));
    QCOMPARE(w.frame->Action(command::kAppExit)->statusTip(),
             QStringLiteral("Выйти из приложения; предварительно сохранив документ"));
    QVERIFY(w.frame->Action(command::kHelp)->statusTip().isEmpty());

    QCOMPARE(w.frame->MessagePane()->text(), QStringLiteral(" "));
    QCOMPARE(w.frame->ConnectionPane()->text(), QStringLiteral(":115200"));
    QCOMPARE(w.frame->windowTitle(), QStringLiteral("Untitled - Ладограф"));
}

void MainFrameTest::deviceCommandsFollowTheTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("readText");
    QTest::addColumn<bool>("readEnabled");
    QTest::addColumn<QString>("writeText");
    QTest::addColumn<bool>("writeEnabled");
    QTest::newRow("connection") << 0 << "Считать информацию о приборе" << true << "Записать данные в прибор" << false;
    QTest::newRow("setpoints") << 1 << "Считать 'Уставки'" << true << "Записать 'Уставки'" << true;
    QTest::newRow("groups") << 2 << "Считать 'Группы'" << true << "Записать 'Группы'" << true;
    QTest::newRow("archive") << 3 << "Считать 'Архивируемые данные'" << true << "Записать 'Архивируемые данные'" << true;
    QTest::newRow("limits") << 4 << "Считать 'Отклонения'" << true << "Записать 'Отклонения'" << true;
    QTest::newRow("pulse") << 5 << "Считать 'Импульсные входы/выходы'" << true << "Записать 'Импульсные входы/выходы'" << true;
    QTest::newRow("terminal") << 6 << "Считать данные из прибора" << false << "Записать данные в прибор" << false;
}

void MainFrameTest::deviceCommandsFollowTheTab()
{
    QFETCH(int, tab);
    QFETCH(QString, readText);
    QFETCH(bool, readEnabled);
    QFETCH(QString, writeText);
    QFETCH(bool, writeEnabled);
    Window w;
    // Clicking the tab, as the user does.
    w.View().Tabs()->setCurrentIndex(tab == 0 ? 1 : 0);
    w.View().Tabs()->setCurrentIndex(tab);
    QAction* read = w.frame->Action(command::kReadFromDevice);
    QAction* write = w.frame->Action(command::kWriteToDevice);
    QCOMPARE(read->text(), readText);
    QCOMPARE(read->toolTip(), readText);
    QCOMPARE(read->statusTip(), readText);
    QCOMPARE(read->isEnabled(), readEnabled);
    QCOMPARE(write->text(), writeText);
    QCOMPARE(write->toolTip(), writeText);
    QCOMPARE(write->isEnabled(), writeEnabled);
}

void MainFrameTest::sevenTabsInOrder()
{
    Window w;
    QTabWidget* tabs = w.View().Tabs();
    const QStringList captions = {"Настройки соединения", "Уставки", "Группы", "Архивируемые данные",
                                  "Отклонения", "Импульсные входы/выходы", "Терминал"};
    const QStringList classes = {"CFirstView", "CSecondView", "CGroupView", "CArhiveView",
                                 "CLimitView", "CPortView", "CTerminalView"};
    QCOMPARE(tabs->count(), 7);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(tabs->tabText(i), captions[i]);
        QCOMPARE(tabs->widget(i)->objectName(), classes[i]);
    }
    QCOMPARE(w.View().CurrentTab(), PageId::Connection);
}

void MainFrameTest::firstStartShowsTheDefaultsAndExitWritesEveryKey()
{
    Window w;
    QVERIFY(!QFile::exists(w.SettingsPath()));
    CFirstView* page = w.View().ConnectionPage();
    QCOMPARE(page->LinkChoiceValue(), int(CFirstView::SerialLink));
    QCOMPARE(w.Edit("serialAddress")->text(), QStringLiteral("1"));
    QCOMPARE(page->findChild<QComboBox*>(QStringLiteral("baudList"))->currentText(), QStringLiteral("115200"));
    QCOMPARE(w.Edit("timeout")->text(), QStringLiteral("10"));
    QCOMPARE(w.View().TerminalPage()->BaudText(), QStringLiteral("115200"));
    QCOMPARE(w.Doc().Model().connection_address, 1);
    QVERIFY(!modelChanged().IsSet());

    w.frame.reset();
    const AppSettings stored = ReadSettings(w.SettingsPath());
    QCOMPARE(stored.number, QStringLiteral("1"));
    QCOMPARE(stored.type, QStringLiteral("0"));
    QCOMPARE(stored.comBaud, QStringLiteral("115200"));
    QCOMPARE(stored.ethernetTimeout, QStringLiteral("10"));
    QCOMPARE(stored.termBaud, QStringLiteral("115200"));
    const QByteArray text = FileBytes(w.SettingsPath());
    for (const char* key : {"Number=", "Type=", "Telephon=", "TelephonString=", "Timeout=", "Port="})
        QVERIFY2(text.contains(key), key);
}

void MainFrameTest::savedTcpLinkComesBack()
{
    Window w;
    w.View().ConnectionPage()->SetLinkChoice(CFirstView::EthernetLink);
    w.Edit("ethernetAddress")->setText(QStringLiteral("42"));
    w.Edit("serialAddress")->setText(QStringLiteral("7"));
    w.Edit("host")->setText(QStringLiteral("127.0.0.1"));
    w.Edit("tcpPort")->setText(QStringLiteral("5555"));
    w.frame.reset();
    QCOMPARE(ReadSettings(w.SettingsPath()).number, QStringLiteral("42"));

    w.Create();
    QCOMPARE(w.View().ConnectionPage()->LinkChoiceValue(), int(CFirstView::EthernetLink));
    QCOMPARE(w.Edit("ethernetAddress")->text(), QStringLiteral("42"));
    QCOMPARE(w.Edit("host")->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(w.frame->ConnectionPane()->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(w.frame->EthernetLink().WaitCount(), 500u);
}

void MainFrameTest::portScanSelectsTheSavedPort()
{
    Window w(&SomePorts);
    auto* list = w.View().ConnectionPage()->findChild<QComboBox*>(QStringLiteral("portList"));
    QTRY_COMPARE(list->count(), 3);
    // The saved "COM1" is not there; COM10 begins with it.
    QCOMPARE(list->currentText(), QStringLiteral("COM10"));
    QCOMPARE(w.View().TerminalPage()->PortText(), QStringLiteral("COM10"));
    QTRY_VERIFY(w.View().ConnectionPage()->findChild<QWidget*>(QStringLiteral("refreshPorts"))->isEnabled());
    QVERIFY(w.View().TerminalPage()->RefreshEnabled());
    QCOMPARE(w.frame->ConnectionPane()->text(), QStringLiteral("COM10:115200"));
}

void MainFrameTest::newAsksToSaveChanges()
{
    Window w;
    w.Edit("serialAddress")->setText(QStringLiteral("99"));
    modelChanged().Set();
    w.prompt.AnswerNextYesNoCancel(YesNoCancel::Cancel);
    w.frame->OnFileNew();
    QCOMPARE(w.prompt.texts(), QStringList{QStringLiteral("Save changes to Untitled?")});
    QCOMPARE(w.Edit("serialAddress")->text(), QStringLiteral("99"));
    QVERIFY(modelChanged().IsSet());

    w.prompt.AnswerNextYesNoCancel(YesNoCancel::No);
    w.frame->OnFileNew();
    QVERIFY(!modelChanged().IsSet());
    // A new document has connection address 0: the edit shows nothing.
    QCOMPARE(w.Doc().Model().connection_address, 0);
    QCOMPARE(w.Edit("serialAddress")->text(), QString());
}

void MainFrameTest::saveAndOpenClearTheChangeFlag()
{
    Window w;
    const QString path = w.File("a.cfg");
    w.frame->SetSaveAsAsker([&](const QString& proposed) {
        [&] { QCOMPARE(proposed, QStringLiteral("Config.cfg")); }();
        return path;
    });
    w.Edit("serialAddress")->setText(QStringLiteral("321"));
    modelChanged().Set();
    w.frame->OnFileSave();
    QVERIFY(QFile::exists(path));
    QVERIFY(!modelChanged().IsSet());
    QCOMPARE(w.Doc().Model().connection_address, 321);  // the pages were collected first
    QCOMPARE(w.frame->windowTitle(), QStringLiteral("a.cfg - Ладограф"));

    // Edited values on a page give way to the file's when it is opened.
    w.Edit("serialAddress")->setText(QStringLiteral("5"));
    modelChanged().Set();
    w.prompt.AnswerNextYesNoCancel(YesNoCancel::No);
    w.frame->SetOpenFileAsker([&] { return path; });
    w.frame->OnFileOpen();
    QCOMPARE(w.Edit("serialAddress")->text(), QStringLiteral("321"));
    QVERIFY(!modelChanged().IsSet());
    QCOMPARE(w.Doc().PathName(), QFileInfo(path).absoluteFilePath());

    // Yes to the prompt saves under the document's own file.
    w.Edit("serialAddress")->setText(QStringLiteral("654"));
    modelChanged().Set();
    w.prompt.AnswerNextYesNoCancel(YesNoCancel::Yes);
    w.frame->OnFileNew();
    QCOMPARE(w.prompt.texts().last(), QStringLiteral("Save changes to %1?").arg(QFileInfo(path).absoluteFilePath()));
    ConfigModel reread;
    QVERIFY(LoadConfigFile(path, reread, w.prompt, nullptr));
    QCOMPARE(reread.connection_address, 654);
}

void MainFrameTest::droppedFileOpensLikeFileOpen()
{
    Window w;
    const QString path = w.File("dropped.cfg");
    w.Doc().Model().connection_address = 4242;
    QVERIFY(SaveConfigFile(path, w.Doc().Model(), nullptr));
    w.frame->OnFileNew();
    QCOMPARE(w.Doc().Model().connection_address, 0);

    w.Edit("serialAddress")->setText(QStringLiteral("9"));
    modelChanged().Set();
    w.prompt.AnswerNextYesNoCancel(YesNoCancel::No);
    QVERIFY(w.frame->acceptDrops());
    QVERIFY(w.frame->OpenDroppedFiles({QUrl(QStringLiteral("https://example.org/x.cfg")), QUrl::fromLocalFile(path)}));
    QCOMPARE(w.prompt.kinds(), QStringList{QStringLiteral("yesnocancel")});
    QCOMPARE(w.Doc().Model().connection_address, 4242);
    QCOMPARE(w.Edit("serialAddress")->text(), QStringLiteral("4242"));
    QCOMPARE(w.Doc().PathName(), QFileInfo(path).absoluteFilePath());
    QVERIFY(!modelChanged().IsSet());
}

void MainFrameTest::commandLineFileIsTheStartDocument()
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    CMainFrame::Options options;
    options.prompt = &prompt;
    options.settingsPath = dir.filePath(QStringLiteral("s.ini"));
    options.recentFiles = false;
    ConfigModel model;
    ApplyNewDocumentDefaults(model);
    model.connection_address = 808;
    const QString path = dir.filePath(QStringLiteral("start.cfg"));
    QVERIFY(SaveConfigFile(path, model, nullptr));
    {
        CMainFrame frame(options);
        frame.View().PortScan().SetProbe(&NoPorts);
        QVERIFY(CConfigApp::OpenStartDocument(frame, {path}));
        QVERIFY(frame.View().IsInitialised());
        QCOMPARE(frame.Document().PathName(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(frame.View().ConnectionPage()->findChild<QLineEdit*>(QStringLiteral("serialAddress"))->text(),
                 QStringLiteral("808"));
    }
    {
        // A file that cannot be opened ends the start after its report.
        CMainFrame frame(options);
        QVERIFY(!CConfigApp::OpenStartDocument(frame, {dir.filePath(QStringLiteral("missing.cfg"))}));
        QCOMPARE(prompt.kinds(), QStringList{QStringLiteral("notice")});
        QVERIFY(!frame.View().IsInitialised());
    }
}

void MainFrameTest::brokenFileLeavesTheDocumentAsItWas()
{
    Window w;
    const QString good = w.File("good.cfg");
    w.frame->SetSaveAsAsker([&](const QString&) { return good; });
    w.Doc().Model().firmware_version = "1.7.0 / 2.1.3";
    w.frame->OnFileSaveAs();
    const QString broken = w.File("broken.cfg");
    {
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(37, '\x07'));
    }
    w.Edit("serialAddress")->setText(QStringLiteral("77"));
    const ConfigModel before = w.Doc().Model();
    w.prompt.clear();
    w.frame->SetOpenFileAsker([&] { return broken; });
    w.frame->OnFileOpen();
    QCOMPARE(w.prompt.kinds(), QStringList{QStringLiteral("notice")});
    QCOMPARE(w.prompt.texts(), QStringList{QStringLiteral("Unexpected file format.")});
    QVERIFY(w.Doc().Model() == before);
    QCOMPARE(w.Doc().PathName(), QFileInfo(good).absoluteFilePath());
    QCOMPARE(w.Edit("serialAddress")->text(), QStringLiteral("77"));
    QCOMPARE(w.frame->windowTitle(), QStringLiteral("good.cfg - Ладограф"));
}

void MainFrameTest::failedSaveKeepsTheOldFileAndTheFlag()
{
    Window w;
    const QString good = w.File("keep.cfg");
    w.frame->SetSaveAsAsker([&](const QString&) { return good; });
    w.frame->OnFileSaveAs();
    const QByteArray oldBytes = FileBytes(good);

    w.Edit("serialAddress")->setText(QStringLiteral("4321"));
    modelChanged().Set();
    w.prompt.clear();
    w.frame->SetSaveAsAsker([&](const QString&) { return w.File("no/such/folder/x.cfg"); });
    w.frame->OnFileSaveAs();
    QCOMPARE(w.prompt.kinds(), QStringList{QStringLiteral("notice")});
    QVERIFY(w.prompt.texts().first().startsWith(QStringLiteral("Failed to save document.")));
    QVERIFY(modelChanged().IsSet());
    QCOMPARE(w.Doc().PathName(), QFileInfo(good).absoluteFilePath());
    QCOMPARE(FileBytes(good), oldBytes);
}

void MainFrameTest::closingWithChangesAsks()
{
    Window w;
    w.frame->show();
    modelChanged().Set();
    w.prompt.AnswerNextYesNoCancel(YesNoCancel::Cancel);
    QVERIFY(!w.frame->close());
    QVERIFY(w.frame->isVisible());
    QCOMPARE(w.prompt.kinds(), QStringList{QStringLiteral("yesnocancel")});
    w.prompt.AnswerNextYesNoCancel(YesNoCancel::No);
    QVERIFY(w.frame->close());

    // Without changes nothing is asked.
    Window quiet;
    quiet.frame->show();
    QVERIFY(quiet.frame->close());
    QVERIFY(quiet.prompt.shown().isEmpty());
}

void MainFrameTest::recentFilesKeepFour()
{
    Window w;
    QStringList paths;
    for (int i = 0; i < 5; ++i) {
        paths << QFileInfo(w.File(qPrintable(QStringLiteral("f%1.cfg").arg(i)))).absoluteFilePath();
        w.frame->SetSaveAsAsker([&](const QString&) { return paths.last(); });
        w.frame->OnFileSaveAs();
    }
    QCOMPARE(w.frame->RecentFiles(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    QSettings store(QStringLiteral("VX"), QStringLiteral("Ладограф"));
    QCOMPARE(store.value(QStringLiteral("Recent File List/File1")).toString(), paths[4]);
    QCOMPARE(store.value(QStringLiteral("Recent File List/File4")).toString(), paths[1]);
    // The menu lists them where the placeholder stood.
    QMenu* file = w.frame->menuBar()->actions().first()->menu();
    QVERIFY(MenuTexts(file).contains(QStringLiteral("&1 ") + paths[4]));
    QVERIFY(!MenuTexts(file).contains(QStringLiteral("Последний файл")));
}

void MainFrameTest::addressNoticeStopsBothCommands()
{
    Window w;
    w.View().SetCurrentTab(PageId::Setpoints);
    for (const char* address : {"65536", "0"}) {
        w.Edit("serialAddress")->setText(QString::fromLatin1(address));
        w.prompt.clear();
        w.View().OnReadFromDevice();
        w.View().OnWriteToDevice();
        QCOMPARE(w.prompt.texts(), QStringList(2, msg::kAddressRangePage));
        QCOMPARE(w.prompt.kinds(), QStringList(2, QStringLiteral("plain")));
        // The indicator is gone and the pane shows its idle text again.
        QCOMPARE(w.frame->MessagePane()->text(), QStringLiteral(" "));
        QVERIFY(w.frame->MessagePane()->findChildren<QProgressBar*>().isEmpty());
    }
}

void MainFrameTest::terminalTabDisablesBothCommands()
{
    Window w;
    w.View().SetCurrentTab(PageId::Terminal);
    w.Edit("serialAddress")->setText(QStringLiteral("0"));
    w.frame->Action(command::kReadFromDevice)->trigger();
    w.View().OnReadFromDevice();
    w.View().OnWriteToDevice();
    QVERIFY(w.prompt.shown().isEmpty());
}

void MainFrameTest::layoutKeepsItsShapeBelowTheMinimum()
{
    Window w;
    CConfigView& view = w.View();
    w.frame->show();
    w.frame->resize(900, 700);
    QTRY_COMPARE(view.Tabs()->size(), view.size());
    const QSize big = view.size();
    // Below both limits the last layout stays.
    const QSize chrome = w.frame->size() - view.size();
    w.frame->resize(QSize(700, 390) + chrome);
    QTRY_COMPARE(view.size(), QSize(700, 390));
    QCOMPARE(view.Tabs()->size(), big);
    // As soon as one limit is reached the layout follows the window again.
    w.frame->resize(QSize(714, 390) + chrome);
    QTRY_COMPARE(view.size(), QSize(714, 390));
    QCOMPARE(view.Tabs()->size(), QSize(714, 390));
}

void MainFrameTest::progressIndicatorLayout()
{
    QLabel pane(QStringLiteral(" "));
    pane.resize(400, 20);
    {
        CProgressBar progress(&pane, QStringLiteral("Чтение..."), 40, 150, true, QStringLiteral(" "));
        QCOMPARE(pane.text(), QStringLiteral("Чтение..."));
        const QFontMetrics metrics(pane.font());
        const int left = metrics.horizontalAdvance(QStringLiteral("Чтение...")) + 4 * metrics.horizontalAdvance(QLatin1Char(' '));
        const QRect bar = progress.Bar()->geometry();
        QCOMPARE(bar.left(), left);
        // The bar's right edge moves left by 60 % of what the message leaves.
        const int remaining = 400 - left;
        QCOMPARE(bar.right(), 399 - 60 * remaining / 100);
        QCOMPARE(bar.top(), 2);
        QCOMPARE(progress.Maximum(), 150);
        progress.SetRange(0, 10);
        progress.SetStep(3);
        progress.StepIt();
        progress.StepIt();
        QCOMPARE(progress.Value(), 6);
    }
    QCOMPARE(pane.text(), QStringLiteral(" "));
    QVERIFY(pane.findChildren<QProgressBar*>().isEmpty());
}

void MainFrameTest::splashClosesOnKeyAndSwallowsIt()
{
    QLineEdit owner;
    owner.show();
    owner.setFocus();
    CSplashWnd::ShowSplashScreen(&owner);
    QPointer<CSplashWnd> splash = CSplashWnd::Current();
    QVERIFY(splash);
    QCOMPARE(splash->size(), QSize(412, 289));
    QTest::keyClick(&owner, Qt::Key_A);
    QVERIFY(!CSplashWnd::Current());
    QTRY_VERIFY(!splash);
    QVERIFY(owner.text().isEmpty());  // the key press that closed it never arrived
    QTest::keyClick(&owner, Qt::Key_B);
    QCOMPARE(owner.text(), QStringLiteral("b"));
}

void MainFrameTest::splashClosesByItself()
{
    QWidget owner;
    owner.show();
    QElapsedTimer clock;
    clock.start();
    CSplashWnd::ShowSplashScreen(&owner);
    QVERIFY(CSplashWnd::Current());
    QTRY_VERIFY_WITH_TIMEOUT(!CSplashWnd::Current(), 3000);
    QVERIFY(clock.elapsed() >= CSplashWnd::kShowMs - 20);
}

void MainFrameTest::aboutBox()
{
    CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("О программе..."));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("build"))->text(), QStringLiteral("4.0.20"));
    const auto& lines = CAboutDlg::Lines();
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0].text, QStringLiteral("Ладограф"));
    QCOMPARE(lines[1].text, QStringLiteral("Версия 4.0"));
    QCOMPARE(lines[2].text, QStringLiteral("Программа предназначена\nдля настройки измерителей\n\"Ворант-ПКЭ-1.7\""));
    QCOMPARE(lines[2].rect, QRect(QPoint(45, 45), QPoint(279, 99)));
    // Painted in its own colours.
    about.resize(about.size());
    const QImage image = about.grab().toImage();
    QCOMPARE(image.pixelColor(5, 5), CAboutDlg::BackgroundColour());
    bool inked = false;
    for (int x = 45; x < 280 && !inked; ++x)
        for (int y = 6; y < 24 && !inked; ++y)
            inked = image.pixelColor(x, y) == CAboutDlg::TextColour();
    QVERIFY(inked);
}

void MainFrameTest::helpOpensAtItsTopic()
{
    QWidget owner;
    QVERIFY(CHelpWindow::Show(&owner, 3));
    auto* help = owner.findChild<CHelpWindow*>();
    QVERIFY(help);
    QCOMPARE(help->source().fragment(), QStringLiteral("topic3"));
    QVERIFY(help->toPlainText().contains(QStringLiteral("Связь с прибором")));
}

void MainFrameTest::installedHelpIsPreferred()
{
    // Laid out as an installed program's data folder: <bin>/../share/ladograf/help.
    QCOMPARE(CHelpWindow::HelpFile(), QStringLiteral(":/help/ladograf.html"));
    const QString folder = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/ladograf/help"));
    QVERIFY(QDir().mkpath(folder));
    const QString installed = folder + QStringLiteral("/ladograf.html");
    QFile file(installed);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<h2 id=\"topic2\">installed</h2>");
    file.close();
    const QString shown = CHelpWindow::HelpFile();
    const QUrl url = CHelpWindow::TopicUrl(2);
    QDir(QDir::cleanPath(folder + QStringLiteral("/../.."))).removeRecursively();
    QCOMPARE(shown, installed);
    QCOMPARE(url, QUrl(QUrl::fromLocalFile(installed).toString() + QStringLiteral("#topic2")));
    QCOMPARE(CHelpWindow::HelpFile(), QStringLiteral(":/help/ladograf.html"));
}

void MainFrameTest::toolkitButtonsAreRussian()
{
    if (!InstallToolkitTranslations(*qApp))
        QSKIP("the Qt translations (qt6-translations-l10n) are not installed");
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Ладограф"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Да"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Нет"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Отмена"));
    }
    // The other tests of this program see the toolkit as it was.
    qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
}

QTEST_MAIN(MainFrameTest)
#include "tst_mainframe.moc"
