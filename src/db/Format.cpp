#include "db/Format.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace format_detail {
namespace {

[[noreturn]] void Fail(std::string_view format, std::string_view why)
{
    throw std::logic_error("format \"" + std::string(format) + "\": " + std::string(why));
}

// Number conversions go through the C library so that rounding and padding
// are exactly printf's.
QString PrintfNumber(const Conversion& c, const Arg& arg)
{
    std::string f = "%";
    if (c.leftAlign) f += '-';
    if (c.zeroPad) f += '0';
    if (c.width >= 0) f += std::to_string(c.width);
    if (c.precision >= 0) f += "." + std::to_string(c.precision);
    f += c.type == 'f' ? "f" : "lld";
    auto print = [&](char* buffer, size_t size) {
        return c.type == 'f' ? std::snprintf(buffer, size, f.c_str(), arg.real)
                             : std::snprintf(buffer, size, f.c_str(), arg.integer);
    };
    char buffer[512];
    const int n = print(buffer, sizeof buffer);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof buffer) return QString::fromLatin1(buffer, n);
    std::string big(static_cast<size_t>(n) + 1, '\0');
    print(big.data(), big.size());
    return QString::fromLatin1(big.data(), n);
}

QString Pad(QString text, const Conversion& c)
{
    if (c.precision >= 0 && text.size() > c.precision) text.truncate(c.precision);
    if (c.width > text.size()) {
        const QString fill(c.width - text.size(), QChar(' '));
        text = c.leftAlign ? text + fill : fill + text;
    }
    return text;
}

// Fills format from args into text. With bound given (a statement), each
// quoted '%s' becomes a '?' without its quotes and its text goes to bound.
void Fill(std::string_view format, std::span<const Arg> args, QString& text, QStringList* bound)
{
    std::vector<Kind> kinds;
    kinds.reserve(args.size());
    for (const Arg& arg : args) kinds.push_back(arg.kind);
    if (const std::string_view why = Mismatch(format, kinds, bound != nullptr); !why.empty()) Fail(format, why);

    text.reserve(qsizetype(format.size()) + 16 * qsizetype(args.size()));
    size_t pos = 0;
    size_t next = 0;
    for (Conversion c = NextConversion(format, 0);; c = NextConversion(format, pos)) {
        const bool quoted = bound && IsQuoted(format, c, pos);
        const size_t literalEnd = quoted ? c.begin - 1 : c.begin;
        text += QString::fromUtf8(format.data() + pos, qsizetype(literalEnd - pos));
        if (c.begin >= format.size()) break;
        pos = quoted ? c.end + 1 : c.end;
        if (c.type == '%') {
            text += QChar('%');
            continue;
        }
        const Arg& arg = args[next++];
        switch (c.type) {
        case 'c':
            text += Pad(QString(QChar(char16_t(arg.integer))), c);
            break;
        case 's':
            if (quoted) {
                *bound << Pad(arg.text, c);
                text += QChar('?');
            } else {
                text += Pad(arg.text, c);
            }
            break;
        default:
            text += PrintfNumber(c, arg);
        }
    }
}

}  // namespace

QString FormatArgs(std::string_view format, std::span<const Arg> args)
{
    QString text;
    Fill(format, args, text, nullptr);
    return text;
}

SqlStatement StatementArgs(std::string_view format, std::span<const Arg> args)
{
    QString text;
    QStringList bound;
    Fill(format, args, text, &bound);
    return SqlStatement(std::move(text), std::move(bound));
}

void StatementFormatDoesNotFitItsArguments(std::string_view why) { throw std::logic_error(std::string(why)); }
void UnquotedPercentSTakesOnlyAProgramFragment(std::string_view why) { throw std::logic_error(std::string(why)); }

}  // namespace format_detail
