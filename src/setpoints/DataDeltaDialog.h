#pragma once
// The setpoint sub-page "Напряжение": the nominal voltages, the transformer ratio and the wiring.
#include "SetpointSubPage.h"

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTimer;

class CDataDeltaDialog : public CSetpointSubPage {
public:
    explicit CDataDeltaDialog(QWidget* parent = nullptr);

    void ExchangeWithModel(ConfigModel& model, int direction) override;

    // Set whenever the nominal voltage, the ratio, the input type or the wiring changes; the
    // coefficient page reads and clears it.
    bool VoltageChanged() const { return m_voltageChanged; }
    void ClearVoltageChanged() { m_voltageChanged = false; }

    // The line-to-line voltage as it stands in its edit.
    QString LineVoltageText() const;

    // One second after the last change of a nominal voltage both are recomputed.
    QTimer* RecomputeTimer() const { return m_recomputeTimer; }
    void OnRecomputeTimer();

    // Asks for a ratio the list lacks (what was typed, empty when cancelled); tests replace it.
    void SetRatioAsker(std::function<QString()> asker) { m_askRatio = std::move(asker); }

    QComboBox* RatioList() const { return m_ratioList; }
    QLineEdit* PhaseEdit() const { return m_phase; }
    QLineEdit* LineEdit() const { return m_line; }
    QButtonGroup* SchemeButtons() const { return m_scheme; }
    QButtonGroup* InputButtons() const { return m_input; }
    QButtonGroup* ReferenceButtons() const { return m_reference; }
    QCheckBox* ClearArchiveBox() const { return m_clearArchive; }

private:
    enum InputType { DirectInput = 0, TransformerInput = 1 };
    enum Scheme { ThreeWire = 0, FourWire = 1 };

    // The page's own copy of its radio and check values, taken from the controls.
    void Collect();
    void ShowInputType(int inputType);
    void OnRatioChosen();
    void OnInputTypeClicked();
    void OnSchemeClicked();
    void OnClearArchiveClicked();
    void OnVoltageTextChanged();

    QComboBox* m_ratioList = nullptr;
    QLineEdit* m_phase = nullptr;
    QLineEdit* m_line = nullptr;
    QButtonGroup* m_scheme = nullptr;
    QButtonGroup* m_input = nullptr;
    QButtonGroup* m_reference = nullptr;
    QCheckBox* m_clearArchive = nullptr;
    QTimer* m_recomputeTimer = nullptr;
    std::function<QString()> m_askRatio;

    int m_schemeValue = -1;
    int m_inputValue = -1;
    int m_referenceValue = -1;
    int m_clearArchiveValue = 1;
    bool m_voltageChanged = false;
    bool m_fillingFromModel = false;
};
