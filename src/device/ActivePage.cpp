#include "ActivePage.h"

#include <climits>

int LeadingNumber(QStringView text)
{
    long long value = 0;
    for (QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            break;
        value = value * 10 + (ch.unicode() - u'0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return int(value);
}
