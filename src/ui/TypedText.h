#pragma once
// The one check of every text a director types before it is stored: it may
// be no longer than its field allows, and it may hold only characters the
// store keeps (see db/StorableText.h). Dialogs run it before any statement
// and show the sentence it gives in their own way.

#include <QString>
#include <QStringView>

// A text field as messages name it ("tournament name") and the most
// characters it takes.
struct TypedTextField {
    QString name;
    int maxCharacters = 0;
};

// Characters as a reader counts them: one for a character outside the Basic
// Multilingual Plane, although it takes two UTF-16 units.
qsizetype CharacterCount(const QString& text);

// Why text cannot be stored in the field, as one sentence; empty when it can:
//   "The tournament name may have at most 80 characters (it has 95)."
//   "The first name holds the character U+0000 at position 4, which cannot be stored."
QString TypedTextProblem(const TypedTextField& field, const QString& text);

// Numbers typed beyond a quadrillion read as one quadrillion: far outside
// every field's range, so they are refused like any number too large, and a
// few of them still add up without overflowing.
inline constexpr long long kTypedNumberLimit = 1'000'000'000'000'000;

// The value of a run of decimal digits, at most kTypedNumberLimit.
long long TypedDigitsValue(QStringView digits);
