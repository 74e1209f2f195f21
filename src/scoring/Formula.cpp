// The formula language of the scoring systems.
//
// A formula is an expression of numbers, variables and parenthesised groups
// joined by eight binary operators in four precedence levels:
//   * /      product, quotient (a quotient by exactly 0 is 0)
//   + -      sum, difference
//   < ^ >    1 if left < right, left >= right, left > right, else 0
//   =        1 if left equals right exactly, else 0
// each level associating to the left. A minus as the very first character of
// the formula or of a group's inside reads as "0-"; there is no other unary
// operator. Everything is computed in single precision.
//
// One nesting level is tokenized into a fixed list in which every operator
// stands right after its own right operand (x + y * z becomes x y + z *).
// The levels are then applied strongest first: the first operator of the
// level found from the left combines the two values nearest before it, and
// the scan starts again. Groups are evaluated by a recursive call whose depth
// is bounded, so no text of any content can overrun the storage or recurse
// without end; nothing is allocated.

#include "scoring/ScoringSystem.h"

#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

// 1/7 as the single-precision constant the averages use.
constexpr float kOneSeventh = 0.14285715f;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsNameChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || IsDigit(c) || c == u'_' || c == u'.';
}

bool IsOperator(char16_t c)
{
    switch (c) {
    case u'*': case u'/': case u'+': case u'-': case u'<': case u'^': case u'>': case u'=':
        return true;
    default:
        return false;
    }
}

// Precedence level of an operator, 1 (strongest) .. 4.
int LevelOf(char16_t op)
{
    switch (op) {
    case u'*': case u'/': return 1;
    case u'+': case u'-': return 2;
    case u'<': case u'^': case u'>': return 3;
    default: return 4;
    }
}

float Apply(char16_t op, float left, float right)
{
    switch (op) {
    case u'*': return left * right;
    case u'/': return right == 0.0f ? 0.0f : left / right;
    case u'+': return left + right;
    case u'-': return left - right;
    case u'<': return left < right ? 1.0f : 0.0f;
    case u'^': return left >= right ? 1.0f : 0.0f;
    case u'>': return left > right ? 1.0f : 0.0f;
    default: return left == right ? 1.0f : 0.0f;
    }
}

// The longest leading decimal number (digits, optionally a point and more
// digits) of a name that begins with a digit: "2.5" is 2.5, "2x" is 2.
float LeadingNumber(QStringView name)
{
    char digits[kMaxFormulaName + 1];
    qsizetype n = 0;
    bool integerPartNonZero = false;
    qsizetype i = 0;
    for (; i < name.size() && IsDigit(name[i].unicode()); ++i) {
        integerPartNonZero = integerPartNonZero || name[i] != u'0';
        digits[n++] = char(name[i].unicode());
    }
    if (i + 1 < name.size() && name[i] == u'.' && IsDigit(name[i + 1].unicode())) {
        digits[n++] = '.';
        for (++i; i < name.size() && IsDigit(name[i].unicode()); ++i) digits[n++] = char(name[i].unicode());
    }
    float value = 0.0f;
    const auto [end, ec] = std::from_chars(digits, digits + n, value, std::chars_format::fixed);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        value = integerPartNonZero ? std::numeric_limits<float>::infinity() : 0.0f;
    return value;
}

struct Token {
    enum Kind : std::uint8_t { Value, Name, Operator };
    Kind kind;
    char16_t op;
    float value;
    qsizetype nameStart;  // a name's place in the text
    qsizetype nameLength;
};

// The tokens of one nesting level, in fixed storage.
class TokenList {
public:
    int Size() const { return m_count; }
    Token& operator[](int i) { return m_tokens[i]; }

    bool Push(const Token& token)
    {
        if (m_count == kMaxFormulaTokens) return false;
        m_tokens[m_count++] = token;
        return true;
    }
    void Remove(int i)
    {
        for (int j = i + 1; j < m_count; ++j) m_tokens[j - 1] = m_tokens[j];
        --m_count;
    }

private:
    Token m_tokens[kMaxFormulaTokens];
    int m_count = 0;
};

}  // namespace

float CScoringSystem::Fail()
{
    error = 1;
    return 0.0f;
}

float CScoringSystem::EvaluateScoreFormula(int slot, int yrs, int scs, int num, int power, int big, int tie, int srv,
                                           int ldr)
{
    error = 0;
    if (slot < 0 || slot >= kFormulaCount) return Fail();
    const QString& text = formulas[size_t(slot)];
    if (text.isEmpty()) return 0.0f;
    return EvaluateFormula(text, yrs, scs, num, power, big, tie, srv, ldr);
}

