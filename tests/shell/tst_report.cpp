// The printed configuration report: its page texts, the footer, the PDF of the command line
// and the preview window.
#include "MeterProcess.h"
#include "ScriptedPrompt.h"
#include "device/PortScan.h"
#include "model/ConfigFile.h"
#include "model/ConfigModel.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/MainFrame.h"
#include "shell/ReportContent.h"
#include "shell/ReportPainter.h"
#include "setpoints/TransformerRatios.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString kTime = QStringLiteral("14:05:09 31/12/2012");

QStringList Texts(const ReportPage& page)
{
    QStringList out;
    for (const ReportText& t : page.texts)
        out << t.text;
    return out;
}

// The value drawn at a given x on the row whose label is `label`; null when there is none.
QString ValueBeside(const ReportPage& page, const QString& label, int x)
{
    int top = -1;
    for (const ReportText& t : page.texts) {
        if (t.text == label)
            top = t.rect.top;
    }
    for (const ReportText& t : page.texts) {
        if (t.rect.top == top && t.rect.left == x)
            return t.text;
    }
    return QString();
}

struct Run {
    int exitCode = -1;
    QString err;
};

Run Cli(const QStringList& args)
{
    Run run;
    QString out;
    run.exitCode = RunProgram(QStringLiteral(LADOGRAF_CLI_PATH), args, &out, &run.err);
    return run;
}

// The text of a PDF as poppler reads it; null when pdftotext is not installed.
QString PdfText(const QString& path)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return QString();
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QtMessageHandler g_previous = nullptr;
QStringList g_warnings;
void RecordWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    // The offscreen platform's own remarks are not the report's.
    if (type >= QtWarningMsg && !text.contains(QLatin1String("XDG_RUNTIME_DIR"))
        && !text.contains(QLatin1String("propagateSizeHints")))
        g_warnings << text;
    g_previous(type, context, text);
}

QStringList NoPorts() { return {}; }

} // namespace

