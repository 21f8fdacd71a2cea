#include "DataVoltageDU.h"

#include "SubPageControls.h"
#include "common/CFormat.h"
#include "common/Cp1251.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"
#include "shell/Markup.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace setpoints;

namespace {

const QString kPhaseGroup = QStringLiteral("Фазное напряжение");
const QString kLineGroup = QStringLiteral("Междуфазное напряжение");

// Edits sit this far right of their label's start, a little above its text line.
constexpr int kEditOffset = 95;
constexpr int kEditRise = 4;
constexpr int kEditWidth = 60;
constexpr int kEditHeight = 20;
// The plain-text rows put their edit in the second column of their group.
constexpr int kPhaseSecondColumn = 180;
constexpr int kLineSecondColumn = 582;

using R = VoltageLimitRow;

VoltageLimitRow Dev(int phaseId, int lineId, Limit limit, VoltageLimitSet::Column column, const char* format,
                    const char16_t* markup, int phaseX, int lineX, int y)
{
    return {phaseId, lineId, R::Deviation, limit, column, format, markup, nullptr, phaseX, lineX, y};
}

VoltageLimitRow Level(int phaseId, int lineId, R::Field field, const char16_t* text, int y)
{
    return {phaseId, lineId, field, Limit::i_max_up, VoltageLimitSet::steady, "%+.2f", nullptr, text, 15, 412, y};
}

std::vector<VoltageLimitRow> SteadyRows()
{
    const auto s = VoltageLimitSet::steady;
    return {
        Dev(1016, 1038, Limit::i_max_up, s, "%+.2f", u"@d@Uу^I^~пред в~,%", 15, 412, 27),
        Dev(1017, 1039, Limit::i_normal_up, s, "%+.2f", u"@d@Uу^I^~нд в~,%", 15, 412, 53),
        Dev(1018, 1040, Limit::i_normal_down, s, "%+.2f", u"@d@Uу^I^~нд н~,%", 15, 412, 79),
        Dev(1019, 1041, Limit::i_max_down, s, "%+.2f", u"@d@Uу^I^~пред н~,%", 15, 412, 105),
        Dev(1020, 1042, Limit::ii_max_up, s, "%+.2f", u"@d@Uу^II^~пред в~,%", 180, 582, 27),
        Dev(1021, 1043, Limit::ii_normal_up, s, "%+.2f", u"@d@Uу^II^~нд в~,%", 180, 582, 53),
        Dev(1022, 1044, Limit::ii_normal_down, s, "%+.2f", u"@d@Uу^II^~нд н~,%", 180, 582, 79),
        Dev(1023, 1045, Limit::ii_max_down, s, "%+.2f", u"@d@Uу^II^~пред н~,%", 180, 582, 105),
        Level(1024, 1046, R::Dip, u"Уровень провала напряжения, %", 131),
        Level(1025, 1047, R::Swell, u"Уровень перенапряжения, %", 157),
        Level(1026, 1048, R::Interruption, u"Уровень прерывания напряжения, %", 183),
    };
}

std::vector<VoltageLimitRow> WholeSignalRows()
{
    const auto s = VoltageLimitSet::signal;
    const auto pm = VoltageLimitSet::plusminus;
    return {
        Dev(1016, 1038, Limit::i_max_up, s, "%+.2f", u"@d@U^I^~пред в~,%", 15, 412, 27),
        Dev(1017, 1039, Limit::i_normal_up, s, "%+.2f", u"@d@U^I^~нд в~,%", 15, 412, 53),
        Dev(1018, 1040, Limit::i_normal_down, s, "%+.2f", u"@d@U^I^~нд н~,%", 15, 412, 79),
        Dev(1019, 1041, Limit::i_max_down, s, "%+.2f", u"@d@U^I^~пред н~,%", 15, 412, 105),
        Dev(1020, 1042, Limit::ii_max_up, s, "%+.2f", u"@d@U^II^~пред в~,%", 180, 582, 27),
        Dev(1021, 1043, Limit::ii_normal_up, s, "%+.2f", u"@d@U^II^~нд в~,%", 180, 582, 53),
        Dev(1022, 1044, Limit::ii_normal_down, s, "%+.2f", u"@d@U^II^~нд н~,%", 180, 582, 79),
        Dev(1023, 1045, Limit::ii_max_down, s, "%+.2f", u"@d@U^II^~пред н~,%", 180, 582, 105),
        Dev(1025, 1033, Limit::i_normal_up, pm, "%.2f", u"@d@U^I^~(+)нд~,%", 15, 412, 144),
        Dev(1024, 1032, Limit::i_max_up, pm, "%.2f", u"@d@U^I^~(+)пред~,%", 15, 412, 170),
        Dev(1029, 1037, Limit::ii_normal_up, pm, "%.2f", u"@d@U^II^~(+)нд~,%", 180, 582, 144),
        Dev(1028, 1036, Limit::ii_max_up, pm, "%.2f", u"@d@U^II^~(+)пред~,%", 180, 582, 170),
        Dev(1027, 1035, Limit::i_normal_down, pm, "%.2f", u"@d@U^I^~(-)нд~,%", 15, 412, 209),
        Dev(1026, 1034, Limit::i_max_down, pm, "%.2f", u"@d@U^I^~(-)пред~,%", 15, 412, 235),
        Dev(1031, 1047, Limit::ii_normal_down, pm, "%.2f", u"@d@U^II^~(-)нд~,%", 180, 582, 209),
        Dev(1030, 1046, Limit::ii_max_down, pm, "%.2f", u"@d@U^II^~(-)пред~,%", 180, 582, 235),
    };
}

QString EditName(int id)
{
    return QStringLiteral("edit%1").arg(id);
}

} // namespace

