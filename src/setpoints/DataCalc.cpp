#include "DataCalc.h"

#include "SetpointRules.h"
#include "SubPageSupport.h"
#include "model/ConfigModel.h"
#include "shell/Markup.h"
#include "shell/MarkupLabel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace setpoints;

namespace {

constexpr int kRowHeight = 25;

const char* const kMarkedLabels[CDataCalc::kMarkedRows] = {
    "@d@U", "@d@U(1)", "@d@U(+) и @d@U(-)", "K~U~", "K~U(n)~", "@d@U1",
    "K~0U~", "K~2U~", "K~Uig(n)~", "Pst", "Plt", "@D@f",
};
const char* const kStatisticsLabels[CDataCalc::kStatisticsRows] = {
    "@d@U", "@d@U(1)", "@d@U(+) и @d@U(-)", "K~U~", "K~U(n)~", "@d@U1", "K~0u~", "K~2u~", "K~Uig(n)~",
};

// A group box of rows, each a painted label and a pair of text-less radios under two heads.
QGroupBox* RowGroup(QWidget* parent, const QString& title, const QString (&heads)[2], const char* const* labels,
                    int rows, const char* objectPrefix, QButtonGroup** groups)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(0);
    for (int column = 0; column < 2; ++column) {
        auto* head = new QLabel(heads[column], box);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, column + 1);
    }
    for (int row = 0; row < rows; ++row) {
        // The flicker rows are plain words, not markup.
        const QByteArray markup = MarkupBytes(labels[row]);
        const bool plain = !markup.contains('~') && !markup.contains('@');
        QWidget* label = plain ? static_cast<QWidget*>(new QLabel(QString::fromUtf8(labels[row]), box))
                               : new CMarkupLabel(markup, box);
        label->setObjectName(QStringLiteral("%1Label%2").arg(QLatin1String(objectPrefix)).arg(row));
        grid->addWidget(label, row + 1, 0, Qt::AlignVCenter);
        grid->setRowMinimumHeight(row + 1, kRowHeight);
        auto* group = new QButtonGroup(box);
        for (int column = 0; column < 2; ++column) {
            auto* radio = new QRadioButton(box);
            radio->setObjectName(QStringLiteral("%1_%2_%3").arg(QLatin1String(objectPrefix)).arg(row).arg(column));
            NameControl(radio, MarkupPlainText(markup) + QStringLiteral(": ") + heads[column]);
            group->addButton(radio, column);
            grid->addWidget(radio, row + 1, column + 1, Qt::AlignCenter);
        }
        groups[row] = group;
    }
    grid->setColumnStretch(3, 1);
    return box;
}

QGroupBox* PairGroup(QWidget* parent, const QString& title, const QString& first, const QString& second,
                     const char* objectPrefix, QButtonGroup** group)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QHBoxLayout(box);
    *group = new QButtonGroup(box);
    const QString texts[] = {first, second};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(texts[i], box);
        radio->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(objectPrefix)).arg(i));
        (*group)->addButton(radio, i);
        layout->addWidget(radio);
    }
    layout->addStretch();
    return box;
}

} // namespace

CDataCalc::CDataCalc(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataCalc"));
    const QString markedHeads[2] = {QStringLiteral("Не производится"), QStringLiteral("Производится")};
    const QString statisticsHeads[2] = {QStringLiteral("Минута"), QStringLiteral("10 минут")};
    QGroupBox* marked = RowGroup(this, QStringLiteral("Обработка маркированных значений"), markedHeads, kMarkedLabels,
                                 kMarkedRows, "marked", m_marked.data());
    QGroupBox* statistics = RowGroup(this, QStringLiteral("Расчёт статистики ПКЭ"), statisticsHeads,
                                     kStatisticsLabels, kStatisticsRows, "statistics", m_statistics.data());
    QGroupBox* sync = PairGroup(this, QStringLiteral("Интервал синхронизации"), QStringLiteral("Минута"),
                                QStringLiteral("10 минут"), "sync", &m_sync);
    QGroupBox* assessment = PairGroup(this, QStringLiteral("Измерение ПКЭ"), QStringLiteral("Сутки"),
                                      QStringLiteral("Неделя"), "assessment", &m_assessment);

    auto* right = new QVBoxLayout;
    right->addWidget(statistics);
    right->addWidget(sync);
    right->addWidget(assessment);
    auto* columns = new QHBoxLayout;
    columns->addWidget(marked, 0, Qt::AlignTop);
    columns->addLayout(right);
    SetPageContent(this, columns);

    // Every row starts on its first radio; the two single groups on neither.
    for (QButtonGroup* group : m_marked)
        SetChoice(group, 0);
    for (QButtonGroup* group : m_statistics)
        SetChoice(group, 0);

    // Clicks are the user's own; every one of them is a change of the configuration.
    for (QButtonGroup* group : m_marked)
        connect(group, &QButtonGroup::idClicked, this, [] { MarkUserChange(0); });
    for (QButtonGroup* group : m_statistics)
        connect(group, &QButtonGroup::idClicked, this, [] { MarkUserChange(0); });
    for (QButtonGroup* group : {m_sync, m_assessment})
        connect(group, &QButtonGroup::idClicked, this, [] { MarkUserChange(0); });
}

QAbstractButton* CDataCalc::MarkedRadio(int row, int column) const
{
    return m_marked[size_t(row)]->button(column);
}

QAbstractButton* CDataCalc::StatisticsRadio(int row, int column) const
{
    return m_statistics[size_t(row)]->button(column);
}

QAbstractButton* CDataCalc::SyncRadio(int index) const
{
    return m_sync->button(index);
}

QAbstractButton* CDataCalc::AssessmentRadio(int index) const
{
    return m_assessment->button(index);
}

void CDataCalc::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == 1) {
        for (int row = 0; row < kMarkedRows; ++row)
            SetChoice(m_marked[size_t(row)], MarkedValueChoice(model.calc_flags, row));
        for (int row = 0; row < kStatisticsRows; ++row)
            SetChoice(m_statistics[size_t(row)], StatisticsChoiceIndex(model.calc_choice[size_t(row)]));
        SetChoice(m_sync, model.calc_opt_a);
        SetChoice(m_assessment, model.calc_opt_b);
        return;
    }
    std::array<int, kMarkedValueRows> choices{};
    for (int row = 0; row < kMarkedRows; ++row)
        choices[size_t(row)] = m_marked[size_t(row)]->checkedId();
    model.calc_flags = PackMarkedValueChoices(model.calc_flags, choices);
    for (int row = 0; row < kStatisticsRows; ++row)
        model.calc_choice[size_t(row)] = StatisticsChoiceValue(m_statistics[size_t(row)]->checkedId());
    // A single group showing neither choice leaves its byte as it came.
    if (m_sync->checkedId() >= 0)
        model.calc_opt_a = quint8(m_sync->checkedId());
    if (m_assessment->checkedId() >= 0)
        model.calc_opt_b = quint8(m_assessment->checkedId());
}
