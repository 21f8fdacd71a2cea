#include "ToolbarIcons.h"

#include "common/Version.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);

void Page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(kPaper);
    p.setPen(kInk);
    p.drawPath(path);
}

void Arrow(QPainter& p, bool down, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPolygonF shape;
    if (down)
        shape << QPointF(6, 1) << QPointF(10, 1) << QPointF(10, 7) << QPointF(13, 7) << QPointF(8, 12) << QPointF(3, 7) << QPointF(6, 7);
    else
        shape << QPointF(6, 12) << QPointF(10, 12) << QPointF(10, 6) << QPointF(13, 6) << QPointF(8, 1) << QPointF(3, 6) << QPointF(6, 6);
    p.drawPolygon(shape);
    p.setPen(kInk);
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(1.5, 12.5, 13, 2.5));
}

} // namespace

QIcon ToolbarIcon(ToolbarIconKind kind)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case ToolbarIconKind::New:
        Page(p, QRectF(3.5, 1.5, 9, 13));
        break;
    case ToolbarIconKind::Open:
        p.setPen(kInk);
        p.setBrush(QColor(235, 190, 60));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.setBrush(QColor(250, 215, 100));
        p.drawPolygon(QPolygonF() << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5));
        break;
    case ToolbarIconKind::Save:
        p.setPen(kInk);
        p.setBrush(QColor(50, 90, 170));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        break;
    case ToolbarIconKind::Cut:
        p.setPen(QPen(kInk, 1.3));
        p.drawLine(QPointF(5, 2), QPointF(10, 10));
        p.drawLine(QPointF(11, 2), QPointF(6, 10));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
        break;
    case ToolbarIconKind::Copy:
        Page(p, QRectF(1.5, 1.5, 8, 10));
        Page(p, QRectF(6.5, 4.5, 8, 10));
        break;
    case ToolbarIconKind::Paste:
        p.setPen(kInk);
        p.setBrush(QColor(170, 120, 60));
        p.drawRect(QRectF(2.5, 2.5, 10, 12));
        Page(p, QRectF(6.5, 6.5, 8, 9));
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(5.5, 1.5, 4, 2));
        break;
    case ToolbarIconKind::Read:
        Arrow(p, true, QColor(30, 140, 60));
        break;
    case ToolbarIconKind::Write:
        Arrow(p, false, QColor(190, 50, 40));
        break;
    case ToolbarIconKind::Print:
        p.setPen(kInk);
        Page(p, QRectF(4.5, 1.5, 7, 6));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(1.5, 7.5, 13, 5));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
    case ToolbarIconKind::About:
        p.setPen(kInk);
        p.setBrush(QColor(60, 110, 200));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(kPaper);
        QFont font = p.font();
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    return QIcon(pixmap);
}

QPixmap SplashPicture()
{
    QPixmap pixmap(412, 289);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 289);
    sky.setColorAt(0, QColor(20, 60, 120));
    sky.setColorAt(1, QColor(140, 180, 220));
    p.fillRect(pixmap.rect(), sky);
    // A mains sine over a faint grid: the meter's subject.
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int x = 0; x < 412; x += 24)
        p.drawLine(x, 150, x, 270);
    QPainterPath wave;
    for (int x = 0; x <= 412; ++x) {
        const double y = 210 - 45 * std::sin(x / 412.0 * 6 * 3.14159265);
        if (x == 0)
            wave.moveTo(x, y);
        else
            wave.lineTo(x, y);
    }
    p.setPen(QPen(QColor(255, 210, 80), 3));
    p.drawPath(wave);
    QFont title = p.font();
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 30, 412, 60), Qt::AlignCenter, QStringLiteral("Ладограф"));
    QFont sub = p.font();
    sub.setPixelSize(16);
    sub.setBold(false);
    p.setFont(sub);
    p.drawText(QRect(0, 90, 412, 50), Qt::AlignCenter,
               QStringLiteral("Настройка измерителей\n\"Ворант-ПКЭ-1.7\""));
    sub.setPixelSize(12);
    p.setFont(sub);
    p.drawText(QRect(0, 262, 404, 22), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Версия ") + QLatin1String(kProgramMajorMinor));
    p.setPen(QColor(10, 30, 60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}
