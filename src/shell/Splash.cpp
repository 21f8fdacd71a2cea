#include "Splash.h"

#include "ToolbarIcons.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

CSplashWnd* CSplashWnd::s_current = nullptr;

CSplashWnd::CSplashWnd(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(SplashPicture())
    , m_owner(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("splash"));
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_picture.size());
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry()
                                                    : QApplication::primaryScreen()->availableGeometry();
    move(area.center() - rect().center());
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWnd::HideSplashScreen);
    qApp->installEventFilter(this);
}

CSplashWnd::~CSplashWnd()
{
    qApp->removeEventFilter(this);
    if (s_current == this)
        s_current = nullptr;
}

void CSplashWnd::ShowSplashScreen(QWidget* owner)
{
    if (s_current)
        return;
    s_current = new CSplashWnd(owner);
    s_current->show();
    s_current->m_timer.start(kShowMs);
}

void CSplashWnd::HideSplashScreen()
{
    qApp->removeEventFilter(this);
    if (s_current == this)
        s_current = nullptr;
    if (m_owner)
        m_owner->update();
    close();
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        HideSplashScreen();
        return true;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
