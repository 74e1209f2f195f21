#pragma once
// printf-style formatting without C varargs, and the statements of the
// program.
//
// Every counted or padded text of the program is built from a printf-style
// format string ("%d Player%s Listed"). Format() fills such a string from
// typed arguments; a conversion that does not fit its argument, or a wrong
// number of arguments, throws std::logic_error instead of reading garbage.
// The result grows as needed, so nothing is ever cut or overrun.
//
// Supported: %d %i (integers), %s (text), %f with precision (%.2f, %.3f),
// %c (a character, or an integer character code), %%; flags '-' and '0',
// a width and a precision ("%-30.30s", "%4s", "%-7s").
//
// Sql() builds a statement from the same kind of format string:
//
//   ExecuteSQL(Sql("update Player set first = '%s' where id = %d", first, id));
//
// Numbers are written into the statement text. A text placed between the
// single quotes of '%s' is not written into it at all: the quoted
// placeholder becomes a '?' and the text is bound to it when the statement
// runs, so it reaches the database exactly as given and no character of it
// can change the statement. An unquoted %s takes only a program fragment (a
// const char*, such as an order-by clause the program chooses), never a
// QString. The format must be a constant, and its conversions are checked
// against the arguments when the program is compiled.

#include <QString>
#include <QStringList>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

class SqlStatement;

namespace format_detail {

enum class Kind { Integer, Real, Text, Fragment, Character };

// One conversion of a format string: "%-30.30s", "%d", "%%".
struct Conversion {
    size_t begin = 0;  // index of the '%'
    size_t end = 0;    // one past the conversion character
    bool leftAlign = false;
    bool zeroPad = false;
    int width = -1;
    int precision = -1;
    char type = 0;  // 'd', 's', ..., '%' for "%%"; 0 when the format ends inside it
};

// The first conversion at or after pos, or begin == format.size() when there is none.
constexpr Conversion NextConversion(std::string_view format, size_t pos)
{
    Conversion c;
    c.begin = format.find('%', pos);
    if (c.begin == std::string_view::npos) {
        c.begin = c.end = format.size();
        return c;
    }
    size_t i = c.begin + 1;
    for (; i < format.size(); ++i) {
        if (format[i] == '-') c.leftAlign = true;
        else if (format[i] == '0') c.zeroPad = true;
        else break;
    }
    auto readNumber = [&] {
        int value = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') value = value * 10 + (format[i++] - '0');
        return value;
    };
    if (i < format.size() && format[i] >= '1' && format[i] <= '9') c.width = readNumber();
    if (i < format.size() && format[i] == '.') {
        ++i;
        c.precision = readNumber();
    }
    while (i < format.size() && (format[i] == 'l' || format[i] == 'h')) ++i;
    c.end = i < format.size() ? i + 1 : format.size();
    c.type = i < format.size() ? format[i] : 0;
    return c;
}

// A '%s' whose quotes are its own (the opening quote lies after the end of
// the previous conversion, which is literalStart).
constexpr bool IsQuoted(std::string_view format, const Conversion& c, size_t literalStart)
{
    return c.type == 's' && c.begin > literalStart && format[c.begin - 1] == '\'' && c.end < format.size() &&
           format[c.end] == '\'';
}

inline constexpr std::string_view kUnquotedText =
    "an unquoted %s in a statement takes only a program fragment (const char*), never a QString";

// Why arguments of these kinds do not fit the format, or empty when they do.
// A statement format must also be ASCII, take no %c, and give each unquoted
// %s a program fragment.
constexpr std::string_view Mismatch(std::string_view format, std::span<const Kind> kinds, bool statement)
{
    size_t next = 0;
    size_t literalStart = 0;
    if (statement)
        for (char ch : format)
            if (static_cast<unsigned char>(ch) >= 0x80 || ch == 0) return "a statement format must be ASCII";
    for (Conversion c = NextConversion(format, 0); c.begin < format.size(); c = NextConversion(format, c.end)) {
        if (c.type == 0) return "incomplete conversion at the end";
        if (c.type == '%') {
            literalStart = c.end;
            continue;
        }
        if (next >= kinds.size()) return "more conversions than arguments";
        const Kind kind = kinds[next++];
        const bool quoted = statement && IsQuoted(format, c, literalStart);
        literalStart = quoted ? c.end + 1 : c.end;
        switch (c.type) {
        case 'd':
        case 'i':
            if (kind != Kind::Integer) return "%d needs an integer";
            break;
        case 'f':
            if (kind != Kind::Real) return "%f needs a floating-point value";
            break;
        case 'c':
            if (statement) return "%c has no place in a statement";
            if (kind != Kind::Character && kind != Kind::Integer) return "%c needs a character";
            break;
        case 's':
            if (kind != Kind::Text && kind != Kind::Fragment) return "%s needs a text";
            if (statement && !quoted && kind != Kind::Fragment) return kUnquotedText;
            break;
        default:
            return "unsupported conversion";
        }
    }
    if (next != kinds.size()) return "more arguments than conversions";
    return {};
}

template <class T>
constexpr Kind KindOf()
{
    using V = std::decay_t<T>;
    if constexpr (std::is_same_v<V, bool>) {
        static_assert(!std::is_same_v<V, bool>, "format a bool as an int explicitly");
        return Kind::Integer;
    } else if constexpr (std::is_same_v<V, char>) {
        return Kind::Character;
    } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
        return Kind::Integer;
    } else if constexpr (std::is_floating_point_v<V>) {
        return Kind::Real;
    } else if constexpr (std::is_same_v<V, QString> || std::is_same_v<V, std::string> ||
                         std::is_same_v<V, std::string_view>) {
        return Kind::Text;
    } else if constexpr (std::is_convertible_v<V, const char*>) {
        return Kind::Fragment;
    } else {
        static_assert(sizeof(V) == 0, "unsupported format argument type");
        return Kind::Text;
    }
}

