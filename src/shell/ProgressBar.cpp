#include "ProgressBar.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

CProgressBar::CProgressBar(QLabel* pane, const QString& message, int size, int maximum, bool smooth,
                           const QString& restoreText)
    : m_pane(pane)
    , m_message(message)
    , m_restoreText(restoreText)
    , m_size(size)
    , m_maximum(maximum)
{
    if (!m_pane)
        return;
    m_bar = new QProgressBar(m_pane);
    m_bar->setTextVisible(false);
    m_bar->setRange(0, maximum);
    if (!smooth)
        m_bar->setStyleSheet(QStringLiteral("QProgressBar::chunk { width: 8px; margin: 1px; }"));
    m_pane->setText(m_message);
    m_pane->installEventFilter(this);
    Place();
    m_bar->show();
    // The commands run to their end on this thread; let the pane show before they start.
    m_pane->repaint();
}

CProgressBar::~CProgressBar()
{
    if (!m_pane)
        return;
    m_pane->removeEventFilter(this);
    delete m_bar;
    m_pane->setText(m_restoreText);
}

void CProgressBar::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_value = minimum;
    if (m_bar)
        m_bar->setRange(minimum, maximum);
}

void CProgressBar::StepIt()
{
    m_value += m_step;
    // Like the platform's bar: stepping past the end starts again from the beginning.
    if (m_value > m_maximum)
        m_value = m_minimum + (m_value - m_maximum);
    if (m_bar) {
        m_bar->setValue(m_value);
        m_bar->repaint();
    }
}

void CProgressBar::SetPosition(int position)
{
    m_value = qBound(m_minimum, position, m_maximum);
    if (m_bar) {
        m_bar->setValue(m_value);
        m_bar->repaint();
    }
}

void CProgressBar::SetMessage(const QString& message)
{
    m_message = message;
    if (m_pane) {
        m_pane->setText(message);
        Place();
    }
}

bool CProgressBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pane && (event->type() == QEvent::Resize || event->type() == QEvent::Paint))
        Place();
    return QObject::eventFilter(watched, event);
}

void CProgressBar::Place()
{
    QRect r = m_pane->rect();
    if (!m_message.isEmpty()) {
        const QFontMetrics metrics(m_pane->font());
        r.setLeft(r.left() + metrics.horizontalAdvance(m_message) + 4 * metrics.horizontalAdvance(QLatin1Char(' ')));
    }
    const int width = r.width();
    const int right = std::max(r.left(), r.right() - (100 - m_size) * width / 100);
    r.setRight(right);
    const int trim = r.height() / 10;
    r.adjust(0, trim, 0, -trim);
    if (m_bar->geometry() != r)
        m_bar->setGeometry(r);
}
