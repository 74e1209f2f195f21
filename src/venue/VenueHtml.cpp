#include "venue/VenueHtml.h"

QString VenueHtmlEscaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    // A lone surrogate comes out of toUcs4() as U+FFFD.
    for (const char32_t c : text.toUcs4()) {
        switch (c) {
        case '&': escaped += QStringLiteral("&amp;"); break;
        case '<': escaped += QStringLiteral("&lt;"); break;
        case '>': escaped += QStringLiteral("&gt;"); break;
        case '"': escaped += QStringLiteral("&quot;"); break;
        case '\'': escaped += QStringLiteral("&#39;"); break;
        default: {
            const bool control = (c < 0x20 && c != '\t' && c != '\n') || (c >= 0x7F && c < 0xA0);
            const bool nonCharacter = (c & 0xFFFE) == 0xFFFE || (c >= 0xFDD0 && c <= 0xFDEF);
            const char32_t kept = control || nonCharacter ? U'\xFFFD' : c;
            if (QChar::requiresSurrogates(kept)) {
                escaped += QChar(QChar::highSurrogate(kept));
                escaped += QChar(QChar::lowSurrogate(kept));
            } else {
                escaped += QChar(kept);
            }
        }
        }
    }
    return escaped;
}