struct Arg {
    Kind kind = Kind::Integer;
    long long integer = 0;
    double real = 0.0;
    QString text;
};

template <class T>
Arg MakeArg(const T& value)
{
    using V = std::decay_t<T>;
    constexpr Kind kind = KindOf<T>();
    if constexpr (kind == Kind::Character) {
        return Arg{kind, static_cast<unsigned char>(value), 0.0, {}};
    } else if constexpr (kind == Kind::Integer) {
        return Arg{kind, static_cast<long long>(value), 0.0, {}};
    } else if constexpr (kind == Kind::Real) {
        return Arg{kind, 0, static_cast<double>(value), {}};
    } else if constexpr (std::is_same_v<V, QString>) {
        return Arg{kind, 0, 0.0, value};
    } else if constexpr (kind == Kind::Text) {
        return Arg{kind, 0, 0.0, QString::fromUtf8(value.data(), qsizetype(value.size()))};
    } else {
        return Arg{kind, 0, 0.0, QString::fromUtf8(static_cast<const char*>(value))};
    }
}

QString FormatArgs(std::string_view format, std::span<const Arg> args);
SqlStatement StatementArgs(std::string_view format, std::span<const Arg> args);

// Called only when a statement format does not fit its arguments: as they
// are not constexpr, the program does not compile, and the compiler names
// the function and the Sql() call.
void StatementFormatDoesNotFitItsArguments(std::string_view why);
void UnquotedPercentSTakesOnlyAProgramFragment(std::string_view why);

template <class... Args>
struct StatementFormat {
    consteval StatementFormat(const char* format) : text(format)
    {
        constexpr Kind kinds[] = {KindOf<Args>()..., Kind::Integer};
        const std::string_view why = Mismatch(text, std::span(kinds, sizeof...(Args)), true);
        if (why == kUnquotedText) UnquotedPercentSTakesOnlyAProgramFragment(why);
        else if (!why.empty()) StatementFormatDoesNotFitItsArguments(why);
    }
    std::string_view text;
};

}  // namespace format_detail

// A statement ready to run: ASCII text with a '?' for each bound text, and
// the texts in their order. Made by Sql(), or from a string literal for a
// statement without values; never from a QString.
class SqlStatement {
public:
    template <size_t N>
    SqlStatement(const char (&fixedText)[N])
        : m_text(QString::fromUtf8(fixedText, qsizetype(std::char_traits<char>::length(fixedText))))
    {
    }

    const QString& Text() const { return m_text; }
    const QStringList& BoundTexts() const { return m_bound; }

    // The statement with a program fragment appended to its text.
    template <size_t N>
    SqlStatement Followed(const char (&fixedText)[N]) const
    {
        return SqlStatement(m_text + QString::fromUtf8(fixedText, qsizetype(std::char_traits<char>::length(fixedText))),
                            m_bound);
    }

private:
    friend SqlStatement format_detail::StatementArgs(std::string_view, std::span<const format_detail::Arg>);
    SqlStatement(QString text, QStringList bound) : m_text(std::move(text)), m_bound(std::move(bound)) {}

    QString m_text;
    QStringList m_bound;
};

// The format of a Sql() call taking these arguments (for helpers that pass a
// caller's format on, as std::format_string does).
template <class... Args>
using SqlFormat = format_detail::StatementFormat<std::type_identity_t<Args>...>;

template <class... Args>
QString Format(std::string_view format, const Args&... args)
{
    const format_detail::Arg packed[] = {format_detail::MakeArg(args)..., format_detail::Arg{}};
    return format_detail::FormatArgs(format, std::span(packed, sizeof...(Args)));
}

template <class... Args>
SqlStatement Sql(SqlFormat<Args...> format, const Args&... args)
{
    const format_detail::Arg packed[] = {format_detail::MakeArg(args)..., format_detail::Arg{}};
    return format_detail::StatementArgs(format.text, std::span(packed, sizeof...(Args)));
}

// The "s" suffix of counted texts: empty when n is 1.
inline const char* PluralSuffix(long long n) { return n == 1 ? "" : "s"; }

// Replaces every apostrophe by a backquote, as names are stored.
inline QString ApostrophesToBackquotes(QString text) { return text.replace(QChar('\''), QChar('`')); }