float CScoringSystem::EvaluateFormula(QStringView text, int yrs, int scs, int num, int power, int big, int tie,
                                      int srv, int ldr)
{
    return Evaluate(text, FormulaInputs{yrs, scs, num, power, big, tie, srv, ldr}, 0);
}

namespace {

// A variable name of three or four lower-case letters packed into one
// number, so a name is found with one switch.
constexpr std::uint32_t NameKey(const char (&name)[4])
{
    return std::uint32_t(name[0]) | std::uint32_t(name[1]) << 8 | std::uint32_t(name[2]) << 16;
}
constexpr std::uint32_t NameKey(const char (&name)[5])
{
    return std::uint32_t(name[0]) | std::uint32_t(name[1]) << 8 | std::uint32_t(name[2]) << 16 |
           std::uint32_t(name[3]) << 24;
}

// The key of a name in a formula, or 0 when it cannot be a variable.
std::uint32_t KeyOf(QStringView name)
{
    if (name.size() < 3 || name.size() > 4) return 0;
    std::uint32_t key = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c < u'a' || c > u'z') return 0;
        key |= std::uint32_t(c) << (8 * i);
    }
    return key;
}

}  // namespace

bool CScoringSystem::ResolveVariable(QStringView name, const FormulaInputs& in, float& value) const
{
    const bool knownPower = in.power >= 0 && in.power < 7;
    auto aggregate = [](const auto& entries, float& sum, float& product, float& least, float& most) {
        // Sums and products in float: seven figures of a stored game cannot
        // overflow them the way they could an int.
        sum = 0.0f;
        product = 1.0f;
        least = float(entries[0]);
        most = float(entries[0]);
        for (const auto entry : entries) {
            const float e = float(entry);
            sum += e;
            product *= e;
            if (e < least) least = e;
            if (e > most) most = e;
        }
    };
    float sum, product, least, most;
    switch (KeyOf(name)) {
    case NameKey("yrs"): value = float(in.yrs); return true;
    case NameKey("scs"): value = float(in.scs); return true;
    case NameKey("num"): value = float(in.num); return true;
    case NameKey("big"): value = float(in.big); return true;
    case NameKey("tie"): value = float(in.tie); return true;
    case NameKey("srv"): value = float(in.srv); return true;
    case NameKey("ldr"): value = float(in.ldr); return true;
    case NameKey("aus"): value = in.power == 0 ? 1.0f : 0.0f; return true;
    case NameKey("eng"): value = in.power == 1 ? 1.0f : 0.0f; return true;
    case NameKey("fra"): value = in.power == 2 ? 1.0f : 0.0f; return true;
    case NameKey("ger"): value = in.power == 3 ? 1.0f : 0.0f; return true;
    case NameKey("ita"): value = in.power == 4 ? 1.0f : 0.0f; return true;
    case NameKey("rus"): value = in.power == 5 ? 1.0f : 0.0f; return true;
    case NameKey("tur"): value = in.power == 6 ? 1.0f : 0.0f; return true;
    // A seat without a power has no provisional score or centre figure.
    case NameKey("prov"): value = knownPower ? prov[size_t(in.power)] : 0.0f; return true;
    case NameKey("ctrs"): value = knownPower ? float(ctrs[size_t(in.power)]) : 0.0f; return true;
    case NameKey("sump"): aggregate(prov, sum, product, least, most); value = sum; return true;
    case NameKey("avgp"): aggregate(prov, sum, product, least, most); value = sum * kOneSeventh; return true;
    case NameKey("mulp"): aggregate(prov, sum, product, least, most); value = product; return true;
    case NameKey("minp"): aggregate(prov, sum, product, least, most); value = least; return true;
    case NameKey("maxp"): aggregate(prov, sum, product, least, most); value = most; return true;
    case NameKey("sumc"): aggregate(ctrs, sum, product, least, most); value = sum; return true;
    case NameKey("avgc"): aggregate(ctrs, sum, product, least, most); value = sum * kOneSeventh; return true;
    case NameKey("mulc"): aggregate(ctrs, sum, product, least, most); value = product; return true;
    case NameKey("minc"): aggregate(ctrs, sum, product, least, most); value = least; return true;
    case NameKey("maxc"): aggregate(ctrs, sum, product, least, most); value = most; return true;
    default: return false;
    }
}

