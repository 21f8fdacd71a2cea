#include "TerminalView.h"

#include "FirstView.h"
#include "GuiPrompt.h"
#include "PortScan.h"
#include "ProcessCommand.h"
#include "SerialPort.h"
#include "common/Cp1251.h"
#include "common/SaveFile.h"
#include "common/UserPrompt.h"
#include "shell/AppSettings.h"
#include "shell/ConfigView.h"
#include "shell/ToolbarIcons.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

// The modem lines are looked at this often while the port is open.
constexpr int kModemPollMs = 20;

QFont BoxFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(16);
    return font;
}

QToolButton* IconButton(QWidget* parent, const QString& name, QStyle::StandardPixmap icon, const QString& does)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(does);
    button->setAccessibleName(does);
    return button;
}

// A check box that only shows a line's state.
QCheckBox* LineLamp(QWidget* parent, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(text.toLower());
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

qint64 SteadyMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

qint32 HighestStandardRate()
{
    const QList<qint32> rates = QSerialPortInfo::standardBaudRates();
    return rates.isEmpty() ? 0 : *std::max_element(rates.begin(), rates.end());
}

} // namespace

CTerminalView::CTerminalView(QWidget* parent)
    : CFormPage(parent)
    , m_clock(&SteadyMs)
{
    setObjectName(QStringLiteral("CTerminalView"));

    m_outputLabel = new QLabel(QStringLiteral("Вывод"), this);
    m_output = new QPlainTextEdit(this);
    m_output->setObjectName(QStringLiteral("output"));
    m_output->setFont(BoxFont());
    m_output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_output->setContextMenuPolicy(Qt::CustomContextMenu);
    m_outputLabel->setBuddy(m_output);
    m_output->setAccessibleName(m_outputLabel->text());
    m_inputLabel = new QLabel(QStringLiteral("Ввод"), this);
    m_input = new QPlainTextEdit(this);
    m_input->setObjectName(QStringLiteral("input"));
    m_input->setFont(BoxFont());
    m_input->setContextMenuPolicy(Qt::CustomContextMenu);
    m_inputLabel->setBuddy(m_input);
    m_input->setAccessibleName(m_inputLabel->text());
    m_input->installEventFilter(this);
    m_output->installEventFilter(this);

    m_clearOutput = IconButton(this, QStringLiteral("clearOutput"), QStyle::SP_DialogResetButton,
                               QStringLiteral("Очистить вывод"));
    m_saveOutput = IconButton(this, QStringLiteral("saveOutput"), QStyle::SP_DialogSaveButton,
                              QStringLiteral("Сохранить вывод в файл"));
    m_clearInput = IconButton(this, QStringLiteral("clearInput"), QStyle::SP_DialogResetButton,
                              QStringLiteral("Очистить ввод"));

    auto* linkBox = new QGroupBox(QStringLiteral("Параметры соединения"), this);
    linkBox->setObjectName(QStringLiteral("linkBox"));
    m_portList = new QComboBox(linkBox);
    m_portList->setObjectName(QStringLiteral("termPortList"));
    m_portList->setEditable(true);
    m_portList->setInsertPolicy(QComboBox::NoInsert);
    // A device path is typed into the list's own edit: a screen reader names it like the list.
    m_portList->lineEdit()->setAccessibleName(QStringLiteral("Номер порта:"));
    m_refresh = IconButton(linkBox, QStringLiteral("termRefreshPorts"), QStyle::SP_BrowserReload,
                           QStringLiteral("Обновить список портов"));
    m_baudList = new QComboBox(linkBox);
    m_baudList->setObjectName(QStringLiteral("termBaudList"));
    m_baudList->addItems(CFirstView::BaudRates());
    m_baudList->setCurrentText(QStringLiteral("115200"));
    auto* portLabel = new QLabel(QStringLiteral("Номер порта:"), linkBox);
    portLabel->setBuddy(m_portList);
    m_portList->setAccessibleName(portLabel->text());
    auto* baudLabel = new QLabel(QStringLiteral("Скорость:"), linkBox);
    baudLabel->setBuddy(m_baudList);
    m_baudList->setAccessibleName(baudLabel->text());
    auto* linkGrid = new QGridLayout(linkBox);
    linkGrid->addWidget(portLabel, 0, 0);
    linkGrid->addWidget(m_portList, 0, 1);
    linkGrid->addWidget(m_refresh, 0, 2);
    linkGrid->addWidget(baudLabel, 1, 0);
    linkGrid->addWidget(m_baudList, 1, 1);
    linkGrid->addWidget(new QLabel(QStringLiteral("бит/с"), linkBox), 1, 2);
    linkGrid->setColumnStretch(1, 1);

    auto* lineBox = new QGroupBox(QStringLiteral("Состояние линии"), this);
    lineBox->setObjectName(QStringLiteral("lineBox"));
    m_cts = LineLamp(lineBox, QStringLiteral("CTS"));
    m_dsr = LineLamp(lineBox, QStringLiteral("DSR"));
    m_rlsd = LineLamp(lineBox, QStringLiteral("RLSD"));
    m_ring = LineLamp(lineBox, QStringLiteral("RING"));
    m_dtr = new QCheckBox(QStringLiteral("DTR"), lineBox);
    m_dtr->setObjectName(QStringLiteral("dtr"));
    m_rts = new QCheckBox(QStringLiteral("RTS"), lineBox);
    m_rts->setObjectName(QStringLiteral("rts"));
    auto* lineGrid = new QGridLayout(lineBox);
    lineGrid->addWidget(m_cts, 0, 0);
    lineGrid->addWidget(m_dsr, 0, 1);
    lineGrid->addWidget(m_rlsd, 0, 2);
    lineGrid->addWidget(m_ring, 0, 3);
    lineGrid->addWidget(m_dtr, 1, 0);
    lineGrid->addWidget(m_rts, 1, 1);

    m_hex = new QPushButton(QStringLiteral("Режим HEX"), this);
    m_hex->setObjectName(QStringLiteral("hexMode"));
    m_hex->setCheckable(true);
    m_hex->setChecked(true);
    m_stamps = new QPushButton(QStringLiteral("Метки времени"), this);
    m_stamps->setObjectName(QStringLiteral("timeStamps"));
    m_stamps->setCheckable(true);

    linkBox->setGeometry(615, 20, 270, 90);
    lineBox->setGeometry(615, 120, 270, 80);
    m_hex->setGeometry(615, 210, 130, 26);
    m_stamps->setGeometry(755, 210, 130, 26);
    m_outputLabel->setGeometry(5, 8, 95, 14);
    m_clearOutput->setGeometry(555, 0, 22, 22);
    m_saveOutput->setGeometry(580, 0, 22, 22);
    LayoutStretchingControls(QRect(0, 21, 896, 577), QRect(0, 0, 900, 600));

    m_port = new QSerialPort(this);
    m_modemTimer = new QTimer(this);
    m_modemTimer->setInterval(kModemPollMs);

    connect(m_port, &QSerialPort::readyRead, this, &CTerminalView::ReceiveAvailable);
    // A port that went away (a device unplugged) is closed: its notifier would fire on.
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError)
            ClosePort();
    });
    connect(m_modemTimer, &QTimer::timeout, this, &CTerminalView::PollModemLines);
    connect(m_portList, &QComboBox::activated, this, [this] { ChoosePort(m_portList->currentText()); });
    connect(m_portList->lineEdit(), &QLineEdit::returnPressed, this, [this] { ChoosePort(m_portList->currentText()); });
    connect(m_baudList, &QComboBox::activated, this, [this] { ChooseBaud(m_baudList->currentText()); });
    connect(m_refresh, &QToolButton::clicked, this, &CTerminalView::RefreshPorts);
    connect(m_dtr, &QCheckBox::clicked, this, [this](bool on) {
        if (IsPortOpen())
            m_port->setDataTerminalReady(on);
    });
    connect(m_rts, &QCheckBox::clicked, this, [this](bool on) {
        if (IsPortOpen())
            m_port->setRequestToSend(on);
    });
    connect(m_hex, &QPushButton::toggled, this, [this](bool on) { m_formatter.SetHex(on); });
    connect(m_stamps, &QPushButton::toggled, this, [this](bool on) { m_formatter.SetTimeStamps(on); });
    connect(m_clearOutput, &QToolButton::clicked, m_output, &QPlainTextEdit::clear);
    connect(m_clearInput, &QToolButton::clicked, m_input, &QPlainTextEdit::clear);
    connect(m_saveOutput, &QToolButton::clicked, this, &CTerminalView::SaveOutput);
    connect(m_input, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateInputMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_input->viewport()->mapToGlobal(at));
    });
    connect(m_output, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateOutputMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_output->viewport()->mapToGlobal(at));
    });
}

