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

bool CScoringSystem::ResolveVariable(QStringView name, const FormulaInputs& in, float& value) const
{
    if (name.size() < 3 || name.size() > 4) return false;
    const bool knownPower = in.power >= 0 && in.power < 7;
    auto is = [&name](const char16_t* variable) { return name == QStringView(variable); };

    if (is(u"yrs")) value = float(in.yrs);
    else if (is(u"scs")) value = float(in.scs);
    else if (is(u"num")) value = float(in.num);
    else if (is(u"big")) value = float(in.big);
    else if (is(u"tie")) value = float(in.tie);
    else if (is(u"srv")) value = float(in.srv);
    else if (is(u"ldr")) value = float(in.ldr);
    else if (is(u"aus")) value = in.power == 0 ? 1.0f : 0.0f;
    else if (is(u"eng")) value = in.power == 1 ? 1.0f : 0.0f;
    else if (is(u"fra")) value = in.power == 2 ? 1.0f : 0.0f;
    else if (is(u"ger")) value = in.power == 3 ? 1.0f : 0.0f;
    else if (is(u"ita")) value = in.power == 4 ? 1.0f : 0.0f;
    else if (is(u"rus")) value = in.power == 5 ? 1.0f : 0.0f;
    else if (is(u"tur")) value = in.power == 6 ? 1.0f : 0.0f;
    // A seat without a power has no provisional score or centre figure.
    else if (is(u"prov")) value = knownPower ? prov[size_t(in.power)] : 0.0f;
    else if (is(u"ctrs")) value = knownPower ? float(ctrs[size_t(in.power)]) : 0.0f;
    else if (is(u"sump") || is(u"avgp") || is(u"mulp") || is(u"minp") || is(u"maxp")) {
        float sum = 0.0f, product = 1.0f, least = prov[0], most = prov[0];
        for (float p : prov) {
            sum += p;
            product *= p;
            if (p < least) least = p;
            if (p > most) most = p;
        }
        value = is(u"sump") ? sum : is(u"avgp") ? sum * kOneSeventh : is(u"mulp") ? product
                : is(u"minp") ? least : most;
    } else if (is(u"sumc") || is(u"avgc") || is(u"mulc") || is(u"minc") || is(u"maxc")) {
        // Sums and products in float: seven figures of a stored game cannot
        // overflow them the way they could an int.
        float sum = 0.0f, product = 1.0f;
        int least = ctrs[0], most = ctrs[0];
        for (int c : ctrs) {
            sum += float(c);
            product *= float(c);
            if (c < least) least = c;
            if (c > most) most = c;
        }
        value = is(u"sumc") ? sum : is(u"avgc") ? sum * kOneSeventh : is(u"mulc") ? product
                : is(u"minc") ? float(least) : float(most);
    } else {
        return false;
    }
    return true;
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
