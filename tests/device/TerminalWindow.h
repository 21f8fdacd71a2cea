#pragma once
// The main window as the terminal tests and the idle measurement use it: a new document,
// no ports from the scan, messages into the given prompt, settings in the given file.
#include "device/PortScan.h"
#include "shell/ConfigDoc.h"
#include "shell/ConfigView.h"
#include "shell/MainFrame.h"

#include <QStandardPaths>

#include <memory>

inline std::unique_ptr<CMainFrame> TerminalWindow(UserPrompt& prompt, const QString& settingsPath)
{
    QStandardPaths::setTestModeEnabled(true);
    CMainFrame::Options options;
    options.prompt = &prompt;
    options.settingsPath = settingsPath;
    options.recentFiles = false;
    auto frame = std::make_unique<CMainFrame>(options);
    frame->View().PortScan().SetProbe([] { return QStringList(); });
    frame->Document().OnNewDocument();
    frame->resize(1000, 640);
    frame->show();
    return frame;
}
