// The page "Группы" in the main window: read from the meter-sim program through the
// window's own read command, change, write back and find the change in the meter; the Edit
// commands of the window on this tab; a ".cfg" opened and saved unchanged stays byte for
// byte. With LADOGRAF_SCREENSHOTS set to a folder it also saves the README's pictures.
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "WindowFixture.h"
#include "common/Cp1251.h"
#include "device/DeviceMessages.h"
#include "device/FirstView.h"
#include "device/PortScan.h"
#include "model/ConfigFile.h"
#include "model/ModelChanged.h"
#include "selection/DialogListElements.h"
#include "selection/GroupView.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/MainFrame.h"
#include "shell/TreeList.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

void SaveShot(QWidget& widget, const char* name)
{
    const QString folder = qEnvironmentVariable("LADOGRAF_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(widget.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name)));
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A configuration whose groups differ from a new one's: group 5 named and filled, a name
// with bytes after its zero byte, and a record the page cannot show exactly (count 60,
// no zero byte in the name).
ConfigModel WithGroups()
{
    ConfigModel m = NewConfigModel();
    // The voltage page stores the nominal voltages as it shows them ("%.3f"); a new
    // configuration's √3 × 220 V has more decimals, so the file takes the shown value.
    m.u_nom_line = 381.051;
    m.groups[4].SetNameText(cp1251::Encode(u"Моя группа"));
    m.groups[4].count = 2;
    m.groups[4].parameters[0] = ParameterId{114, 2, 0};
    m.groups[4].parameters[1] = ParameterId{20, 4, 0};
    m.groups[1].name[12] = 'z';
    ParameterGroupRecord& odd = m.groups[5];
    odd.count = 60;
    std::memcpy(odd.name.data(), "0123456789ABCDEF", 16);
    for (int i = 0; i < 50; ++i)
        odd.parameters[size_t(i)] = ParameterId{quint16(57 + i % 49), quint8(i % 6), 0};
    return m;
}

} // namespace

class GroupsEndToEndTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<CMainFrame> m_frame;
    QString m_meterFile;

    CGroupView* Page() { return static_cast<CGroupView*>(m_frame->View().Page(PageId::Groups)); }
    int RowOfGroup(int g)
    {
        for (int r = 0; r < Page()->List()->topLevelItemCount(); ++r) {
            if (Page()->List()->topLevelItem(r)->text(0) == QString::number(g + 1))
                return r;
        }
        return -1;
    }
    QString Text(int row, int column) { return Page()->List()->topLevelItem(row)->text(column); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_meterFile = m_dir.filePath(QStringLiteral("meter.cfg"));
        QString error;
        QVERIFY2(SaveConfigFile(m_meterFile, WithGroups(), &error), qPrintable(error));
    }
    void init()
    {
        m_prompt.clear();
        m_frame = MakeTestWindow(m_prompt, m_dir.filePath(QStringLiteral("settings.ini")));
        m_frame->View().SetCurrentTab(PageId::Groups);
    }
    void cleanup() { m_frame.reset(); }

    void readChangeAndWriteBack()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--config"), m_meterFile}));
        PointAtMeter(*m_frame->View().ConnectionPage(), meter.TcpPort());
        m_prompt.LoginNext(2, "2222");
        m_frame->Action(command::kReadFromDevice)->trigger();
        QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("auth")});
        QVERIFY(modelChanged().IsSet());
        QCOMPARE(Page()->List()->topLevelItemCount(), 6);
        QCOMPARE(Text(4, 1), QStringLiteral("Моя группа"));
        QCOMPARE(Text(5, 1), QStringLiteral("0123456789ABCDE"));  // at most 15 name bytes
        Page()->OnRowActivated(4);
        QCOMPARE(Text(5, 3), QStringLiteral("Значение напряжения фазы C"));
        QCOMPARE(Text(6, 3), QStringLiteral("Коэффициент гармоники 14 фазы BC"));
        QCOMPARE(Text(6, 4), QStringLiteral("Ku14 BC"));
        Page()->OnRowActivated(7);
        QCOMPARE(Page()->List()->topLevelItemCount(), 6 + 2 + 50);  // at most 50 entries

        // "Частота" after the first parameter of group 5; delete the first entry of group 6.
        Page()->SetDialogRunner([](QDialog& d) {
            auto& add = dynamic_cast<CDialogListElements&>(d);
            add.ToggleItem(add.CategoryItem(16));
            add.AddButton()->click();
            return add.result();
        });
        Page()->SelectRow(5);
        Page()->OnAdd();
        Page()->SelectRow(RowOfGroup(5) + 1);
        Page()->OnDelete();
        m_prompt.clear();
        m_frame->Action(command::kWriteToDevice)->trigger();
        QVERIFY2(m_prompt.shown().isEmpty(), qPrintable(m_prompt.texts().join(QLatin1Char('|'))));

        // What the meter holds now, read by the command-line tool.
        const QString back = m_dir.filePath(QStringLiteral("back.cfg"));
        QString out, err;
        QCOMPARE(RunProgram(QStringLiteral(LADOGRAF_CLI_PATH),
                            {QStringLiteral("read"), QStringLiteral("groups"), QStringLiteral("--tcp"),
                             QStringLiteral("127.0.0.1:%1").arg(meter.TcpPort()), QStringLiteral("--address"),
                             QStringLiteral("1"), QStringLiteral("--level"), QStringLiteral("1"),
                             QStringLiteral("--password"), QStringLiteral("1111"), QStringLiteral("--cfg"), back},
                            &out, &err),
                 0);
        ConfigModel held = NewConfigModel();
        QString error;
        QVERIFY(LoadConfigFile(back, held, m_prompt, &error));
        ConfigModel expected = WithGroups();
        expected.groups[4].count = 4;
        expected.groups[4].parameters[1] = ParameterId{106, 0, 0};
        expected.groups[4].parameters[2] = ParameterId{107, 0, 0};
        expected.groups[4].parameters[3] = ParameterId{20, 4, 0};
        ParameterGroupRecord& odd = expected.groups[5];
        odd.count = 49;
        std::copy(odd.parameters.begin() + 1, odd.parameters.end(), odd.parameters.begin());
        odd.parameters[49] = ParameterId{};
        odd.name[15] = 0;
        for (int g = 0; g < kGroupCount; ++g)
            QCOMPARE(held.groups[size_t(g)].ToBytes().toHex(), expected.groups[size_t(g)].ToBytes().toHex());
    }

    void shortReadLeavesThePage()
    {
        MeterProcess meter;
        QVERIFY(meter.Start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--config"),
                             m_meterFile, QStringLiteral("--fault"), QStringLiteral("short=300@0x10")}));
        PointAtMeter(*m_frame->View().ConnectionPage(), meter.TcpPort());
        const QByteArray before = GroupsToBytes(m_frame->Document().Model().groups);
        m_prompt.LoginNext(1, "1111");
        m_frame->View().OnReadFromDevice();
        QCOMPARE(m_prompt.texts().last(), msg::kReadFailure);
        QCOMPARE(GroupsToBytes(m_frame->Document().Model().groups), before);
        QCOMPARE(Text(4, 1), QStringLiteral("Группа 5"));
    }

    void editCommandsOfTheWindow()
    {
        Page()->OnRowActivated(0);
        Page()->SelectRow(1);
        m_frame->Action(command::kEditCut)->trigger();
        QCOMPARE(Page()->Groups().Group(0).parameters.size(), 15);
        Page()->SelectRow(RowOfGroup(4));
        m_frame->Action(command::kEditPaste)->trigger();
        m_frame->Action(command::kEditPaste)->trigger();
        QCOMPARE(Page()->Groups().Group(4).parameters,
                 (QList<ParameterId>{ParameterId{114, 0, 0}, ParameterId{114, 0, 0}}));
        Page()->SelectRow(RowOfGroup(4) + 1);
        m_frame->Action(command::kEditCopy)->trigger();
        QCOMPARE(Page()->Groups().Clipboard(), std::optional<ParameterId>(ParameterId{114, 0, 0}));

        // On another tab the same commands leave the groups alone.
        m_frame->View().SetCurrentTab(PageId::Limits);
        m_frame->Action(command::kEditPaste)->trigger();
        QCOMPARE(Page()->Groups().Group(4).parameters.size(), 2);
    }

    void openAndSaveUnchanged()
    {
        QVERIFY(m_frame->Document().OnOpenDocument(m_meterFile));
        QCOMPARE(Text(5, 1), QStringLiteral("0123456789ABCDE"));
        const QString saved = m_dir.filePath(QStringLiteral("saved.cfg"));
        QVERIFY(m_frame->Document().OnSaveDocument(saved));
        QCOMPARE(FileBytes(saved), FileBytes(m_meterFile));
    }

    void screenshots()
    {
        if (qEnvironmentVariableIsEmpty("LADOGRAF_SCREENSHOTS"))
            QSKIP("LADOGRAF_SCREENSHOTS not set");
        Page()->OnRowActivated(1);
        Page()->SelectRow(3);
        SaveShot(*m_frame, "groups-page.png");
        CDialogListElements dialog(50, RunModal, m_frame.get());
        dialog.CategoryItem(0)->setExpanded(true);
        dialog.ToggleItem(dialog.LeafItem(0, 0));
        dialog.ToggleItem(dialog.LeafItem(0, 6));
        dialog.CategoryItem(16)->setExpanded(true);
        dialog.ToggleItem(dialog.CategoryItem(16));
        dialog.show();
        SaveShot(dialog, "groups-add-dialog.png");
    }
};

QTEST_MAIN(GroupsEndToEndTest)
#include "tst_groups_e2e.moc"
