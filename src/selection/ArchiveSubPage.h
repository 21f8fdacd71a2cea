#pragma once
// One sub-page of "Архивируемые данные": the phase grid, the quantity list with the names
// beside it, the harmonic grid "Коэффициенты", the storage depth at the top right and the
// legend. The marks are the record's bits; every click goes through the archive rules of the
// core and the grids only show the result.
#include "ArchiveMask.h"

#include <QWidget>

class CGrid;
class QLabel;

class CArchiveSubPage : public QWidget {
public:
    CArchiveSubPage(ArchiveKind kind, QWidget* parent = nullptr);

    ArchiveKind Kind() const { return m_kind; }
    const ArchiveMarks& Marks() const { return m_marks; }
    // Shows new marks (a load, the three-wire action); does not refresh the depth.
    void SetMarks(const ArchiveMarks& marks);
    void RefreshStorageDepth();

    CGrid* PhaseGrid() const { return m_phases; }
    CGrid* QuantityList() const { return m_quantities; }
    CGrid* HarmonicGrid() const { return m_harmonics; }
    QLabel* StorageDepth() const { return m_depth; }

    // The grids' click handlers (the grids call them; tests may too).
    void OnPhaseClicked(int row, int column);
    void OnQuantityClicked(int row, int column);
    void OnHarmonicClicked(int row, int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AfterClick(bool changed);
    void ShowMarks();

    ArchiveKind m_kind;
    ArchiveMarks m_marks;
    CGrid* m_phases = nullptr;
    CGrid* m_quantities = nullptr;
    CGrid* m_harmonics = nullptr;
    QLabel* m_depth = nullptr;
};
