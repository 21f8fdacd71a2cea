#pragma once
// The setpoint sub-page "Коэффициенты": unbalance, distortion, harmonic and interharmonic limits.
#include "SetpointSubPage.h"

#include <QPointer>

#include <array>

class CDataDeltaDialog;
class CGrid;
class QCheckBox;
class QLineEdit;

class CDataCoeffDialog : public CSetpointSubPage {
public:
    explicit CDataCoeffDialog(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

    // The setpoint page's one-second tick: while "Коэффициенты зависят от междуфазного
    // напряжения и схемы включения" is ticked, a changed nominal voltage on the voltage page
    // brings in the standard limits of its voltage class.
    void ApplyVoltageClass(CDataDeltaDialog& voltagePage);

    // The harmonic grid: row 0 and column 0 are fixed; rows 1..4 hold the four tables.
    CGrid* Grid() const { return m_grid; }
    CGrid* RowLabels() const { return m_rowLabels; }
    QLineEdit* CellEditor() const { return m_editor; }
    bool IsEditingCell() const { return m_editing; }
    // Opens the in-place editor on a cell, as a double-click does; false for the fixed and
    // the unused cells.
    bool OpenCellEditor(int row, int column);
    QCheckBox* AutoBox() const { return m_auto; }
    QLineEdit* Edit(int id) const;

    static bool IsEditableCell(int row, int column);

private:
    enum { KuMax, KuNormal, K2uMax, K2uNormal, K0uMax, K0uNormal, EditCount };

    // Leaving the cell (or scrolling) puts the editor's text into it.
    void CloseCellEditor();
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);

    std::array<QLineEdit*, EditCount> m_edits{};
    CGrid* m_grid = nullptr;
    CGrid* m_rowLabels = nullptr;
    QLineEdit* m_editor = nullptr;
    QCheckBox* m_auto = nullptr;
    bool m_editing = false;
    int m_editRow = 0;
    int m_editColumn = 0;
    QPointer<QWidget> m_focusBeforeEdit;
};
