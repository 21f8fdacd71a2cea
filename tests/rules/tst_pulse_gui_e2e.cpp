// The pulse I/O tab of the main window against the meter-sim program over TCP: a rule text
// that does not compile sends nothing and marks the word; one that does is what the meter
// then holds and what a read brings back into the editor. With LADOGRAF_SCREENSHOTS set to a
// folder it also saves the picture the README shows.
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "common/Cp1251.h"
#include "device/FirstView.h"
#include "device/PortScan.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "rules/PortView.h"
#include "rules/RuleCompiler.h"
#include "rules/RulesMessages.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/MainFrame.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList NoPorts() { return {}; }

const QString kRules = QStringLiteral("Если UA > 253 то ВЫХ1 = 1, иначе ВЫХ1 = 0.\nЕсли ВХ1 = 1 то ИМП2.");
const QString kWrongRules = QStringLiteral("Если UA > 253 то ВЫХ1 = 1, иначе ВЫХ1 = 0.\nЕсли ВХ1 = 1 то ИМП7.");
// How the meter's code reads back.
const QString kDecoded = QStringLiteral("Если UA > 253.00, то ВЫХ1 = 1, иначе ВЫХ1 = 0.\nЕсли ВХ1 = 1.00, то ИМП2.\n");

} // namespace

class PulseGuiEndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}));
    }

    void writeAndReadTheRules()
    {
        CMainFrame::Options options;
        options.prompt = &m_prompt;
        options.settingsPath = m_dir.filePath(QStringLiteral("settings.ini"));
        options.recentFiles = false;
        CMainFrame frame(options);
        frame.View().PortScan().SetProbe(&NoPorts);
        frame.Document().OnNewDocument();
        frame.resize(1100, 700);
        frame.show();
        CFirstView* connection = frame.View().ConnectionPage();
        connection->SetLinkChoice(CFirstView::EthernetLink);
        connection->findChild<QLineEdit*>(QStringLiteral("host"))->setText(QStringLiteral("127.0.0.1"));
        connection->findChild<QLineEdit*>(QStringLiteral("tcpPort"))->setText(QString::number(m_meter.TcpPort()));
        connection->findChild<QLineEdit*>(QStringLiteral("ethernetAddress"))->setText(QStringLiteral("1"));

        frame.View().SetCurrentTab(PageId::Pulse);
        auto* page = static_cast<CPortView*>(frame.View().Page(PageId::Pulse));
        QVERIFY(page->Dictionary().size() > 0);
        QPlainTextEdit* editor = page->Editor();
        QListWidget* messages = page->MessageList();

        // A word the dictionary does not know: nothing is sent, the word is marked.
        editor->setPlainText(kWrongRules);
        m_prompt.LoginNext(2, "2222");
        frame.View().OnWriteToDevice();
        QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
        QCOMPARE(messages->item(messages->count() - 1)->text(), msg::CompileUnknownWord(QStringLiteral("ИМП7")));
        QCOMPARE(editor->extraSelections().size(), 1);
        QCOMPARE(editor->extraSelections()[0].cursor.selectedText(), QStringLiteral("ИМП7"));
        SaveShot(frame, "pulse-page.png");
        QCOMPARE(MeterRules(), QString());  // the meter still holds no code

        // The rules that compile are what the meter then holds.
        editor->setPlainText(kRules);
        m_prompt.clear();
        frame.View().OnWriteToDevice();
        QVERIFY(m_prompt.shown().isEmpty());
        QCOMPARE(messages->item(messages->count() - 1)->text(), msg::kCompileDone);
        QVERIFY(editor->extraSelections().isEmpty());
        QCOMPARE(MeterRules(), kDecoded);

        // A read puts them into the editor, not into the configuration.
        ConfigModel& model = frame.Document().Model();
        model.pulse_rules_text = "old";
        editor->clear();
        modelChanged().Clear();
        frame.View().OnReadFromDevice();
        QVERIFY(m_prompt.shown().isEmpty());
        QCOMPARE(editor->toPlainText(), kDecoded);
        QVERIFY(modelChanged().IsSet());
        QCOMPARE(model.pulse_rules_text, QByteArray("old"));
        frame.View().SetCurrentTab(PageId::Groups);
        frame.View().SetCurrentTab(PageId::Pulse);
        QCOMPARE(model.pulse_rules_text, QByteArray("old"));
        // The next store takes them.
        frame.View().CollectPages();
        QCOMPARE(model.pulse_rules_text, cp1251::Encode(kDecoded));

        // The main window's Edit commands act on the editor on this tab.
        editor->selectAll();
        frame.View().OnEditCut();
        QCOMPARE(editor->toPlainText(), QString());
        frame.View().OnEditPaste();
        QCOMPARE(editor->toPlainText(), kDecoded);
    }

private:
    // The rules the meter holds, read by the command-line tool.
    QString MeterRules()
    {
        const QString file = m_dir.filePath(QStringLiteral("meter-%1.cfg").arg(++m_reads));
        QString out, err;
        const int code = RunProgram(QStringLiteral(LADOGRAF_CLI_PATH),
                                    {QStringLiteral("read"), QStringLiteral("pulse"), QStringLiteral("--tcp"),
                                     QStringLiteral("127.0.0.1:%1").arg(m_meter.TcpPort()), QStringLiteral("--address"),
                                     QStringLiteral("1"), QStringLiteral("--level"), QStringLiteral("2"),
                                     QStringLiteral("--password"), QStringLiteral("2222"), QStringLiteral("--yes"),
                                     QStringLiteral("--cfg"), file},
                                    &out, &err);
        if (code != 0)
            return QStringLiteral("read failed: ") + err;
        ConfigModel m = NewConfigModel();
        ScriptedPrompt prompt;
        QString error;
        if (!LoadConfigFile(file, m, prompt, &error))
            return QStringLiteral("load failed: ") + error;
        return cp1251::Decode(m.pulse_rules_text);
    }
    static void SaveShot(QWidget& widget, const char* name)
    {
        const QString folder = qEnvironmentVariable("LADOGRAF_SCREENSHOTS");
        if (!folder.isEmpty())
            QVERIFY(widget.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name)));
    }

    MeterProcess m_meter;
    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    int m_reads = 0;
};

QTEST_MAIN(PulseGuiEndToEndTest)
#include "tst_pulse_gui_e2e.moc"
