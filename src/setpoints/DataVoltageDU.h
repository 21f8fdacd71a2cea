#pragma once
// The two inner pages of "Отклонения напряжения": "Установившееся" (steady-state deviation
// limits with the dip, swell and interruption levels) and "Всего сигнала" (whole-signal and
// positive/negative deviation limits), each for phase and line-to-line voltages side by side.
#include "SetpointSubPage.h"
#include "VoltageRules.h"

#include <vector>

class QLineEdit;
class QPushButton;

// One row of a limit page: an edit in each group bound to the same field of both sets.
struct VoltageLimitRow {
    enum Field { Deviation, Dip, Swell, Interruption };
    int phaseId = 0;  // the edits' numbers, which also name them ("edit1016")
    int lineId = 0;
    Field field = Deviation;
    setpoints::Limit limit = setpoints::Limit::i_max_up;
    VoltageLimitSet::Column column = VoltageLimitSet::steady;
    const char* format = "%+.2f";
    const char16_t* markup = nullptr;  // painted label, or
    const char16_t* text = nullptr;    // a plain label
    int phaseX = 0;
    int lineX = 0;
    int y = 0;
};

class CVoltageLimitPage : public CSetpointSubPage {
public:
    CVoltageLimitPage(const char* objectName, std::vector<VoltageLimitRow> rows, int groupHeight, QWidget* parent);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

    // ">>": every phase value into the line-to-line edit of its row.
    void CopyPhaseToLine();

    QLineEdit* Edit(int id) const;
    QPushButton* CopyButton() const { return m_copy; }

protected:
    // How a text reaches its field: the steady-state page refuses values outside -100..100.
    virtual double Stored(const QString& text, double previous) const = 0;

private:
    struct RowEdits {
        VoltageLimitRow row;
        QLineEdit* phase = nullptr;
        QLineEdit* line = nullptr;
    };
    static double& Field(VoltageLimitSet& set, const VoltageLimitRow& row, setpoints::VoltageKind kind);

    std::vector<RowEdits> m_rows;
    QPushButton* m_copy = nullptr;
};

class CDataVoltageDU : public CVoltageLimitPage {
public:
    explicit CDataVoltageDU(QWidget* parent = nullptr);

protected:
    double Stored(const QString& text, double previous) const override;
};

class CDataVoltageDU1 : public CVoltageLimitPage {
public:
    explicit CDataVoltageDU1(QWidget* parent = nullptr);

protected:
    double Stored(const QString& text, double previous) const override;
};
