#include "CoefficientRules.h"

#include "common/CFormat.h"

#include <algorithm>
#include <map>

namespace setpoints {

namespace {

bool IsSpace(QChar ch)
{
    return ch == u' ' || (ch >= u'\t' && ch <= u'\r');
}

// The integer at the start of a text (white space and a sign first, as C's atoi reads it);
// digits beyond the range only matter modulo the width the caller keeps, so they are
// accumulated with wrap-around.
std::uint64_t LeadingIntegerWrapped(QStringView text, bool* negative)
{
    qsizetype i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    *negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        *negative = text[i] == u'-';
        ++i;
    }
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10 + std::uint64_t(text[i].unicode() - u'0');
    return *negative ? ~value + 1 : value;
}

} // namespace

QString CoefficientText(std::uint16_t value)
{
    return FormatC("%.2f", double(float(value) / 100.0f));
}

std::uint16_t CoefficientFromText(QStringView typed)
{
    QString text = typed.toString();
    text.replace(u',', u'.');
    const qsizetype point = text.indexOf(u'.');
    if (point < 0) {
        text += QStringLiteral("00");
    } else {
        const qsizetype decimals = text.size() - point - 1;
        if (decimals == 0)
            text += QStringLiteral("00");
        else if (decimals == 1)
            text += QStringLiteral("0");
        else if (decimals > 2)
            text.truncate(point + 3);
    }
    text.remove(u'.');
    bool negative = false;
    return std::uint16_t(LeadingIntegerWrapped(text, &negative));
}

int VoltageClassFor(std::uint32_t lineVolts)
{
    if (lineVolts < 6000)
        return 1;
    if (lineVolts < 35000)
        return 2;
    if (lineVolts < 110000)
        return 3;
    return 4;
}

std::uint32_t LineVoltsForClass(QStringView text)
{
    bool negative = false;
    return std::uint32_t(LeadingIntegerWrapped(text, &negative));
}

namespace {

std::array<VoltageClassLimits, 4> BuildClassTables()
{
    // Orders not listed: 0.2 % up to order 40, none above.
    std::array<VoltageClassLimits, 4> classes{};
    for (VoltageClassLimits& limits : classes) {
        for (int n = kFirstHarmonic; n <= kLastHarmonic; ++n)
            limits.harmonicNormal[std::size_t(n - kFirstHarmonic)] = n <= 40 ? 0.2 : 0.0;
    }
    const std::map<int, std::array<double, 4>> listed = {
        {2, {2.0, 1.5, 1.0, 0.5}},  {3, {5.0, 3.0, 3.0, 1.5}},  {4, {1.0, 0.7, 0.5, 0.3}},
        {5, {6.0, 4.0, 3.0, 1.5}},  {6, {0.5, 0.3, 0.3, 0.2}},  {7, {5.0, 3.0, 2.5, 1.0}},
        {8, {0.5, 0.3, 0.3, 0.2}},  {9, {1.5, 1.0, 1.0, 0.4}},  {10, {0.5, 0.3, 0.3, 0.2}},
        {11, {3.5, 2.0, 2.0, 1.0}}, {13, {3.0, 2.0, 1.5, 0.7}}, {15, {0.3, 0.3, 0.3, 0.2}},
        {17, {2.0, 1.5, 1.0, 0.5}},
    };
    for (const auto& [n, values] : listed) {
        for (std::size_t c = 0; c < classes.size(); ++c)
            classes[c].harmonicNormal[std::size_t(n - kFirstHarmonic)] = values[c];
    }
    for (int n : {19, 23, 25, 29, 31, 35, 37}) {
        const std::array<double, 4> values = {1.5, 1.0, 1.0, 0.4};
        for (std::size_t c = 0; c < classes.size(); ++c)
            classes[c].harmonicNormal[std::size_t(n - kFirstHarmonic)] = values[c];
    }
    const char* normalTexts[] = {"8.00", "5.00", "4.00", "2.00"};
    const char* maxTexts[] = {"12.00", "8.00", "6.00", "3.00"};
    for (std::size_t c = 0; c < classes.size(); ++c) {
        classes[c].kuNormalText = QString::fromLatin1(normalTexts[c]);
        classes[c].kuMaxText = QString::fromLatin1(maxTexts[c]);
    }
    return classes;
}

} // namespace

const VoltageClassLimits& VoltageClassTable(int voltageClass)
{
    static const std::array<VoltageClassLimits, 4> tables = BuildClassTables();
    return tables[std::size_t(std::clamp(voltageClass, 1, 4) - 1)];
}

} // namespace setpoints
