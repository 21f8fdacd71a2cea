#include "DataDeltaDialog.h"

#include "NewKoef.h"
#include "SubPageControls.h"
#include "SubPageSupport.h"
#include "TransformerRatios.h"
#include "VoltageRules.h"
#include "common/CFormat.h"
#include "model/ArchivePhaseAction.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTimer>

using namespace setpoints;

namespace {
constexpr int kRecomputeDelayMs = 1000;
const QString kPhaseLabel = QStringLiteral(u"U~ном.ф~,В");
const QString kLineLabel = QStringLiteral(u"U~ном.мф~,В");
} // namespace

CDataDeltaDialog::CDataDeltaDialog(QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QStringLiteral("CDataDeltaDialog"));

    auto* ratioBox = new QGroupBox(QStringLiteral("Коэффициент трансформации"), this);
    ratioBox->setGeometry(10, 4, 230, 46);
    m_ratioList = new QComboBox(ratioBox);
    m_ratioList->setObjectName(QStringLiteral("ratioList"));
    m_ratioList->setGeometry(10, 20, 110, 22);
    m_ratioList->addItems(TransformerRatioEntries());
    m_ratioList->setAccessibleName(ratioBox->title());

    PlacePaintedLabel(this, kPhaseLabel, 20, 56);
    m_phase = PlaceEdit(this, QStringLiteral("phaseVoltage"), QRect(110, 52, 110, 22), QStringLiteral("Uном.ф,В"));
    PlacePaintedLabel(this, kLineLabel, 20, 90);
    m_line = PlaceEdit(this, QStringLiteral("lineVoltage"), QRect(110, 86, 110, 22), QStringLiteral("Uном.мф,В"));

    m_scheme = new QButtonGroup(this);
    PlaceRadioPair(this, QStringLiteral("Схема включения"), QRect(260, 4, 220, 66), QStringLiteral("Трёхпроводная"),
                   QStringLiteral("Четырёхпроводная"), m_scheme);
    m_input = new QButtonGroup(this);
    PlaceRadioPair(this, QStringLiteral("Тип входа напряжения"), QRect(260, 76, 220, 66), QStringLiteral("Прямой"),
                   QStringLiteral("Трансформаторный"), m_input);
    m_reference = new QButtonGroup(this);
    PlaceRadioPair(this, QStringLiteral("Опорное напряжение"), QRect(500, 4, 200, 66), QStringLiteral("Скользящее"),
                   QStringLiteral("Номинальное"), m_reference);

    m_clearArchive = new QCheckBox(
        QStringLiteral("Очищать список архивируемых данных для фаз А, В и С при трёхпроводной схеме включения"), this);
    m_clearArchive->setObjectName(QStringLiteral("clearArchive"));
    m_clearArchive->move(10, 154);
    m_clearArchive->resize(m_clearArchive->sizeHint());
    m_clearArchive->setChecked(m_clearArchiveValue != 0);

    m_recomputeTimer = new QTimer(this);
    m_recomputeTimer->setSingleShot(true);
    m_recomputeTimer->setInterval(kRecomputeDelayMs);
    connect(m_recomputeTimer, &QTimer::timeout, this, [this] { OnRecomputeTimer(); });

    m_askRatio = [this] { return CNewKoef::Ask(this); };

    connect(m_ratioList, &QComboBox::activated, this, [this] { OnRatioChosen(); });
    connect(m_phase, &QLineEdit::textChanged, this, [this] { OnVoltageTextChanged(); });
    connect(m_line, &QLineEdit::textChanged, this, [this] { OnVoltageTextChanged(); });
    // A typed voltage reaches the model only at the next store: typing counts as a change
    // of the configuration, so closing without saving asks first.
    connect(m_phase, &QLineEdit::textEdited, this, [] { modelChanged().Set(); });
    connect(m_line, &QLineEdit::textEdited, this, [] { modelChanged().Set(); });
    connect(m_input, &QButtonGroup::idClicked, this, [this] { OnInputTypeClicked(); });
    connect(m_scheme, &QButtonGroup::idClicked, this, [this] { OnSchemeClicked(); });
    connect(m_reference, &QButtonGroup::idClicked, this, [] { modelChanged().Set(); });
    connect(m_clearArchive, &QCheckBox::clicked, this, [this] { OnClearArchiveClicked(); });
}

void CDataDeltaDialog::Collect()
{
    m_schemeValue = m_scheme->checkedId();
    m_inputValue = m_input->checkedId();
    m_referenceValue = m_reference->checkedId();
    m_clearArchiveValue = m_clearArchive->isChecked() ? 1 : 0;
}

QString CDataDeltaDialog::LineVoltageText() const
{
    return m_line->text();
}