CVoltageLimitPage::CVoltageLimitPage(const char* objectName, std::vector<VoltageLimitRow> rows, int groupHeight,
                                     QWidget* parent)
    : CSetpointSubPage(parent)
{
    setObjectName(QString::fromLatin1(objectName));
    auto* phaseBox = new QGroupBox(kPhaseGroup, this);
    phaseBox->setGeometry(5, 4, 340, groupHeight);
    m_copy = new QPushButton(QStringLiteral(">>"), this);
    m_copy->setObjectName(QStringLiteral("copyPhaseToLine"));
    m_copy->setGeometry(351, 4 + groupHeight / 2 - 12, 45, 24);
    auto* lineBox = new QGroupBox(kLineGroup, this);
    lineBox->setGeometry(402, 4, 345, groupHeight);

    for (const VoltageLimitRow& row : rows) {
        RowEdits edits{row};
        QString label;
        int phaseEditX = row.phaseX + kEditOffset;
        int lineEditX = row.lineX + kEditOffset;
        if (row.markup) {
            label = MarkupPlainText(cp1251::Encode(QStringView(row.markup)));
            PlacePaintedLabel(this, QStringView(row.markup), row.phaseX, row.y);
            PlacePaintedLabel(this, QStringView(row.markup), row.lineX, row.y);
        } else {
            label = QString::fromUtf16(row.text);
            for (int x : {row.phaseX, row.lineX}) {
                auto* plain = new QLabel(label, this);
                plain->move(x, row.y - 1);
                plain->resize(plain->sizeHint());
            }
            phaseEditX = kPhaseSecondColumn + kEditOffset;
            lineEditX = kLineSecondColumn + kEditOffset;
        }
        // Both groups carry the same labels, so the group says which edit is meant.
        edits.phase = PlaceEdit(this, EditName(row.phaseId), QRect(phaseEditX, row.y - kEditRise, kEditWidth, kEditHeight),
                                kPhaseGroup + QStringLiteral(": ") + label);
        edits.line = PlaceEdit(this, EditName(row.lineId), QRect(lineEditX, row.y - kEditRise, kEditWidth, kEditHeight),
                               kLineGroup + QStringLiteral(": ") + label);
        for (QLineEdit* edit : {edits.phase, edits.line})
            connect(edit, &QLineEdit::textChanged, this, [] { modelChanged().Set(); });
        m_rows.push_back(edits);
    }
    connect(m_copy, &QPushButton::clicked, this, [this] { CopyPhaseToLine(); });
}

double& CVoltageLimitPage::Field(VoltageLimitSet& set, const VoltageLimitRow& row, VoltageKind kind)
{
    switch (row.field) {
    case VoltageLimitRow::Dip:
        return set.dip_level;
    case VoltageLimitRow::Swell:
        return set.swell_level;
    case VoltageLimitRow::Interruption:
        return set.interruption_level;
    case VoltageLimitRow::Deviation:
        break;
    }
    return LimitValue(set, row.limit, kind, row.column);
}

void CVoltageLimitPage::ExchangeWithModel(ConfigModel& model, int direction)
{
    if (direction == 1) {
        const ModelChangedFlag::Preserve keep(modelChanged());
        for (const RowEdits& edits : m_rows) {
            edits.phase->setText(FormatC(edits.row.format, Field(model.phase_limits, edits.row, VoltageKind::Phase)));
            edits.line->setText(FormatC(edits.row.format, Field(model.line_limits, edits.row, VoltageKind::Line)));
        }
        return;
    }
    for (const RowEdits& edits : m_rows) {
        double& phase = Field(model.phase_limits, edits.row, VoltageKind::Phase);
        phase = Stored(edits.phase->text(), phase);
        double& line = Field(model.line_limits, edits.row, VoltageKind::Line);
        line = Stored(edits.line->text(), line);
    }
}

void CVoltageLimitPage::CopyPhaseToLine()
{
    for (const RowEdits& edits : m_rows)
        edits.line->setText(edits.phase->text());
}

QLineEdit* CVoltageLimitPage::Edit(int id) const
{
    return findChild<QLineEdit*>(EditName(id));
}

CDataVoltageDU::CDataVoltageDU(QWidget* parent)
    : CVoltageLimitPage("CDataVoltageDU", SteadyRows(), 215, parent)
{
}

double CDataVoltageDU::Stored(const QString& text, double previous) const
{
    return StoredSteadyLimit(text, previous);
}

CDataVoltageDU1::CDataVoltageDU1(QWidget* parent)
    : CVoltageLimitPage("CDataVoltageDU1", WholeSignalRows(), 265, parent)
{
}

double CDataVoltageDU1::Stored(const QString& text, double) const
{
    return ReadCNumber(text);
}
