#pragma once
// What the setpoint sub-pages share beyond their base: digits-only edits, the prompt their
// messages go through, telling the program's own control updates from the user's, and the
// accessible names of controls beside labels.
#include <QByteArray>
#include <QString>

#include <memory>

class QBoxLayout;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class UserPrompt;

// Lets only digits be typed into edit; pasted text and text set by the program stay as they
// are (the nominal frequency shows "50.00" and still takes "60" typed).
void AcceptDigitsOnly(QLineEdit* edit);

// A painted label's markup written in the source ("@D@F~пред в~,Гц") as the cp1251 bytes the
// markup painter takes.
QByteArray MarkupBytes(const char* utf8);

// Names control as a screen reader should say it and ties the label to it.
void NameControl(QWidget* control, const QString& name, QLabel* label = nullptr);

// Checks the radio of group with id index, or none of them for an index the group lacks.
void SetChoice(QButtonGroup* group, int index);
// Selects entry index of list, or none for an index the list lacks.
void SetListIndex(QComboBox* list, int index);

// Puts a sub-page's controls at its top left, as the fixed-size forms of the page have them.
void SetPageContent(QWidget* page, QBoxLayout* columns);

// The prompt of a sub-page: the protocol engine's once the page host has handed the engine to
// the page holding the sub-page, message boxes over the sub-page before that; a test sets its
// own.
class SubPagePrompt {
public:
    explicit SubPagePrompt(QWidget* page);
    ~SubPagePrompt();
    void Set(UserPrompt* prompt) { m_assigned = prompt; }
    UserPrompt& Get();

private:
    QWidget* m_page;
    UserPrompt* m_assigned = nullptr;
    std::unique_ptr<UserPrompt> m_boxes;
};

// While one of these lives, the change handlers of a page know that the program, not the
// user, is changing its controls: no modelChanged, no snapping.
class ProgramUpdate {
public:
    explicit ProgramUpdate(int& depth) : m_depth(depth) { ++m_depth; }
    ~ProgramUpdate() { --m_depth; }
    ProgramUpdate(const ProgramUpdate&) = delete;
    ProgramUpdate& operator=(const ProgramUpdate&) = delete;

private:
    int& m_depth;
};

// A user's edit: sets modelChanged unless the program is updating (depth > 0).
void MarkUserChange(int depth);