class ReportTest : public QObject {
    Q_OBJECT
private slots:
    void footer_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("footer");
        QTest::newRow("unsaved new configuration")
            << QString() << 1 << 1 << "Прибор № 1    14:05:09 31/12/2012    страница 1 из 5";
        QTest::newRow("opened file") << "/home/engineer/meter 7.cfg" << 1 << 5
                                     << "Файл: /home/engineer/meter 7.cfg    14:05:09 31/12/2012    страница 5 из 5";
    }
    void footer()
    {
        QFETCH(QString, path);
        QFETCH(int, address);
        QFETCH(int, page);
        QFETCH(QString, footer);
        ConfigModel m = NewConfigModel();
        m.connection_address = address;
        const ReportPage content = ReportPageContent(m, path, kTime, page, 4800, 6800);
        QCOMPARE(content.texts.front().text, footer);
        QCOMPARE(content.texts.front().rect, (ReportRect{0, 6700, 4800, 6800}));
        QCOMPARE(content.rules.front(), (ReportRect{0, 6695, 4800, 6696}));
    }

    void printTime()
    {
        QCOMPARE(ReportPrintTime(QDateTime(QDate(2012, 12, 31), QTime(14, 5, 9))), kTime);
    }

    void titlePage_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("serial");
        QTest::newRow("with an address") << 12345 << "12345";
        QTest::newRow("address 0 prints no value") << 0 << QString();
    }
    void titlePage()
    {
        QFETCH(int, address);
        QFETCH(QString, serial);
        ConfigModel m = NewConfigModel();
        m.connection_address = address;
        m.firmware_version = "1.7.0 / 2.1.3";
        const ReportPage p = ReportPageContent(m, QString(), kTime, 1, 4800, 6800);
        QCOMPARE(ValueBeside(p, QStringLiteral("Заводской номер измерителя:"), 1100), serial);
        QCOMPARE(ValueBeside(p, QStringLiteral("Версия ПО:"), 1100), QStringLiteral("1.7.0 / 2.1.3"));
        QVERIFY(Texts(p).contains(QStringLiteral("Отчёт о настройке измерителя \"Ворант-ПКЭ\"")));
        QCOMPARE(p.rules.size(), size_t(3));
    }

    void voltagePage_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<int>("inputType");
        QTest::addColumn<int>("ratioIndex");
        QTest::addColumn<bool>("feeders");
        QTest::addColumn<QString>("ratio");
        QTest::newRow("version 2, ratio 100") << QByteArray("2.0.1 / 2.1.3") << 1 << 4 << true << "100.00";
        QTest::newRow("version 1, ratio 157.5") << QByteArray("1.7.0 / 2.1.3") << 1 << 9 << false << "157.50";
        QTest::newRow("direct input: no ratio") << QByteArray("1.7.0 / 2.1.3") << 0 << 4 << false << QString();
        QTest::newRow("index beyond the list") << QByteArray("1.7.0 / 2.1.3") << 1 << 21 << false << QString();
        QTest::newRow("no selection") << QByteArray() << 1 << -1 << false << QString();
    }
    void voltagePage()
    {
        QFETCH(QByteArray, version);
        QFETCH(int, inputType);
        QFETCH(int, ratioIndex);
        QFETCH(bool, feeders);
        QFETCH(QString, ratio);
        ConfigModel m = NewConfigModel();
        m.firmware_version = version;
        m.input_type = inputType;
        m.ratio_index = ratioIndex;
        const ReportPage p = ReportPageContent(m, QString(), kTime, 2, 4800, 6800);
        QCOMPARE(Texts(p).contains(QStringLiteral("Фидер 1")), feeders);
        QCOMPARE(Texts(p).contains(QStringLiteral("Фидер 2")), feeders);
        QCOMPARE(ValueBeside(p, QStringLiteral("Коэффициент трансформации:"), 2600), ratio);
        QCOMPARE(ValueBeside(p, QStringLiteral("Номинальное фазное напряжение:"), 2600), QStringLiteral("220.000"));
    }

    // A ratio typed in this run sits after the fixed entries of the voltage page's list.
    void typedRatioPrints()
    {
        ConfigModel m = NewConfigModel();
        m.input_type = 1;
        m.ratio_index = 21;
        const QStringList entries = TransformerRatioEntries() + QStringList{QStringLiteral("420")};
        const ReportPage p = ReportPageContent(m, QString(), kTime, 2, 4800, 6800, entries);
        QCOMPARE(ValueBeside(p, QStringLiteral("Коэффициент трансформации:"), 2600), QStringLiteral("420.00"));
    }

    void sectionPagesHoldOnlyTheirHeading()
    {
        const ConfigModel m = NewConfigModel();
        const ReportPage p = ReportPageContent(m, QString(), kTime, 3, 4800, 6800);
        QCOMPARE(Texts(p), (QStringList{ReportFooter(m, QString(), kTime, 3),
                                        QStringLiteral("6. Коэффициенты гармонической составляющей")}));
        QCOMPARE(p.rules.size(), size_t(1));
    }

    // The PDF of the command line holds the five pages with their texts.
    void commandLinePdf()
    {
        QTemporaryDir dir;
        const QString cfg = dir.filePath(QStringLiteral("meter.cfg"));
        ConfigModel m = NewConfigModel();
        m.firmware_version = "2.0.1 / 2.1.3";
        m.connection_address = 4321;
        QString error;
        QVERIFY(SaveConfigFile(cfg, m, &error));
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        const Run run = Cli({QStringLiteral("report"), cfg, QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.exitCode, 0);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        const QString text = PdfText(pdf);
        if (text.isNull())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY(text.contains(QStringLiteral("Файл: ") + cfg));
        QVERIFY(text.contains(QStringLiteral("страница 5 из 5")));
        QVERIFY(text.contains(QStringLiteral("4321")));
        QVERIFY(text.contains(QStringLiteral("Фидер 2")));
        QVERIFY(text.contains(QStringLiteral("7. Частота")));
    }

    void commandLineFailures()
    {
        QTemporaryDir dir;
        const QString broken = dir.filePath(QStringLiteral("broken.cfg"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x05\x00\x00", 3));
        file.close();
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        Run run = Cli({QStringLiteral("report"), broken, QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.startsWith(QStringLiteral("error: ")));
        QVERIFY(!QFile::exists(pdf));

        const QString unwritable = dir.filePath(QStringLiteral("no/such/folder/out.pdf"));
        run = Cli({QStringLiteral("report"), QStringLiteral("new"), QStringLiteral("--pdf"), unwritable});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("Не удалось записать файл")));

        QCOMPARE(Cli({QStringLiteral("report"), QStringLiteral("new")}).exitCode, 2);
    }

    // The preview opens on the offscreen platform without a warning and shows five pages.
    void previewShowsFivePages()
    {
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        CMainFrame::Options options;
        options.prompt = &prompt;
        options.settingsPath = dir.filePath(QStringLiteral("Ладограф.ini"));
        CMainFrame frame(options);
        frame.View().PortScan().SetProbe(&NoPorts);
        frame.Document().OnNewDocument();

        int pages = -1;
        QTimer::singleShot(0, [&pages] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) {
                preview->updatePreview();
                pages = preview->pageCount();
            }
            dialog->reject();
        });
        g_warnings.clear();
        g_previous = qInstallMessageHandler(RecordWarnings);
        frame.OnFilePrintPreview();
        qInstallMessageHandler(g_previous);
        QCOMPARE(pages, 5);
        // The printer works in the report's 600 dpi units, so the value column of page 2 lies
        // well inside the printable width.
        QCOMPARE(frame.Printer().resolution(), 600);
        QVERIFY(frame.Printer().width() > 3600);
        QCOMPARE(g_warnings, QStringList());
        QVERIFY(!frame.PrintTime().isEmpty());
    }
};

QTEST_MAIN(ReportTest)
#include "tst_report.moc"
