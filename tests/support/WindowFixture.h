#pragma once
// The main window as the GUI tests use it: its boxes answered by a scripted prompt, its own
// settings file, no serial ports, a new document, shown at 1000 x 640; and the connection
// page pointed at a virtual meter on the loopback address. Header only: the tests that use
// it link the UI library themselves.
#include "ScriptedPrompt.h"
#include "device/FirstView.h"
#include "device/PortScan.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/MainFrame.h"

#include <QLineEdit>

#include <memory>

inline std::unique_ptr<CMainFrame> MakeTestWindow(ScriptedPrompt& prompt, const QString& settingsPath)
{
    CMainFrame::Options options;
    options.prompt = &prompt;
    options.settingsPath = settingsPath;
    options.recentFiles = false;
    auto frame = std::make_unique<CMainFrame>(options);
    frame->View().PortScan().SetProbe([] { return QStringList{}; });
    frame->Document().OnNewDocument();
    frame->resize(1000, 640);
    frame->show();
    return frame;
}

inline void PointAtMeter(CFirstView& page, quint16 tcpPort)
{
    auto edit = [&page](const char* name) { return page.findChild<QLineEdit*>(QString::fromLatin1(name)); };
    page.SetLinkChoice(CFirstView::EthernetLink);
    edit("host")->setText(QStringLiteral("127.0.0.1"));
    edit("tcpPort")->setText(QString::number(tcpPort));
    edit("timeout")->setText(QStringLiteral("2"));
    edit("ethernetAddress")->setText(QStringLiteral("1"));
}
