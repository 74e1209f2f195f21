#pragma once
// printf-style formatting without C varargs.
//
// Every statement and every counted or padded text of the program is built
// from a printf-style format string ("%d Player%s Listed",
// "select id from Heat where tournamentID = %d and heatNum = %d"). Format()
// fills such a string from typed arguments; a conversion that does not fit
// its argument, or a wrong number of arguments, throws std::logic_error
// instead of reading garbage. The result grows as needed, so nothing is ever
// cut or overrun.
//
// Supported: %d %i (integers), %s (text), %f with precision (%.2f, %.3f),
// %c (a character, or an integer character code), %%; flags '-' and '0',
// a width and a precision ("%-30.30s", "%4s", "%-7s").
//
// Sql() is Format() for statements: a text placed between the single quotes
// of '%s' has each single quote doubled, so no typed text can end the
// literal.

#include <QString>

#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace format_detail {

struct Arg {
    enum class Kind { Integer, Real, Text, Character };
    Kind kind;
    long long integer = 0;
    double real = 0.0;
    QString text;
};

template <class T>
Arg MakeArg(const T& value)
{
    using V = std::decay_t<T>;
    if constexpr (std::is_same_v<V, bool>) {
        static_assert(!std::is_same_v<V, bool>, "format a bool as an int explicitly");
    } else if constexpr (std::is_same_v<V, char>) {
        return Arg{Arg::Kind::Character, static_cast<unsigned char>(value), 0.0, {}};
    } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
        return Arg{Arg::Kind::Integer, static_cast<long long>(value), 0.0, {}};
    } else if constexpr (std::is_floating_point_v<V>) {
        return Arg{Arg::Kind::Real, 0, static_cast<double>(value), {}};
    } else if constexpr (std::is_same_v<V, QString>) {
        return Arg{Arg::Kind::Text, 0, 0.0, value};
    } else if constexpr (std::is_same_v<V, std::string> || std::is_same_v<V, std::string_view>) {
        return Arg{Arg::Kind::Text, 0, 0.0, QString::fromUtf8(value.data(), qsizetype(value.size()))};
    } else if constexpr (std::is_convertible_v<V, const char*>) {
        return Arg{Arg::Kind::Text, 0, 0.0, QString::fromUtf8(static_cast<const char*>(value))};
    } else {
        static_assert(sizeof(V) == 0, "unsupported format argument type");
    }
}

QString FormatArgs(std::string_view format, std::span<const Arg> args, bool quoteLiterals);

}  // namespace format_detail

template <class... Args>
QString Format(std::string_view format, const Args&... args)
{
    const format_detail::Arg packed[] = {format_detail::MakeArg(args)..., format_detail::Arg{}};
    return format_detail::FormatArgs(format, std::span(packed, sizeof...(Args)), false);
}

template <class... Args>
QString Sql(std::string_view format, const Args&... args)
{
    const format_detail::Arg packed[] = {format_detail::MakeArg(args)..., format_detail::Arg{}};
    return format_detail::FormatArgs(format, std::span(packed, sizeof...(Args)), true);
}

// The "s" suffix of counted texts: empty when n is 1.
inline const char* PluralSuffix(long long n) { return n == 1 ? "" : "s"; }

// Replaces every apostrophe by a backquote, as names are stored.
inline QString ApostrophesToBackquotes(QString text) { return text.replace(QChar('\''), QChar('`')); }
