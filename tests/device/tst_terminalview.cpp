// The terminal page against a real pseudo-terminal: the test plays the device on the master
// side and the page opens the slave side as its serial port.
#include "Pty.h"
#include "ScriptedPrompt.h"
#include "device/TerminalView.h"
#include "TerminalWindow.h"
#include "shell/AppSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

class TerminalViewTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Pty> m_pty;
    std::unique_ptr<CTerminalView> m_page;
    ScriptedPrompt m_prompt;
    qint64 m_now = 1000;

    QString Device() const { return m_pty->SlavePath(); }
    void Send(const QByteArray& bytes) { QCOMPARE(m_pty->WriteAll(bytes.constData(), bytes.size()), long(bytes.size())); }
    // What the page sent, waiting until count bytes have come.
    QByteArray Received(int count, int tries = 200)
    {
        QByteArray got;
        char buffer[64];
        for (int i = 0; i < tries && got.size() < count; ++i) {
            const long n = m_pty->ReadSome(buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, n);
            else
                QTest::qWait(5);
        }
        return got;
    }
    QString Output() const { return m_page->Output()->toPlainText(); }
    QPushButton* Button(const char* name) const { return m_page->findChild<QPushButton*>(QLatin1String(name)); }
    QCheckBox* Box(const char* name) const { return m_page->findChild<QCheckBox*>(QLatin1String(name)); }

