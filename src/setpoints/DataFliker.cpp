#include "DataFliker.h"

#include "SetpointRules.h"
#include "SubPageSupport.h"
#include "common/CFormat.h"
#include "model/ConfigModel.h"
#include "shell/Markup.h"
#include "shell/MarkupLabel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kEditWidth = 80;

struct Dose {
    const char* markup;
    const char* objectName;
};
const Dose kDoses[] = {
    {"P~stнд~", "pstNormal"},
    {"P~stпред~", "pstMax"},
    {"P~ltнд~", "pltNormal"},
    {"P~ltпред~", "pltMax"},
};

} // namespace

CDataFliker::CDataFliker(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataFliker"));
    auto* columns = new QHBoxLayout;
    const QString titles[] = {QStringLiteral("Кратковременная доза"), QStringLiteral("Длительная доза")};
    for (int group = 0; group < 2; ++group) {
        auto* box = new QGroupBox(titles[group], this);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(12);
        for (int row = 0; row < 2; ++row) {
            const int i = group * 2 + row;
            const QByteArray markup = MarkupBytes(kDoses[i].markup);
            auto* edit = new QLineEdit(box);
            edit->setObjectName(QString::fromLatin1(kDoses[i].objectName));
            edit->setFixedWidth(kEditWidth);
            NameControl(edit, MarkupPlainText(markup));
            grid->addWidget(new CMarkupLabel(markup, box), row, 0);
            grid->addWidget(edit, row, 1);
            m_edits[size_t(i)] = edit;
            connect(edit, &QLineEdit::textChanged, this, [this] { MarkUserChange(m_programUpdate); });
        }
        columns->addWidget(box);
    }
    SetPageContent(this, columns);
}

void CDataFliker::ExchangeWithModel(ConfigModel& model, int direction)
{
    double* fields[] = {&model.pst_normal, &model.pst_max, &model.plt_normal, &model.plt_max};
    if (direction == 1) {
        ProgramUpdate update(m_programUpdate);
        for (int i = 0; i < 4; ++i)
            m_edits[size_t(i)]->setText(FormatC("%.2f", *fields[i]));
        return;
    }
    for (int i = 0; i < 4; ++i)
        *fields[i] = setpoints::LeadingDecimal(m_edits[size_t(i)]->text());
}
