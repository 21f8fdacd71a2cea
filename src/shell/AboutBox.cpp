#include "AboutBox.h"

#include "common/Version.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {
// 188 x 171 dialog units in the dialog font of the old layout.
constexpr int kWidth = 290;
constexpr int kHeight = 278;
} // namespace

const QList<CAboutDlg::Line>& CAboutDlg::Lines()
{
    static const QList<Line> lines = {
        {QRect(QPoint(45, 6), QPoint(279, 23)), QStringLiteral("Ладограф")},
        {QRect(QPoint(45, 24), QPoint(279, 39)), QStringLiteral("Версия ") + QLatin1String(kProgramMajorMinor)},
        {QRect(QPoint(45, 45), QPoint(279, 99)),
         QStringLiteral("Программа предназначена\nдля настройки измерителей\n\"Ворант-ПКЭ-1.7\"")},
        {QRect(QPoint(45, 100), QPoint(279, 139)), QStringLiteral("© VX, 2026\nВсе права защищены.")},
        {QRect(QPoint(45, 150), QPoint(279, 219)),
         QStringLiteral("Россия, 190000, Санкт-Петербург\nТел.: +7 (812) 000-00-00\nФакс: +7 (812) 000-00-01")},
    };
    return lines;
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("О программе..."));
    setFixedSize(kWidth, kHeight);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(kWidth - 90, kHeight - 62, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* build = new QLabel(QLatin1String(kProgramVersion), this);
    build->setObjectName(QStringLiteral("build"));
    build->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    build->setGeometry(kWidth - 100, kHeight - 28, 90, 20);
}

void CAboutDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), BackgroundColour());
    painter.setPen(TextColour());
    const QFontMetrics metrics(painter.font());
    for (const Line& line : Lines()) {
        painter.save();
        painter.setClipRect(line.rect);
        int y = line.rect.top();
        for (const QString& part : line.text.split(QLatin1Char('\n'))) {
            const QString shown = metrics.elidedText(part, Qt::ElideRight, line.rect.width());
            painter.drawText(QRect(line.rect.left(), y, line.rect.width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop, shown);
            y += metrics.height();
        }
        painter.restore();
    }
}
