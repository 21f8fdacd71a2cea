#include "SubPageSupport.h"

#include "common/Cp1251.h"
#include "device/GuiPrompt.h"
#include "device/ProcessCommand.h"
#include "model/ModelChanged.h"
#include "shell/FormPage.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

class DigitKeyFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            // Control keys (arrows, deletion, shortcuts such as Ctrl+V) carry no printable text.
            const bool printable = !text.isEmpty() && text.at(0).isPrint();
            if (printable && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                for (QChar c : text) {
                    if (c < u'0' || c > u'9')
                        return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void AcceptDigitsOnly(QLineEdit* edit)
{
    edit->installEventFilter(new DigitKeyFilter(edit));
}

QByteArray MarkupBytes(const char* utf8)
{
    return cp1251::Encode(QString::fromUtf8(utf8));
}

void NameControl(QWidget* control, const QString& name, QLabel* label)
{
    control->setAccessibleName(name);
    if (label)
        label->setBuddy(control);
}

void SetChoice(QButtonGroup* group, int index)
{
    if (QAbstractButton* button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked button go.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

void SetListIndex(QComboBox* list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void SetPageContent(QWidget* page, QBoxLayout* columns)
{
    // Each column keeps its own height; the space below all of them stays empty.
    for (int i = 0; i < columns->count(); ++i)
        columns->itemAt(i)->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    columns->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addLayout(columns);
    layout->addStretch();
}

SubPagePrompt::SubPagePrompt(QWidget* page)
    : m_page(page)
{
}

SubPagePrompt::~SubPagePrompt() = default;

UserPrompt& SubPagePrompt::Get()
{
    if (m_assigned)
        return *m_assigned;
    for (QWidget* w = m_page->parentWidget(); w; w = w->parentWidget()) {
        if (auto* page = dynamic_cast<CFormPage*>(w); page && page->Processor())
            return page->Processor()->Prompt();
    }
    if (!m_boxes)
        m_boxes = std::make_unique<GuiPrompt>(m_page);
    return *m_boxes;
}

void MarkUserChange(int depth)
{
    if (depth == 0)
        modelChanged().Set();
}
