#include "ui/TypedText.h"

#include <gtest/gtest.h>

TEST(TypedText, CountsCharactersAsAReaderDoes)
{
    const TypedTextField field{"nickname", 3};
    const QString emoji = QString::fromUtf8("\U0001F600");  // two UTF-16 units, one character
    struct Case {
        QString text;
        QString problem;
    };
    const Case cases[] = {
        {emoji.repeated(3), ""},
        {QString::fromUtf8("e\u0301te"), "The nickname may have at most 3 characters (it has 4)."},  // a combining mark counts
        {emoji.repeated(4), "The nickname may have at most 3 characters (it has 4)."},
        {emoji + QChar(u'\0'), "The nickname holds the character U+0000 at position 2, which cannot be stored."},
        // The character comes first, even when the text is too long as well.
        {QString(5, QChar('x')) + QChar(0xD83D), "The nickname holds the character U+D83D at position 6, which cannot be stored."},
    };
    for (const Case& c : cases) EXPECT_EQ(TypedTextProblem(field, c.text), c.problem) << c.text.toStdString();
    EXPECT_EQ(CharacterCount(emoji + "a"), 2);
}

TEST(TypedText, ReadsDigitsUpToTheLimit)
{
    EXPECT_EQ(TypedDigitsValue(u"0"), 0);
    EXPECT_EQ(TypedDigitsValue(u"2147483648"), 2147483648LL);
    EXPECT_EQ(TypedDigitsValue(u"999999999999999"), 999999999999999LL);
    EXPECT_EQ(TypedDigitsValue(u"1000000000000000"), kTypedNumberLimit);
    EXPECT_EQ(TypedDigitsValue(u"99999999999999999999999999999"), kTypedNumberLimit);
}
