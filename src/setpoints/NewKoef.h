#pragma once
// The small dialog that asks for a transformer ratio the list does not offer.
#include <QDialog>

class QLineEdit;

class CNewKoef : public QDialog {
public:
    explicit CNewKoef(QWidget* parent = nullptr);

    QString Text() const;
    QLineEdit* Edit() const { return m_edit; }

    // Runs the dialog: what was typed when it is confirmed, an empty text when it is cancelled.
    static QString Ask(QWidget* parent);

private:
    QLineEdit* m_edit = nullptr;
};
