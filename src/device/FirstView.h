#pragma once
// The page "Настройки соединения": how the meter is reached (serial port or Ethernet), the
// link test with the meter's identification, and the connection settings every other page
// takes before it talks to the meter.
#include "ActivePage.h"
#include "shell/FormPage.h"

#include <QByteArray>

#include <functional>

class CEthernetPort;
class CSerial;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
struct AppSettings;
class CPortScan;

class CFirstView : public CFormPage {
    Q_OBJECT
public:
    enum LinkChoice { SerialLink = 0, EthernetLink = 1 };

    explicit CFirstView(QWidget* parent = nullptr);

    // The two links of the main window; until they are given the page retargets nothing.
    void SetLinks(CSerial* serial, CEthernetPort* ethernet);
    // The document's model, used by "Проверка связи".
    void SetModel(ConfigModel* model) { m_model = model; }
    // Where "Проверка связи" hands the tested address to the system setpoint page.
    void SetSystemAddressSink(std::function<void(const QString&)> sink) { m_systemAddressSink = std::move(sink); }

    void AttachProcessCommand(CProcessCommand* processor) override;
    void ExchangeWithModel(ConfigModel& model, int direction) override;

    // Settings file: the connection keys.
    void LoadSettings(const AppSettings& settings);
    void StoreSettings(AppSettings& settings) const;

    // The port scan's result: the list is replaced and the saved name selected.
    void SetPortList(const QStringList& ports, const QString& savedName);
    void SetRefreshEnabled(bool enabled);

    int LinkChoiceValue() const { return m_linkChoice; }
    void SetLinkChoice(int choice);  // as if its radio had been clicked

    // A read or write command took the meter's identity into the model: the page shows it
    // (and keeps it for the next store), the address edits stay as the user typed them.
    void ShowIdentity(const ConfigModel& model);

    // Chooses the Ethernet link to host:port for this run (an empty address becomes "1").
    void PointEthernetAt(const QString& host, const QString& port);
    // The keyboard focus into the device-address field of the current link choice.
    void FocusAddressField();

    // Port name, link parameter and address text of the current link choice.
    LinkSettings CurrentTarget() const;
    QString AddressText() const;
    // "COM1:115200" for a serial link, the host text for Ethernet.
    QString ConnectionPaneText() const;

    QByteArray VersionText() const { return m_version; }
    QByteArray ModelNameText() const { return m_modelName; }
    QByteArray SerialText() const { return m_serial; }

    static const QStringList& BaudRates();  // SerialBaudRates(): the command line takes the same

public slots:
    void TestConnection();  // "Проверка связи"
    void RefreshPorts();

signals:
    void LinkChanged();

private:
    void ApplyLinkChoice(bool copyFromOther);
    void RefreshIdentity();
    void OnTimeoutEdited(const QString& text);
    void SelectBaud(const QString& saved);

    QRadioButton* m_serialRadio = nullptr;
    QRadioButton* m_ethernetRadio = nullptr;
    QLineEdit* m_serialAddress = nullptr;
    QComboBox* m_portList = nullptr;
    QToolButton* m_refresh = nullptr;
    QComboBox* m_baudList = nullptr;
    QCheckBox* m_modem = nullptr;
    QLineEdit* m_phone = nullptr;
    QLineEdit* m_modemInit = nullptr;
    QLineEdit* m_ethernetAddress = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_tcpPort = nullptr;
    QLineEdit* m_timeout = nullptr;
    QLabel* m_serialValue = nullptr;
    QLabel* m_versionValue = nullptr;
    QLabel* m_modelValue = nullptr;

    int m_linkChoice = SerialLink;
    QByteArray m_modelName;
    QByteArray m_version;
    QByteArray m_serial;
    CSerial* m_serialLink = nullptr;
    CEthernetPort* m_ethernetLink = nullptr;
    ConfigModel* m_model = nullptr;
    CPortScan* m_refreshScan = nullptr;
    bool m_scanning = false;
    QString m_rememberedPort;
    std::function<void(const QString&)> m_systemAddressSink;
};
