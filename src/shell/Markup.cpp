#include "Markup.h"

#include "common/Cp1251.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kDeltaAdvance = 7;
constexpr int kSuperscriptAdvance = 4;
constexpr int kSuperscriptRise = 5;
constexpr int kSubscriptDrop = 5;
constexpr int kNarrowAdvance = 7;
constexpr int kWideSubscriptAdvance = 8;  // "ф" and "м" in a subscript
constexpr int kLatinCapitalAdvance = 9;

constexpr char kCyrillicEf = char(0xF4);
constexpr char kCyrillicEm = char(0xEC);

// Index just past the closing mark, or the end of the text when the mark is not closed.
qsizetype RunEnd(QByteArrayView text, qsizetype start, char mark, qsizetype* close)
{
    qsizetype j = start;
    while (j < text.size() && text[j] != mark)
        ++j;
    *close = j;
    return j < text.size() ? j + 1 : j;
}

void DrawCell(QPainter& painter, int x, int y, const QString& text)
{
    const QFontMetrics metrics(painter.font());
    painter.drawText(x, y + metrics.ascent(), text);
}

} // namespace

std::vector<MarkupGlyph> LayoutMarkup(int x, int y, QByteArrayView text)
{
    std::vector<MarkupGlyph> glyphs;
    qsizetype i = 0;
    while (i < text.size()) {
        const char ch = text[i];
        if (ch == '@') {
            const char letter = i + 1 < text.size() ? text[i + 1] : '\0';
            if (letter == 'D' || letter == 'd') {
                glyphs.push_back({letter == 'D' ? MarkupGlyph::CapitalDelta : MarkupGlyph::SmallDelta, 0, x, y});
                x += kDeltaAdvance;
            }
            i += 3;
        } else if (ch == '^') {
            qsizetype close = 0;
            const qsizetype next = RunEnd(text, i + 1, '^', &close);
            int pen = x;
            for (qsizetype j = i + 1; j < close; ++j) {
                glyphs.push_back({MarkupGlyph::Character, text[j], pen, y - kSuperscriptRise});
                pen += kSuperscriptAdvance;
            }
            i = next;
        } else if (ch == '~') {
            qsizetype close = 0;
            const qsizetype next = RunEnd(text, i + 1, '~', &close);
            for (qsizetype j = i + 1; j < close; ++j) {
                glyphs.push_back({MarkupGlyph::Character, text[j], x, y + kSubscriptDrop});
                x += (text[j] == kCyrillicEf || text[j] == kCyrillicEm) ? kWideSubscriptAdvance : kNarrowAdvance;
            }
            i = next;
        } else {
            glyphs.push_back({MarkupGlyph::Character, ch, x, y});
            x += (ch >= 'A' && ch <= 'Z') ? kLatinCapitalAdvance : kNarrowAdvance;
            ++i;
        }
    }
    return glyphs;
}

void DrawMarkupLabel(int x, int y, QByteArrayView text, QPainter& painter)
{
    for (const MarkupGlyph& glyph : LayoutMarkup(x, y, text)) {
        switch (glyph.kind) {
        case MarkupGlyph::SmallDelta:
            DrawCell(painter, glyph.x, glyph.y, QStringLiteral("δ"));
            break;
        case MarkupGlyph::CapitalDelta:
            DrawCell(painter, glyph.x, glyph.y, QStringLiteral("Δ"));
            break;
        case MarkupGlyph::Character:
            DrawCell(painter, glyph.x, glyph.y, cp1251::Decode(QByteArrayView(&glyph.byte, 1)));
            break;
        }
    }
}

void DrawPlainLabel(int x, int y, QByteArrayView text, QPainter& painter)
{
    DrawCell(painter, x, y, cp1251::Decode(text));
}

QString MarkupPlainText(QByteArrayView text)
{
    QString plain;
    for (const MarkupGlyph& glyph : LayoutMarkup(0, 0, text)) {
        if (glyph.kind == MarkupGlyph::SmallDelta)
            plain += QStringLiteral("δ");
        else if (glyph.kind == MarkupGlyph::CapitalDelta)
            plain += QStringLiteral("Δ");
        else
            plain += cp1251::Decode(QByteArrayView(&glyph.byte, 1));
    }
    return plain;
}
