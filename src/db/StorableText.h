#pragma once
// Which typed texts the store keeps exactly.
//
// Text reaches the database as bound UTF-16 parameters and comes back the
// same way, so every Unicode character is kept, with three exceptions the
// ODBC stack cannot carry: U+0000 (the driver ends a text there), an unpaired
// surrogate (not a character at all; it would be stored as invalid UTF-8)
// and U+FEFF as the very first character (it is read back without it).
// Dialogs refuse such a text before anything is written; the statement layer
// throws DbError should one reach it all the same.

#include <QString>

#include <optional>

struct UnstorableCharacter {
    qsizetype position = 0;  // index in the text, in UTF-16 units
    char32_t code = 0;       // the character, or the lone surrogate's unit
};

// The first character of text that the store cannot keep, if any.
std::optional<UnstorableCharacter> FindUnstorableCharacter(const QString& text);

// A character as a director can look it up: "U+0000".
QString CharacterCode(char32_t code);
