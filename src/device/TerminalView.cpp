#include "TerminalView.h"

#include "FirstView.h"
#include "PortScan.h"
#include "SerialPort.h"
#include "shell/AppSettings.h"

CTerminalView::CTerminalView(QWidget* parent)
    : CFormPage(parent)
{
    setObjectName(QStringLiteral("CTerminalView"));
}

void CTerminalView::LoadSettings(const AppSettings& settings)
{
    m_ports.clear();
    m_port.clear();
    if (PortExists(settings.termName)) {
        m_ports << settings.termName;
        m_port = settings.termName;
    }
    // The same rates as the connection page; a stored rate no entry begins with gives the first.
    const QStringList& rates = CFirstView::BaudRates();
    m_baud = rates[BaudEntryFor(rates, settings.termBaud)];
}

void CTerminalView::StoreSettings(AppSettings& settings) const
{
    settings.termName = m_port;
    settings.termBaud = m_baud;
}

void CTerminalView::SetPortList(const QStringList& ports, const QString& savedName)
{
    m_ports = ports;
    const int index = PortEntryFor(ports, savedName);
    m_port = index < 0 ? QString() : ports[index];
}