CTerminalView::~CTerminalView()
{
    m_wanted = false;
    ClosePort();
}

UserPrompt& CTerminalView::Prompt()
{
    if (m_prompt)
        return *m_prompt;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* host = qobject_cast<CConfigView*>(w))
            return host->Processor().Prompt();
    }
    if (!m_ownPrompt)
        m_ownPrompt = std::make_unique<GuiPrompt>(this);
    return *m_ownPrompt;
}

void CTerminalView::LoadSettings(const AppSettings& settings)
{
    m_portList->clear();
    if (PortExists(settings.termName))
        m_portList->addItem(settings.termName);
    m_portList->setCurrentIndex(m_portList->count() > 0 ? 0 : -1);
    if (m_portList->count() == 0)
        m_portList->setEditText(QString());
    // The same rates as the connection page; a stored rate no entry begins with gives the first.
    const QStringList& rates = CFirstView::BaudRates();
    m_baudList->setCurrentIndex(BaudEntryFor(rates, settings.termBaud));
    m_stamps->setChecked(settings.termStamps == QLatin1String("1"));
}

void CTerminalView::StoreSettings(AppSettings& settings) const
{
    settings.termName = PortText();
    settings.termBaud = BaudText();
    settings.termStamps = m_stamps->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

void CTerminalView::SetPortList(const QStringList& ports, const QString& savedName)
{
    m_portList->clear();
    m_portList->addItems(ports);
    m_portList->setCurrentIndex(PortEntryFor(ports, savedName));
    if (ports.isEmpty())
        m_portList->setEditText(QString());
}

void CTerminalView::SetRefreshEnabled(bool enabled) { m_refresh->setEnabled(enabled); }

QString CTerminalView::PortText() const { return m_portList->currentText(); }

QString CTerminalView::BaudText() const { return m_baudList->currentText(); }

QStringList CTerminalView::Ports() const
{
    QStringList ports;
    for (int i = 0; i < m_portList->count(); ++i)
        ports << m_portList->itemText(i);
    return ports;
}

bool CTerminalView::RefreshEnabled() const { return m_refresh->isEnabled(); }

bool CTerminalView::IsPortOpen() const { return m_port->isOpen(); }

void CTerminalView::LayoutStretchingControls(const QRect& page, const QRect& client)
{
    Q_UNUSED(client);
    const int top = page.y();
    const int h = (page.y() + page.height()) / 2;
    m_output->setGeometry(1, top + 4, 603, std::max(0, h - top - 16));
    m_input->setGeometry(1, h + 16, 603, std::max(0, page.y() + page.height() - h - 36));
    m_inputLabel->setGeometry(5, h - 2, 95, 14);
    m_clearInput->setGeometry(580, h - 9, 22, 25);
}

void CTerminalView::showEvent(QShowEvent* event)
{
    CFormPage::showEvent(event);
    // The window being restored is no reason to open: only the tab showing is.
    if (event->spontaneous() || m_wanted)
        return;
    m_wanted = true;
    OpenPort();
}

void CTerminalView::hideEvent(QHideEvent* event)
{
    CFormPage::hideEvent(event);
    if (event->spontaneous())
        return;
    m_wanted = false;
    ClosePort();
}

void CTerminalView::ChoosePort(const QString& name)
{
    if (m_portList->currentText() != name)
        m_portList->setEditText(name);
    Reopen();
}

void CTerminalView::ChooseBaud(const QString& rate)
{
    m_baudList->setCurrentText(rate);
    Reopen();
}

void CTerminalView::Reopen()
{
    // A choice made while the page shows opens the port again with it, also after a
    // failed attempt; a hidden page only remembers it.
    if (!isVisible())
        return;
    ClosePort();
    m_wanted = true;
    OpenPort();
}

void CTerminalView::OpenPort()
{
    ClosePort();
    const QString name = PortText();
    // No port to choose (a machine without serial ports): nothing to try, nothing to say.
    if (name.isEmpty()) {
        m_wanted = false;
        return;
    }
    const qint32 baud = BaudText().toInt();
    m_port->setPortName(name);
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_wanted = false;
        Prompt().Error(msg::TerminalPortBusy(name));
        return;
    }
    const auto fail = [this] {
        m_wanted = false;
        ClosePort();
    };
    const qint32 highest = HighestStandardRate();
    if (highest > 0 && baud > highest) {
        fail();
        Prompt().Error(msg::kTerminalRateNotSupported);
        return;
    }
    if (!m_port->clear(QSerialPort::AllDirections))
        return fail();
    if (!m_port->setBaudRate(baud) || !m_port->setDataBits(QSerialPort::Data8)
        || !m_port->setParity(QSerialPort::NoParity) || !m_port->setStopBits(QSerialPort::OneStop)
        || !m_port->setFlowControl(QSerialPort::NoFlowControl))
        return fail();
    // Both output lines start low; the boxes keep what the user ticked. A port without
    // modem lines (a pseudo-terminal) refuses this, which is no reason to fail.
    m_port->setDataTerminalReady(false);
    m_port->setRequestToSend(false);
    m_port->clearError();
    m_modemTimer->start();
}

