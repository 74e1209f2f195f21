#include "db/StorableText.h"

std::optional<UnstorableCharacter> FindUnstorableCharacter(const QString& text)
{
    if (!text.isEmpty() && text.front() == QChar(0xFEFF)) return UnstorableCharacter{0, 0xFEFF};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() == 0) return UnstorableCharacter{i, 0};
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) return UnstorableCharacter{i, c.unicode()};
    }
    return std::nullopt;
}

QString CharacterCode(char32_t code)
{
    return QStringLiteral("U+") + QString::number(uint(code), 16).toUpper().rightJustified(4, QChar('0'));
}
