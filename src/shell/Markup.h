#pragma once
// The label markup of the setpoint and archive pages: "@d@" and "@D@" draw the Greek small
// and capital delta, "~...~" lowers the enclosed characters (and advances the pen),
// "^...^" raises them without moving the pen. Every character is placed separately with
// fixed advances, independent of the font, so labels line up the same in every font.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

class QPainter;

struct MarkupGlyph {
    enum Kind { Character, SmallDelta, CapitalDelta };
    Kind kind = Character;
    char byte = 0;  // the cp1251 character for Kind Character
    int x = 0;      // top-left of the character cell
    int y = 0;
};

// Where each piece of a markup text (cp1251 bytes) goes when its first cell is at (x, y).
std::vector<MarkupGlyph> LayoutMarkup(int x, int y, QByteArrayView text);

// Draws a markup text with the painter's current font, pen and background.
void DrawMarkupLabel(int x, int y, QByteArrayView text, QPainter& painter);

// What a screen reader says for a markup label: the deltas as Greek letters, the marks
// dropped ("@d@U^I^~пред в~,%" reads "δUIпред в,%").
QString MarkupPlainText(QByteArrayView text);

// Draws plain text (cp1251 bytes) with its top-left at (x, y), in one call.
void DrawPlainLabel(int x, int y, QByteArrayView text, QPainter& painter);

// What a markup text says read aloud: "@d@" is "δ", "@D@" is "Δ", the "~" and "^" marks are
// dropped ("@D@F~пред в~,Гц" reads "ΔFпред в,Гц"). Accessible names of controls beside
// painted labels.
QString MarkupPlainText(QByteArrayView text);