void CTerminalView::ClosePort()
{
    m_modemTimer->stop();
    if (m_port->isOpen())
        m_port->close();
}

void CTerminalView::ReceiveAvailable()
{
    if (!m_port->isOpen())
        return;
    const QByteArray data = m_port->readAll();
    if (data.isEmpty())
        return;
    const QString shown = m_output->toPlainText();
    const bool endsLine = shown.isEmpty() || shown.endsWith(QLatin1Char('\n'));
    AppendOutput(m_formatter.Format(data, m_clock(), QTime::currentTime(), endsLine));
}

void CTerminalView::PollModemLines()
{
    if (!m_port->isOpen())
        return;
    const QSerialPort::PinoutSignals lines = m_port->pinoutSignals();
    m_port->clearError();
    m_cts->setChecked(lines.testFlag(QSerialPort::ClearToSendSignal));
    m_dsr->setChecked(lines.testFlag(QSerialPort::DataSetReadySignal));
    m_rlsd->setChecked(lines.testFlag(QSerialPort::DataCarrierDetectSignal));
    m_ring->setChecked(lines.testFlag(QSerialPort::RingIndicatorSignal));
}

void CTerminalView::AppendOutput(const QString& text)
{
    if (text.isEmpty())
        return;
    QTextCursor cursor(m_output->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    QScrollBar* bar = m_output->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void CTerminalView::SendBytes(const QByteArray& bytes)
{
    if (m_port->isOpen() && !bytes.isEmpty())
        m_port->write(bytes);
}

bool CTerminalView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_input && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            PasteHex();
            return true;
        }
        if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) {
            m_input->textCursor().removeSelectedText();
            return true;
        }
        // What is typed goes out at once, one cp1251 byte a character; shortcuts are not typed.
        if (!key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            SendBytes(cp1251::Encode(key->text()));
    } else if (watched == m_output && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) {
            m_output->textCursor().removeSelectedText();
            return true;
        }
    }
    return CFormPage::eventFilter(watched, event);
}

