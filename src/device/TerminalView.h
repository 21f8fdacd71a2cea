#pragma once
// The page "Терминал": a raw serial terminal. It holds nothing of the configuration; of its
// settings only the port and the baud rate are kept between runs.
#include "shell/FormPage.h"

#include <QStringList>

struct AppSettings;

class CTerminalView : public CFormPage {
public:
    explicit CTerminalView(QWidget* parent = nullptr);

    virtual void LoadSettings(const AppSettings& settings);
    virtual void StoreSettings(AppSettings& settings) const;
    // The port scan's result: the list is replaced and the saved name selected.
    virtual void SetPortList(const QStringList& ports, const QString& savedName);
    virtual void SetRefreshEnabled(bool enabled) { m_refreshEnabled = enabled; }

    QString PortText() const { return m_port; }
    QString BaudText() const { return m_baud; }
    const QStringList& Ports() const { return m_ports; }
    bool RefreshEnabled() const { return m_refreshEnabled; }

private:
    QStringList m_ports;
    QString m_port;
    QString m_baud;
    bool m_refreshEnabled = true;
};
