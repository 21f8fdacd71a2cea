#include "SubPageControls.h"

#include "common/Cp1251.h"
#include "shell/MarkupLabel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
// CMarkupLabel draws its text this far below its top, to leave room for superscripts.
constexpr int kMarkupLabelTopMargin = 5;constexpr int kPaintedLabelPixelSize = 11;
constexpr int kRadioLeft = 12;
constexpr int kRadioTop = 20;
constexpr int kRadioStep = 22;
} // namespace

QFont PaintedLabelFont(const QFont& base)
{
    QFont font = base;
    font.setPixelSize(kPaintedLabelPixelSize);
    return font;
}

CMarkupLabel* PlacePaintedLabel(QWidget* parent, QStringView markup, int x, int y)
{
    auto* label = new CMarkupLabel(cp1251::Encode(markup), parent);
    label->setFont(PaintedLabelFont(label->font()));
    label->move(x, y - kMarkupLabelTopMargin);
    label->resize(label->sizeHint());
    return label;
}

QLineEdit* PlaceEdit(QWidget* parent, const QString& objectName, const QRect& place, const QString& accessibleName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setGeometry(place);
    edit->setAccessibleName(accessibleName);
    return edit;
}

QGroupBox* PlaceRadioPair(QWidget* parent, const QString& title, const QRect& place, const QString& first,
                          const QString& second, QButtonGroup* group)
{
    auto* box = new QGroupBox(title, parent);
    box->setGeometry(place);
    const QString texts[] = {first, second};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(texts[i], box);
        button->move(kRadioLeft, kRadioTop + i * kRadioStep);
        button->resize(place.width() - 2 * kRadioLeft, button->sizeHint().height());
        group->addButton(button, i);
    }
    return box;
}

