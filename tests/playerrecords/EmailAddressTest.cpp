#include "playerrecords/EmailAddress.h"

#include <gtest/gtest.h>

TEST(EmailAddress, AcceptsAddressesWithOneAtSignAndAStopAfterIt)
{
    for (const char* text : {"a@b.c", "jo.smith@mail.example.org", "j o@b.c", "a@b c.d", "a@.bc", "a.b@c.d",
                             "a\t@b.c", "1@2.3"})
        EXPECT_TRUE(IsValidEmailAddress(QString::fromLatin1(text))) << text;
}

TEST(EmailAddress, RejectsWhatCannotBeAnAddress)
{
    for (const char* text : {
             "a@bc",      // no full stop
             "a.b@c",     // the only full stop before the at sign
             "a@b@c.d",   // two at signs
             "a.bc",      // no at sign
             "@ab.c",     // an at sign, a full stop or white space at either end
             "ab.c@",
             ".a@b.c",
             "a@b.c.",
             " a@b.c",
             "a@b.c ",
             "a@b.c\n",
             "\ta@b.c",
             "ab",        // fewer than three characters
             "a@",
             "@.",
             "",
         })
        EXPECT_FALSE(IsValidEmailAddress(QString::fromLatin1(text))) << '"' << text << '"';
}
