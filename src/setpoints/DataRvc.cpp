#include "DataRvc.h"

#include "SetpointRules.h"
#include "SubPageSupport.h"
#include "model/ConfigModel.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace setpoints;

namespace {
constexpr int kEditWidth = 80;
const char* const kObjectNames[] = {"thresholdPhase", "hysteresisPhase", "thresholdLine", "hysteresisLine"};
} // namespace

CDataRvc::CDataRvc(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataRvc"));
    auto* columns = new QHBoxLayout;
    const QString titles[] = {QStringLiteral("Фазный порог"), QStringLiteral("Междуфазный порог")};
    const QString labels[] = {QStringLiteral("Порог, %"), QStringLiteral("Гистерезис, %")};
    for (int group = 0; group < 2; ++group) {
        auto* box = new QGroupBox(titles[group], this);
        auto* form = new QFormLayout(box);
        for (int row = 0; row < 2; ++row) {
            const int i = group * 2 + row;
            auto* label = new QLabel(labels[row], box);
            auto* edit = new QLineEdit(box);
            edit->setObjectName(QString::fromLatin1(kObjectNames[i]));
            edit->setFixedWidth(kEditWidth);
            // The same two labels stand in both groups.
            NameControl(edit, titles[group] + QStringLiteral(": ") + labels[row], label);
            form->addRow(label, edit);
            m_edits[size_t(i)] = edit;
            connect(edit, &QLineEdit::textChanged, this, [this] { MarkUserChange(m_programUpdate); });
        }
        columns->addWidget(box);
    }
    SetPageContent(this, columns);
}

void CDataRvc::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == 1) {
        ProgramUpdate update(m_programUpdate);
        for (int i = 0; i < kRvcFieldCount; ++i)
            m_edits[size_t(i)]->setText(RvcText(RvcField(i), RvcModelValue(model, RvcField(i))));
        return;
    }
    std::array<QString, kRvcFieldCount> texts;
    for (int i = 0; i < kRvcFieldCount; ++i)
        texts[size_t(i)] = m_edits[size_t(i)]->text();
    const auto passed = StoreRvcTexts(texts, model);
    ProgramUpdate update(m_programUpdate);
    for (int i = 0; i < kRvcFieldCount; ++i) {
        if (!passed[size_t(i)])
            m_edits[size_t(i)]->setText(RvcText(RvcField(i), RvcModelValue(model, RvcField(i))));
    }
}
