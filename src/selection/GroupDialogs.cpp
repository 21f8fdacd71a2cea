#include "GroupDialogs.h"

#include "common/UserPrompt.h"
#include "selection/GroupList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QValidator>
#include <QVBoxLayout>

namespace {

// Typing stops at the limit; a longer text put in by the program stays until "Продолжить".
class MaxLengthValidator final : public QValidator {
public:
    MaxLengthValidator(int length, QObject* parent) : QValidator(parent), m_length(length) {}
    State validate(QString& input, int&) const override
    {
        return input.size() <= m_length ? Acceptable : Invalid;
    }

private:
    int m_length;
};

QHBoxLayout* ButtonRow(QPushButton* first, QPushButton* second)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(first);
    row->addWidget(second);
    return row;
}

} // namespace

int RunModal(QDialog& dialog)
{
    return dialog.exec();
}

COverGroup::COverGroup(int free, int requested, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("COverGroup"));
    setWindowTitle(QStringLiteral("Сообщение"));
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    auto* fixed = new QLabel(FixedLine(), this);
    fixed->setObjectName(QStringLiteral("fixedLine"));
    auto* counts = new QLabel(CountLine(free, requested), this);
    counts->setObjectName(QStringLiteral("countLine"));
    m_continue = new QPushButton(QStringLiteral("Продолжить"), this);
    m_continue->setObjectName(QStringLiteral("continue"));
    m_continue->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Отмена"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_continue, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* texts = new QVBoxLayout;
    texts->addWidget(fixed);
    texts->addWidget(counts);
    auto* body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(ButtonRow(m_continue, m_cancel));
}

QString COverGroup::FixedLine()
{
    return QStringLiteral("Число новых параметров для добавления превышает число свободных мест в группе.");
}

QString COverGroup::CountLine(int free, int requested)
{
    return QStringLiteral("В случае продолжения, будут добавлены только %1 новых параметров из %2 запрошенных.")
        .arg(free)
        .arg(requested);
}

CNewNameGroup::CNewNameGroup(const QString& name, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent)
    , m_prompt(prompt)
{
    setObjectName(QStringLiteral("CNewNameGroup"));
    setWindowTitle(QStringLiteral("Переименование группы"));
    auto* label = new QLabel(QStringLiteral("Введите новое имя группы (не более 13 символов)."), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("name"));
    m_edit->setValidator(new MaxLengthValidator(GroupList::kMaxNameCharacters, m_edit));
    m_edit->setText(name);
    m_edit->selectAll();
    label->setBuddy(m_edit);
    m_continue = new QPushButton(QStringLiteral("Продолжить"), this);
    m_continue->setObjectName(QStringLiteral("continue"));
    m_continue->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Отмена"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_continue, &QPushButton::clicked, this, &CNewNameGroup::OnContinue);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(ButtonRow(m_continue, m_cancel));
}

QString CNewNameGroup::Name() const
{
    return m_edit->text();
}

QString CNewNameGroup::TooLongMessage()
{
    return QStringLiteral("Please enter no more than %1 characters.").arg(GroupList::kMaxNameCharacters);
}

void CNewNameGroup::OnContinue()
{
    if (m_edit->text().size() > GroupList::kMaxNameCharacters) {
        m_prompt.Notice(TooLongMessage());
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    accept();
}
