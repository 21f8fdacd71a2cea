#pragma once
// Small pieces the setpoint sub-pages are built from: labels painted from markup at a fixed
// position, radio pairs whose value is the index of the checked button (-1 for none; set
// them with SetChoice of SubPageSupport.h), and edits that take a fixed place on the page.
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringView>

class CMarkupLabel;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

// The font painted labels are drawn in: they advance by fixed amounts of 7 to 9 pixels a
// character, and a font of this size keeps neighbouring characters apart.
QFont PaintedLabelFont(const QFont& base);

// A painted label whose first character cell is at (x, y) of parent.
CMarkupLabel* PlacePaintedLabel(QWidget* parent, QStringView markup, int x, int y);

// An edit at a fixed place, named for tests and for the accessibility tree.
QLineEdit* PlaceEdit(QWidget* parent, const QString& objectName, const QRect& place, const QString& accessibleName);

// A group box at a fixed place with two radio buttons one above the other; the buttons get
// the ids 0 and 1 in group.
QGroupBox* PlaceRadioPair(QWidget* parent, const QString& title, const QRect& place, const QString& first,
                          const QString& second, QButtonGroup* group);
