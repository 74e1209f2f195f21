#include "db/Format.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace format_detail {
namespace {

struct Placeholder {
    bool leftAlign = false;
    bool zeroPad = false;
    int width = -1;
    int precision = -1;
    char conversion = 0;
};

[[noreturn]] void Fail(std::string_view format, const std::string& why)
{
    throw std::logic_error("format \"" + std::string(format) + "\": " + why);
}

// Number conversions go through the C library so that rounding and padding
// are exactly printf's.
QString PrintfNumber(const Placeholder& placeholder, const Arg& arg)
{
    std::string f = "%";
    if (placeholder.leftAlign) f += '-';
    if (placeholder.zeroPad) f += '0';
    if (placeholder.width >= 0) f += std::to_string(placeholder.width);
    if (placeholder.precision >= 0) f += "." + std::to_string(placeholder.precision);
    char buffer[512];
    int n = 0;
    if (placeholder.conversion == 'f') {
        f += 'f';
        n = std::snprintf(buffer, sizeof buffer, f.c_str(), arg.real);
    } else {
        f += "lld";
        n = std::snprintf(buffer, sizeof buffer, f.c_str(), arg.integer);
    }
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof buffer) return QString::fromLatin1(buffer, n);
    std::string big(static_cast<size_t>(n) + 1, '\0');
    if (placeholder.conversion == 'f')
        std::snprintf(big.data(), big.size(), f.c_str(), arg.real);
    else
        std::snprintf(big.data(), big.size(), f.c_str(), arg.integer);
    return QString::fromLatin1(big.data(), n);
}

QString Pad(QString text, const Placeholder& placeholder)
{
    if (placeholder.precision >= 0 && text.size() > placeholder.precision) text.truncate(placeholder.precision);
    if (placeholder.width > text.size()) {
        const QString fill(placeholder.width - text.size(), QChar(' '));
        text = placeholder.leftAlign ? text + fill : fill + text;
    }
    return text;
}

}  // namespace

QString FormatArgs(std::string_view format, std::span<const Arg> args, bool quoteLiterals)
{
    QString out;
    out.reserve(qsizetype(format.size()) + 16 * qsizetype(args.size()));
    size_t next = 0;
    size_t i = 0;
    std::string literal;
    auto flushLiteral = [&] {
        if (!literal.empty()) {
            out += QString::fromUtf8(literal.data(), qsizetype(literal.size()));
            literal.clear();
        }
    };
    while (i < format.size()) {
        const char ch = format[i];
        if (ch != '%') {
            literal += ch;
            ++i;
            continue;
        }
        const size_t start = i++;
        if (i < format.size() && format[i] == '%') {
            literal += '%';
            ++i;
            continue;
        }
        Placeholder placeholder;
        for (; i < format.size(); ++i) {
            if (format[i] == '-') placeholder.leftAlign = true;
            else if (format[i] == '0') placeholder.zeroPad = true;
            else break;
        }
        auto readNumber = [&]() {
            int value = 0;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9') value = value * 10 + (format[i++] - '0');
            return value;
        };
        if (i < format.size() && format[i] >= '1' && format[i] <= '9') placeholder.width = readNumber();
        if (i < format.size() && format[i] == '.') {
            ++i;
            placeholder.precision = readNumber();
        }
        while (i < format.size() && (format[i] == 'l' || format[i] == 'h')) ++i;
        if (i >= format.size()) Fail(format, "incomplete conversion at the end");
        placeholder.conversion = format[i++];
        if (next >= args.size()) Fail(format, "more conversions than arguments");
        const Arg& arg = args[next++];
        flushLiteral();
        switch (placeholder.conversion) {
        case 'd':
        case 'i':
            if (arg.kind != Arg::Kind::Integer) Fail(format, "%d needs an integer");
            out += PrintfNumber(placeholder, arg);
            break;
        case 'f':
            if (arg.kind != Arg::Kind::Real) Fail(format, "%f needs a floating-point value");
            out += PrintfNumber(placeholder, arg);
            break;
        case 'c':
            if (arg.kind != Arg::Kind::Character && arg.kind != Arg::Kind::Integer)
                Fail(format, "%c needs a character");
            out += Pad(QString(QChar(char16_t(arg.integer))), placeholder);
            break;
        case 's': {
            if (arg.kind != Arg::Kind::Text) Fail(format, "%s needs a text");
            const bool quoted = quoteLiterals && start > 0 && format[start - 1] == '\'' && i < format.size() &&
                                format[i] == '\'';
            if (quoted) {
                QString text = arg.text;
                out += Pad(text.replace(QChar('\''), QStringLiteral("''")), placeholder);
            } else {
                out += Pad(arg.text, placeholder);
            }
            break;
        }
        default:
            Fail(format, std::string("unsupported conversion %") + placeholder.conversion);
        }
    }
    flushLiteral();
    if (next != args.size()) Fail(format, "more arguments than conversions");
    return out;
}

}  // namespace format_detail