float CScoringSystem::Evaluate(QStringView text, const FormulaInputs& in, int depth)
{
    if (error) return 0.0f;

    TokenList list;
    const qsizetype length = text.size();
    qsizetype pos = 0;

    enum class Read { Appended, Stop, Failed };
    auto pushValue = [&list](float value) { return list.Push(Token{Token::Value, 0, value, 0, 0}); };

    // Reads one operand at pos. A right operand (after an operator) must be
    // there: the end of the text or an unclosed "(" is an error in its place,
    // while elsewhere they end the tokenizing.
    auto readOperand = [&](bool right) -> Read {
        while (pos < length && IsBlank(text[pos].unicode())) ++pos;
        if (pos == length) return right ? Read::Failed : Read::Stop;
        const char16_t c = text[pos].unicode();
        if (c == u'(') {
            qsizetype close = pos + 1;
            for (int open = 1; close < length; ++close) {
                if (text[close] == u'(') ++open;
                else if (text[close] == u')' && --open == 0) break;
            }
            if (close == length) return right ? Read::Failed : Read::Stop;
            if (depth >= kMaxFormulaDepth) return Read::Failed;
            const float inner = Evaluate(text.sliced(pos + 1, close - pos - 1), in, depth + 1);
            if (error) return Read::Failed;
            pos = close + 1;
            return pushValue(inner) ? Read::Appended : Read::Failed;
        }
        if (IsNameChar(c)) {
            const qsizetype start = pos;
            while (pos < length && IsNameChar(text[pos].unicode())) ++pos;
            if (pos - start > kMaxFormulaName) return Read::Failed;
            return list.Push(Token{Token::Name, 0, 0.0f, start, pos - start}) ? Read::Appended : Read::Failed;
        }
        // Any other character cannot begin an operand; an operator character
        // in a right operand's place is no name that could ever resolve.
        return Read::Failed;
    };

    // 1. Tokenize. A leading minus reads as "0" before the text.
    if (length > 0 && text[0] == u'-') {
        pushValue(0.0f);
    } else {
        const Read first = readOperand(false);
        if (first == Read::Failed) return Fail();
        if (first == Read::Stop) pos = length;
    }
    while (pos < length) {
        while (pos < length && IsBlank(text[pos].unicode())) ++pos;
        if (pos == length) break;
        const char16_t c = text[pos].unicode();
        if (IsOperator(c)) {
            ++pos;
            if (readOperand(true) != Read::Appended) return Fail();
            if (!list.Push(Token{Token::Operator, c, 0.0f, 0, 0})) return Fail();
        } else {
            // A further operand right after one: the final check rejects the
            // list, unless an unclosed "(" ends the tokenizing first.
            const Read further = readOperand(false);
            if (further == Read::Failed) return Fail();
            if (further == Read::Stop) break;
        }
    }

    // 2. Names become values: a variable, or a number when it begins with a digit.
    for (int i = 0; i < list.Size(); ++i) {
        Token& t = list[i];
        if (t.kind != Token::Name) continue;
        const QStringView name = text.sliced(t.nameStart, t.nameLength);
        float value = 0.0f;
        if (!ResolveVariable(name, in, value)) {
            if (!IsDigit(name[0].unicode())) return Fail();
            value = LeadingNumber(name);
        }
        t = Token{Token::Value, 0, value, 0, 0};
    }

    // 3. The levels, strongest first; each operator takes the two values
    // nearest before it.
    for (int level = 1; level <= 4; ++level) {
        bool applied = true;
        while (applied) {
            applied = false;
            int left = -1, right = -1;
            for (int i = 0; i < list.Size(); ++i) {
                Token& t = list[i];
                if (t.kind == Token::Value) {
                    left = right;
                    right = i;
                    continue;
                }
                if (LevelOf(t.op) != level) continue;
                if (left < 0) return Fail();
                list[left].value = Apply(t.op, list[left].value, list[right].value);
                list.Remove(i);
                list.Remove(right);
                applied = true;
                break;
            }
        }
    }

    // 4. Exactly one value must be left.
    if (list.Size() != 1 || list[0].kind != Token::Value) return Fail();
    return list[0].value;
}

namespace {

// Variables are found in formula texts as case-sensitive substrings, so a
// name inside a longer word counts.
bool MentionsAny(const QString& text, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (text.contains(QLatin1String(n), Qt::CaseSensitive)) return true;
    return false;
}

}  // namespace

bool MentionsProvisionalScores(const QString& formula)
{
    return MentionsAny(formula, {"prov", "avgp", "mulp", "sump", "minp", "maxp"});
}

void CScoringSystem::DeriveUsageFlags()
{
    usesYears = 0;
    usesRanking = winDrawScoring != 1 ? 1 : 0;
    usesProvisional = 0;
    usesTotalSC = 0;
    for (const QString& formula : formulas) {
        if (MentionsAny(formula, {"yrs"})) usesYears = 1;
        if (MentionsAny(formula, {"scs", "big", "tie", "srv"})) usesRanking = 1;
        if (MentionsProvisionalScores(formula)) usesProvisional = 1;
        if (MentionsAny(formula, {"ctrs", "sumc", "avgc", "mulc", "minc", "maxc"})) usesTotalSC = 1;
    }
    if (winDrawScoring == 2) usesProvisional = 1;
}
