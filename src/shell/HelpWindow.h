#pragma once
// The program's help: a small Russian HTML book shown in a browser window at a topic.
#include <QTextBrowser>

class CHelpWindow : public QTextBrowser {
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Opens (or raises) the one help window at the topic; false when the help is missing.
    static bool Show(QWidget* owner, int topic);
    static QUrl TopicUrl(int topic);
    // The help file shown: the installed one beside the program's data, else the built-in one.
    static QString HelpFile();
};