void CTerminalView::PasteHex()
{
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    if (clip && clip->hasText())
        m_input->insertPlainText(clip->text());
    const HexPaste paste = ParseHexPaste(m_input->toPlainText());
    SendBytes(paste.bytes);
    AppendOutput(paste.echo);
}

void CTerminalView::SaveOutput()
{
    QString path;
    if (m_saveDialog) {
        path = m_saveDialog();
    } else {
        QFileDialog dialog(this);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QStringLiteral("Текстовый файл (*.txt)"));
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        dialog.selectFile(QStringLiteral("Новый"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (!path.isEmpty())
        SaveOutputTo(path);
}

void CTerminalView::SaveOutputTo(const QString& path)
{
    // The shared save: a failed save leaves what was there.
    if (!SaveFileBytes(path, cp1251::Encode(m_output->toPlainText()), nullptr))
        Prompt().AskOkCancel(msg::kTerminalFileNotOpened, QuestionIcon::Warning);
}

void CTerminalView::RefreshPorts()
{
    const QString remembered = PortText();
    const bool holding = IsPortOpen();
    QStringList ports;
    for (const QString& name : SerialPortCandidates()) {
        // The port the page holds cannot be opened a second time: it is listed as it is.
        if ((holding && name == remembered) || PortExists(name))
            ports << name;
    }
    // A device the page holds by its path (one the scan does not know) stays listed.
    if (holding && !ports.contains(remembered))
        ports << remembered;
    m_portList->clear();
    m_portList->addItems(ports);
    if (ports.isEmpty()) {
        m_portList->setEditText(QString());
        return;
    }
    int index = 0;
    if (!remembered.isEmpty()) {
        for (int i = 0; i < ports.size(); ++i) {
            if (ports[i].startsWith(remembered)) {
                index = i;
                break;
            }
        }
    }
    m_portList->setCurrentIndex(index);
}

QMenu* CTerminalView::CreateEditMenu(QPlainTextEdit* box, bool hexPaste, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    const bool selected = box->textCursor().hasSelection();
    menu->addAction(QStringLiteral("Отмена\tCtrl+Z"), box, &QPlainTextEdit::undo)
        ->setEnabled(box->document()->isUndoAvailable());
    menu->addAction(ToolbarIcon(ToolbarIconKind::Cut), QStringLiteral("Вырезать\tCtrl+X"), box, &QPlainTextEdit::cut)
        ->setEnabled(selected);
    menu->addAction(ToolbarIcon(ToolbarIconKind::Copy), QStringLiteral("Копировать\tCtrl+C"), box,
                    &QPlainTextEdit::copy)->setEnabled(selected);
    const QIcon pasteIcon = ToolbarIcon(ToolbarIconKind::Paste);
    if (hexPaste)
        menu->addAction(pasteIcon, QStringLiteral("Вставить\tCtrl+V"), this, &CTerminalView::PasteHex);
    else
        menu->addAction(pasteIcon, QStringLiteral("Вставить\tCtrl+V"), box, &QPlainTextEdit::paste)
            ->setEnabled(box->canPaste());
    menu->addAction(QStringLiteral("Удалить\tCtrl+D"), box, [box] { box->textCursor().removeSelectedText(); })
        ->setEnabled(selected);
    menu->addAction(QStringLiteral("Выделить всё\tCtrl+A"), box, [box] {
        box->setFocus();
        box->selectAll();
    });
    return menu;
}

QMenu* CTerminalView::CreateInputMenu(QWidget* parent) { return CreateEditMenu(m_input, true, parent); }

QMenu* CTerminalView::CreateOutputMenu(QWidget* parent) { return CreateEditMenu(m_output, false, parent); }
