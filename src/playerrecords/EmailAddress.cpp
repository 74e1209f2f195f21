#include "playerrecords/EmailAddress.h"

namespace {

bool IsBlank(QChar c)
{
    switch (c.unicode()) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r': return true;
    default: return false;
    }
}

bool CannotBeAtAnEnd(QChar c) { return IsBlank(c) || c == QChar('@') || c == QChar('.'); }

}  // namespace

bool IsValidEmailAddress(const QString& text)
{
    const qsizetype length = text.size();
    if (length < 3) return false;
    if (CannotBeAtAnEnd(text[0]) || CannotBeAtAnEnd(text[length - 1])) return false;
    int atSigns = 0;
    bool stopAfterAt = false;
    for (qsizetype i = 1; i < length - 1; ++i) {
        const QChar c = text[i];
        if (IsBlank(c)) continue;
        if (c == QChar('@')) {
            ++atSigns;
        } else if (c == QChar('.') && atSigns > 0) {
            stopAfterAt = true;
        }
    }
    return atSigns == 1 && stopAfterAt;
}
