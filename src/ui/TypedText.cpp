#include "ui/TypedText.h"

#include "db/Format.h"
#include "db/StorableText.h"

qsizetype CharacterCount(const QString& text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    return count;
}

QString TypedTextProblem(const TypedTextField& field, const QString& text)
{
    if (const std::optional<UnstorableCharacter> bad = FindUnstorableCharacter(text))
        return Format("The %s holds the character %s at position %d, which cannot be stored.", field.name,
                      CharacterCode(bad->code), CharacterCount(text.left(bad->position)) + 1);
    const qsizetype length = CharacterCount(text);
    if (length > field.maxCharacters)
        return Format("The %s may have at most %d characters (it has %d).", field.name, field.maxCharacters, length);
    return {};
}

long long TypedDigitsValue(QStringView digits)
{
    long long value = 0;
    for (const QChar digit : digits) {
        value = value * 10 + digit.digitValue();
        if (value >= kTypedNumberLimit) return kTypedNumberLimit;
    }
    return value;
}
