#pragma once
// The rule a player's e-mail address must satisfy before it is stored.

#include <QString>

// True when text looks like an address: it neither starts nor ends with
// white space, an at sign or a full stop, has at least three characters,
// and between its first and last character holds exactly one at sign with a
// full stop somewhere after it. White space inside is skipped, neither
// rejected nor counted. The empty text is not an address; callers that accept
// an empty e-mail test for it first.
bool IsValidEmailAddress(const QString& text);
