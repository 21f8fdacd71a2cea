#pragma once
// A label that paints markup text ("U~ном.ф~,В"), for pages laid out with widgets rather
// than painted at fixed positions. The text's base line sits five pixels down, so a
// superscript fits above it.
#include <QByteArray>
#include <QWidget>

class CMarkupLabel : public QWidget {
public:
    explicit CMarkupLabel(const QByteArray& markup = QByteArray(), QWidget* parent = nullptr);

    void SetMarkup(const QByteArray& markup);
    const QByteArray& Markup() const { return m_markup; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QByteArray m_markup;
};