void CDataDeltaDialog::ShowInputType(int inputType)
{
    const bool transformer = inputType == TransformerInput;
    m_ratioList->setEnabled(transformer);
    m_phase->setReadOnly(transformer);
    m_line->setReadOnly(!transformer);
}

void CDataDeltaDialog::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == 1) {
        const ModelChangedFlag::Preserve keep(modelChanged());
        m_fillingFromModel = true;
        m_schemeValue = model.wiring_scheme;
        m_inputValue = model.input_type;
        m_referenceValue = model.reference_nominal ? 1 : 0;
        m_clearArchiveValue = model.clear_archive_three_wire;
        SetChoice(m_scheme, m_schemeValue);
        SetChoice(m_input, m_inputValue);
        SetChoice(m_reference, m_referenceValue);
        m_clearArchive->setChecked(m_clearArchiveValue != 0);
        const bool listed = model.ratio_index >= 0 && model.ratio_index < m_ratioList->count();
        m_ratioList->setCurrentIndex(listed ? model.ratio_index : -1);
        m_phase->setText(FormatC("%.3f", model.u_nom_phase));
        m_line->setText(FormatC("%.3f", model.u_nom_line));
        ShowInputType(model.input_type);
        m_fillingFromModel = false;
        return;
    }
    // A recomputation still pending would leave the typed voltages unchecked in the model.
    if (m_recomputeTimer->isActive())
        OnRecomputeTimer();
    Collect();
    model.clear_archive_three_wire = m_clearArchiveValue;
    model.wiring_scheme = m_schemeValue;
    model.input_type = m_inputValue;
    model.reference_nominal = m_referenceValue != 0;
    model.ratio_index = m_ratioList->currentIndex();
    model.u_nom_phase = ReadCNumber(m_phase->text());
    model.u_nom_line = ReadCNumber(m_line->text());
}

void CDataDeltaDialog::OnVoltageTextChanged()
{
    if (!m_fillingFromModel)
        m_recomputeTimer->start();
}

void CDataDeltaDialog::OnRecomputeTimer()
{
    Collect();
    if (m_inputValue == DirectInput) {
        const NominalVoltageTexts texts = RecomputeDirect(ReadCNumber(m_phase->text()));
        m_phase->setText(texts.phase);
        m_line->setText(texts.line);
    } else if (m_inputValue == TransformerInput) {
        if (const auto texts = RecomputeTransformer(ReadCNumber(m_ratioList->currentText()), ReadCNumber(m_line->text()))) {
            m_phase->setText(texts->phase);
            m_line->setText(texts->line);
        }
    }
    m_voltageChanged = true;
    // Writing the edits restarted the timer.
    m_recomputeTimer->stop();
}

void CDataDeltaDialog::OnRatioChosen()
{
    Collect();
    double ratio = ReadCNumber(m_ratioList->currentText());
    if (ratio == 0.0) {
        const RatioEntry entry = RatioEntryFromTyped(m_askRatio());
        ratio = entry.ratio;
        int index = m_ratioList->findText(entry.text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0) {
            m_ratioList->addItem(entry.text);
            index = m_ratioList->count() - 1;
        }
        m_ratioList->setCurrentIndex(index);
    }
    const NominalVoltageTexts texts = RatioChosenTexts(ratio);
    m_phase->setText(texts.phase);
    m_line->setText(texts.line);
    m_voltageChanged = true;
    modelChanged().Set();
}

void CDataDeltaDialog::OnInputTypeClicked()
{
    const int before = m_inputValue;
    Collect();
    if (m_inputValue != before)
        modelChanged().Set();
    if (m_inputValue == TransformerInput) {
        ShowInputType(TransformerInput);
        OnRatioChosen();
        return;
    }
    m_ratioList->setCurrentIndex(0);
    ShowInputType(DirectInput);
    m_phase->setText(kDirectPhaseText);
    m_line->setText(kDirectLineText);
    m_voltageChanged = true;
}

void CDataDeltaDialog::OnSchemeClicked()
{
    const int before = m_schemeValue;
    Collect();
    if (m_schemeValue == before)
        return;
    if (m_clearArchiveValue != 0)
        archivePhaseAction() = m_schemeValue == FourWire ? ArchivePhaseAction::Restore : ArchivePhaseAction::Clear;
    m_voltageChanged = true;
    modelChanged().Set();
}

void CDataDeltaDialog::OnClearArchiveClicked()
{
    Collect();
    if (m_schemeValue == ThreeWire)
        archivePhaseAction() = m_clearArchiveValue != 0 ? ArchivePhaseAction::Clear : ArchivePhaseAction::Restore;
    modelChanged().Set();
}
