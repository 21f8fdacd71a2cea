#include "DataFreqDialog.h"

#include "SetpointRules.h"
#include "SubPageSupport.h"
#include "model/ConfigModel.h"
#include "shell/Markup.h"
#include "shell/MarkupLabel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kEditWidth = 80;

const char* const kDeviationMarkup[] = {"@D@F~пред в~,Гц", "@D@F~нд в~,Гц", "@D@F~нд н~,Гц", "@D@F~пред н~,Гц"};
const char* const kDeviationNames[] = {"dfMaxUp", "dfNormalUp", "dfNormalDown", "dfMaxDown"};

} // namespace

CDataFreqDialog::CDataFreqDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataFreqDialog"));

    auto* limits = new QGridLayout;
    limits->setHorizontalSpacing(12);
    auto* nominalLabel = new QLabel(QStringLiteral("Номинальная частота, Гц"), this);
    m_nominal = new QLineEdit(this);
    m_nominal->setObjectName(QStringLiteral("nominalFrequency"));
    m_nominal->setAlignment(Qt::AlignRight);
    m_nominal->setFixedWidth(kEditWidth);
    AcceptDigitsOnly(m_nominal);
    NameControl(m_nominal, nominalLabel->text(), nominalLabel);
    limits->addWidget(nominalLabel, 0, 0);
    limits->addWidget(m_nominal, 0, 1);
    for (int i = 0; i < 4; ++i) {
        const QByteArray markup = MarkupBytes(kDeviationMarkup[i]);
        auto* label = new CMarkupLabel(markup, this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(kDeviationNames[i]));
        edit->setFixedWidth(kEditWidth);
        if (i == MaxUp)
            edit->setAlignment(Qt::AlignRight);
        NameControl(edit, MarkupPlainText(markup));
        limits->addWidget(label, i + 1, 0);
        limits->addWidget(edit, i + 1, 1);
        m_deviations[size_t(i)] = edit;
    }

    auto* averagingLabel = new QLabel(QStringLiteral("Период усреднения частоты, с"), this);
    m_averaging = new QComboBox(this);
    m_averaging->setObjectName(QStringLiteral("averagingPeriod"));
    m_averaging->addItems({QStringLiteral("10"), QStringLiteral("20")});
    NameControl(m_averaging, averagingLabel->text(), averagingLabel);
    auto* attention = new QLabel(QStringLiteral("Внимание! "), this);
    QFont bold = attention->font();
    bold.setBold(true);
    attention->setFont(bold);
    auto* warning = new QLabel(QStringLiteral("Изменение периода усреднения приведёт к стиранию архива частоты."), this);
    warning->setObjectName(QStringLiteral("averagingWarning"));
    warning->setWordWrap(true);
    warning->setMinimumWidth(220);
    auto* averaging = new QVBoxLayout;
    auto* averagingRow = new QHBoxLayout;
    averagingRow->addWidget(averagingLabel);
    averagingRow->addWidget(m_averaging);
    averagingRow->addStretch();
    averaging->addLayout(averagingRow);
    auto* warningRow = new QHBoxLayout;
    warningRow->addWidget(attention, 0, Qt::AlignTop);
    warningRow->addWidget(warning, 1);
    averaging->addLayout(warningRow);

    auto* columns = new QHBoxLayout;
    columns->addLayout(limits);
    columns->addSpacing(30);
    columns->addLayout(averaging);
    SetPageContent(this, columns);

    connect(m_nominal, &QLineEdit::textChanged, this, [this] { MarkUserChange(m_programUpdate); });
    for (QLineEdit* edit : m_deviations)
        connect(edit, &QLineEdit::textChanged, this, [this] { MarkUserChange(m_programUpdate); });
    connect(m_averaging, &QComboBox::currentIndexChanged, this, [this] { MarkUserChange(m_programUpdate); });
}

void CDataFreqDialog::ExchangeWithModel(ConfigModel& model, int direction)
{
    std::int16_t* deviations[] = {&model.df_max_up, &model.df_normal_up, &model.df_normal_down, &model.df_max_down};
    if (direction == 1) {
        ProgramUpdate update(m_programUpdate);
        m_nominal->setText(setpoints::NominalFrequencyText(model.f_nom));
        for (int i = 0; i < 4; ++i)
            m_deviations[size_t(i)]->setText(setpoints::FrequencyDeviationText(*deviations[i]));
        m_averaging->setCurrentIndex(model.f_avg_period < 2 ? int(model.f_avg_period) : -1);
        return;
    }
    model.f_nom = setpoints::NominalFrequencyFromText(m_nominal->text());
    for (int i = 0; i < 4; ++i)
        *deviations[i] = setpoints::FrequencyDeviationFromText(m_deviations[size_t(i)]->text());
    // A period the list cannot show stays as it came.
    if (m_averaging->currentIndex() >= 0)
        model.f_avg_period = quint16(m_averaging->currentIndex());
}
