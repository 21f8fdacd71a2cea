#pragma once
// The page "Терминал": a raw serial terminal. It holds nothing of the configuration; of its
// settings the port, the baud rate and the time-stamp toggle are kept between runs. Its
// port is its own (not the meter link) and is open only while the page shows; everything
// runs on the user-interface thread, woken by the port's data and a timer for the modem
// lines.
#include "TerminalText.h"
#include "shell/FormPage.h"

#include <QStringList>

#include <functional>
#include <memory>

struct AppSettings;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSerialPort;
class QTimer;
class QToolButton;
class UserPrompt;

class CTerminalView : public CFormPage {
    Q_OBJECT
public:
    explicit CTerminalView(QWidget* parent = nullptr);
    ~CTerminalView() override;

    virtual void LoadSettings(const AppSettings& settings);
    virtual void StoreSettings(AppSettings& settings) const;
    // The port scan's result: the list is replaced and the saved name selected.
    virtual void SetPortList(const QStringList& ports, const QString& savedName);
    virtual void SetRefreshEnabled(bool enabled);

    QString PortText() const;
    QString BaudText() const;
    QStringList Ports() const;
    bool RefreshEnabled() const;

    void LayoutStretchingControls(const QRect& page, const QRect& client) override;

    // Where the page's messages go; without one, the page host's prompt.
    void SetPrompt(UserPrompt* prompt) { m_prompt = prompt; }
    // The save dialog's answer (tests); an empty path is a cancel.
    void SetSaveDialog(std::function<QString()> dialog) { m_saveDialog = std::move(dialog); }
    // The monotonic clock in ms that decides time-stamp gaps (tests).
    void SetClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    bool IsPortOpen() const;
    QPlainTextEdit* Output() const { return m_output; }
    QPlainTextEdit* Input() const { return m_input; }
    QMenu* CreateInputMenu(QWidget* parent);
    QMenu* CreateOutputMenu(QWidget* parent);

public slots:
    // Chooses a port or a rate as the user does: the port is reopened with it.
    void ChoosePort(const QString& name);
    void ChooseBaud(const QString& rate);
    void RefreshPorts();
    void PasteHex();            // "Вставить" of the input box
    void SaveOutput();          // the save button
    void SaveOutputTo(const QString& path);
    void PollModemLines();      // the modem-line timer
    void ReceiveAvailable();    // the port's readyRead

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UserPrompt& Prompt();
    void OpenPort();
    void ClosePort();
    void Reopen();
    void SendBytes(const QByteArray& bytes);
    void AppendOutput(const QString& text);
    QMenu* CreateEditMenu(QPlainTextEdit* box, bool hexPaste, QWidget* parent);

    QPlainTextEdit* m_output = nullptr;
    QPlainTextEdit* m_input = nullptr;
    QLabel* m_outputLabel = nullptr;
    QLabel* m_inputLabel = nullptr;
    QToolButton* m_clearOutput = nullptr;
    QToolButton* m_saveOutput = nullptr;
    QToolButton* m_clearInput = nullptr;
    QComboBox* m_portList = nullptr;
    QToolButton* m_refresh = nullptr;
    QComboBox* m_baudList = nullptr;
    QCheckBox* m_cts = nullptr;
    QCheckBox* m_dsr = nullptr;
    QCheckBox* m_rlsd = nullptr;
    QCheckBox* m_ring = nullptr;
    QCheckBox* m_dtr = nullptr;
    QCheckBox* m_rts = nullptr;
    QPushButton* m_hex = nullptr;
    QPushButton* m_stamps = nullptr;

    QSerialPort* m_port = nullptr;
    QTimer* m_modemTimer = nullptr;
    bool m_wanted = false;  // the page shows: the port is to be open
    ReceivedTextFormatter m_formatter;
    UserPrompt* m_prompt = nullptr;
    std::unique_ptr<UserPrompt> m_ownPrompt;
    std::function<QString()> m_saveDialog;
    std::function<qint64()> m_clock;
};