private slots:
    void init()
    {
        m_pty = std::make_unique<Pty>();
        QString error;
        QVERIFY2(m_pty->Create(QString(), &error), qPrintable(error));
        m_prompt.clear();
        m_page = std::make_unique<CTerminalView>();
        m_page->SetPrompt(&m_prompt);
        m_page->SetClock([this] { return m_now; });
        m_page->SetPortList({Device()}, Device());
        m_page->resize(900, 600);
    }
    void cleanup()
    {
        m_page.reset();
        m_pty.reset();
    }

    void startsInHexWithoutStamps()
    {
        QVERIFY(Button("hexMode")->isChecked());
        QVERIFY(!Button("timeStamps")->isChecked());
        QVERIFY(!m_page->IsPortOpen());  // until the page shows
        QCOMPARE(m_page->Output()->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(m_page->Output()->font().pixelSize(), 16);
    }

    void receivesInHexAndText()
    {
        m_page->show();
        QVERIFY(m_page->IsPortOpen());
        Send(QByteArray("\x41\x00\x42", 3));
        QTRY_COMPARE(Output(), QStringLiteral("41 00 42 "));
        Button("hexMode")->click();
        m_page->Output()->clear();
        Send(QByteArray("\x41\x00\x42", 3));
        QTRY_COMPARE(Output(), QStringLiteral("A"));
        QVERIFY(m_prompt.shown().isEmpty());
    }

    void typedCharactersGoOutAsCp1251Bytes()
    {
        m_page->show();
        QTest::keyClicks(m_page->Input(), QStringLiteral("A"));
        QKeyEvent cyrillic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("б"));
        QApplication::sendEvent(m_page->Input(), &cyrillic);
        QTest::keyClick(m_page->Input(), Qt::Key_Return);
        QCOMPARE(Received(3), QByteArray("A\xe1\r"));
        QCOMPARE(m_page->Input()->toPlainText(), QStringLiteral("Aб\n"));
        // A shortcut is not typed: select all sends nothing.
        QTest::keyClick(m_page->Input(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(Received(1, 10), QByteArray());
    }

    void hexPasteSendsTheBytesAndEchoes()
    {
        m_page->show();
        QApplication::clipboard()->setText(QStringLiteral("0D0a"));
        QTest::keyClick(m_page->Input(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Received(2), QByteArray("\r\n"));
        QCOMPARE(m_page->Input()->toPlainText(), QStringLiteral("0D0a"));
        QCOMPARE(Output(), QStringLiteral("0d0a"));

        // The whole box is read again; a bad pair ends what is sent.
        QApplication::clipboard()->setText(QStringLiteral("41zz42"));
        m_page->PasteHex();
        QCOMPARE(Received(3), QByteArray("\r\nA"));
        QCOMPARE(Output(), QStringLiteral("0d0a0d0a41"));
    }

    void portIsOpenOnlyWhileThePageShows()
    {
        m_page->show();
        QVERIFY(m_page->IsPortOpen());
        m_page->hide();
        QVERIFY(!m_page->IsPortOpen());
        {
            // The port is free for another program.
            QSerialPort other(Device());
            QVERIFY(other.open(QIODevice::ReadWrite));
        }
        m_page->show();
        QVERIFY(m_page->IsPortOpen());
        Send("\x7f");
        QTRY_COMPARE(Output(), QStringLiteral("7F "));
    }

    void portHeldByAnotherProgram()
    {
        QSerialPort holder(Device());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        m_page->show();
        QVERIFY(!m_page->IsPortOpen());
        QCOMPARE(m_prompt.texts(),
                 QStringList{QStringLiteral("Не удалось открыть порт %1.\nВозможно он занят другой программой.").arg(Device())});
        QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("error")});
        // Choosing the port again once it is free tries again.
        holder.close();
        m_page->ChoosePort(Device());
        QVERIFY(m_page->IsPortOpen());
    }

    void changingTheRateReopens()
    {
        m_page->show();
        m_page->ChooseBaud(QStringLiteral("9600"));
        QVERIFY(m_page->IsPortOpen());
        Send("\x01");
        QTRY_COMPARE(Output(), QStringLiteral("01 "));
        AppSettings stored;
        m_page->StoreSettings(stored);
        QCOMPARE(stored.termBaud, QStringLiteral("9600"));
        QCOMPARE(stored.termName, Device());
    }

    void refreshKeepsThePortItHolds()
    {
        m_page->show();
        m_page->RefreshPorts();
        QVERIFY(m_page->Ports().contains(Device()));
        QCOMPARE(m_page->PortText(), Device());
        QVERIFY(m_page->IsPortOpen());
        // Closed, a path the machine's list does not know is not offered again.
        m_page->hide();
        m_page->RefreshPorts();
        QVERIFY(!m_page->Ports().contains(Device()));
    }

    void dtrWithThePortClosedChangesOnlyTheBox()
    {
        m_page->show();
        m_page->hide();
        QCheckBox* dtr = Box("dtr");
        dtr->show();
        QTest::mouseClick(dtr, Qt::LeftButton);
        QVERIFY(dtr->isChecked());
        QVERIFY(!m_page->IsPortOpen());
        QVERIFY(m_prompt.shown().isEmpty());
        // And with the port open the line is set (a pseudo-terminal has none: nothing to report).
        m_page->show();
        QTest::mouseClick(dtr, Qt::LeftButton);
        QVERIFY(!dtr->isChecked());
        m_page->PollModemLines();
        QVERIFY(m_prompt.shown().isEmpty());
    }

    void timeStampsCutBurstsIntoLines_data()
    {
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<int>("lines");
        QTest::newRow("50 ms apart: two lines") << 50 << 2;
        QTest::newRow("5 ms apart: one line") << 5 << 1;
    }
    void timeStampsCutBurstsIntoLines()
    {
        QFETCH(int, gapMs);
        QFETCH(int, lines);
        m_page->show();
        Button("timeStamps")->click();
        Send("\x10\x11");
        QTRY_COMPARE(Output().count(QLatin1Char(' ')), 3);
        m_now += gapMs;
        Send("\x12");
        QTRY_VERIFY(Output().endsWith(QStringLiteral("12 ")));
        const QStringList shown = Output().split(QLatin1Char('\n'));
        QCOMPARE(shown.size(), lines);
        const QRegularExpression stamp(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\\] "));
        for (const QString& line : shown)
            QVERIFY2(stamp.match(line).hasMatch(), qPrintable(line));
        QCOMPARE(shown.join(QString()).remove(QRegularExpression(QStringLiteral("\\[[^]]*\\] "))),
                 QStringLiteral("10 11 12 "));
        AppSettings stored;
        m_page->StoreSettings(stored);
        QCOMPARE(stored.termStamps, QStringLiteral("1"));
    }

    void saveWritesTheOutput()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Новый.txt"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("a much longer old transcript");
        old.close();
        m_page->Output()->setPlainText(QStringLiteral("41 42 \nтекст"));
        m_page->SetSaveDialog([path] { return path; });
        m_page->findChild<QWidget*>(QStringLiteral("saveOutput"))->setVisible(true);
        m_page->SaveOutput();
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("41 42 \n\xf2\xe5\xea\xf1\xf2"));
        QVERIFY(m_prompt.shown().isEmpty());
    }

    void saveThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("no such folder") << QStringLiteral("/nonexistent-folder/t.txt");
        // An existing file in a place nobody can write (root included): it must stay as it is.
        QTest::newRow("file of a read-only place") << QStringLiteral("/proc/version");
    }
    void saveThatCannotBeWritten()
    {
        QFETCH(QString, path);
        QFile before(path);
        const QByteArray oldBytes = before.open(QIODevice::ReadOnly) ? before.readAll() : QByteArray();
        before.close();
        m_page->Output()->setPlainText(QStringLiteral("new"));
        m_page->SaveOutputTo(path);
        QCOMPARE(m_prompt.texts(), QStringList{QStringLiteral("Не удалось открыть файл.")});
        QCOMPARE(m_prompt.kinds(), QStringList{QStringLiteral("okcancel")});
        QFile after(path);
        QCOMPARE(after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray(), oldBytes);
    }

    // In the main window the tab decides: the port opens when "Терминал" is chosen and
    // closes when another tab is. With LADOGRAF_SCREENSHOTS set it saves the README's picture.
    void followsItsTabInTheMainWindow()
    {
        QTemporaryDir dir;
        const std::unique_ptr<CMainFrame> window = TerminalWindow(m_prompt, dir.filePath(QStringLiteral("settings.ini")));
        CMainFrame& frame = *window;
        CTerminalView* page = frame.View().TerminalPage();
        page->SetClock([this] { return m_now; });
        QTRY_VERIFY(page->RefreshEnabled());  // the scan has ended
        page->SetPortList({Device()}, Device());
        QVERIFY(!page->IsPortOpen());
        frame.View().SetCurrentTab(PageId::Terminal);
        QVERIFY(page->IsPortOpen());

        Send(QByteArray("\x68\x0a\x00\x81\xfe", 5));
        QTRY_COMPARE(page->Output()->toPlainText(), QStringLiteral("68 0A 00 81 FE "));
        page->findChild<QPushButton*>(QStringLiteral("hexMode"))->click();
        m_now += 100;
        page->findChild<QPushButton*>(QStringLiteral("timeStamps"))->click();
        Send("OK\r\n");
        QTRY_VERIFY(page->Output()->toPlainText().endsWith(QStringLiteral("OK\n")));
        m_now += 100;
        Send("\xc3\xee\xf2\xee\xe2\r\n");
        QTRY_VERIFY(page->Output()->toPlainText().endsWith(QStringLiteral("Готов\n")));
        const QStringList lines = page->Output()->toPlainText().split(QLatin1Char('\n'));
        // The hex line, the two stamped bursts, the empty end.
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[1].startsWith(QLatin1Char('[')) && lines[1].endsWith(QStringLiteral("] OK")));
        QVERIFY(lines[2].startsWith(QLatin1Char('[')) && lines[2].endsWith(QStringLiteral("] Готов")));
        page->Input()->setPlainText(QStringLiteral("AT"));
        const QString folder = qEnvironmentVariable("LADOGRAF_SCREENSHOTS");
        if (!folder.isEmpty())
            QVERIFY(frame.grab().save(folder + QStringLiteral("/terminal-page.png")));

        frame.View().SetCurrentTab(PageId::Connection);
        QVERIFY(!page->IsPortOpen());
        QVERIFY(m_prompt.shown().isEmpty());
    }

    void contextMenus()
    {
        for (QMenu* menu : {m_page->CreateInputMenu(m_page.get()), m_page->CreateOutputMenu(m_page.get())}) {
            QStringList texts;
            for (QAction* a : menu->actions())
                texts << a->text();
            QCOMPARE(texts, (QStringList{"Отмена\tCtrl+Z", "Вырезать\tCtrl+X", "Копировать\tCtrl+C", "Вставить\tCtrl+V",
                                         "Удалить\tCtrl+D", "Выделить всё\tCtrl+A"}));
        }
        m_page->Output()->setPlainText(QStringLiteral("41 42 "));
        m_page->Output()->selectAll();
        QTest::keyClick(m_page->Output(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(Output(), QString());
    }
};

QTEST_MAIN(TerminalViewTest)
#include "tst_terminalview.moc"
