#include "db/ServerDialect.h"

#include <QRegularExpression>

#include <functional>

namespace {

// The fold of A to Z onto a to z, as an SQL expression of expr.
QString Folded(const QString& expr)
{
    return QStringLiteral("translate(%1, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')").arg(expr);
}

// The statement with its quoted literals replaced by markers "\x01n\x01",
// so that rewriting never looks inside one, and the literals to put back.
QString MaskLiterals(const QString& text, QStringList& literals)
{
    QString masked;
    masked.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] != QChar('\'')) {
            masked += text[i++];
            continue;
        }
        qsizetype end = i + 1;
        while (end < text.size()) {
            if (text[end] == QChar('\'') && end + 1 < text.size() && text[end + 1] == QChar('\''))
                end += 2;
            else if (text[end] == QChar('\''))
                break;
            else
                ++end;
        }
        literals << text.mid(i, end + 1 - i);
        masked += QChar(1) + QString::number(literals.size() - 1) + QChar(1);
        i = end + 1;
    }
    return masked;
}

// The text with every match of pattern from position from on replaced by
// what replacement makes of it.
QString ReplaceMatches(const QString& text, const QRegularExpression& pattern,
                       const std::function<QString(const QRegularExpressionMatch&)>& replacement, qsizetype from = 0)
{
    QString out = text.left(from);
    qsizetype last = from;
    for (auto it = pattern.globalMatch(text, from); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last) + replacement(m);
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

QString UnmaskLiterals(const QString& masked, const QStringList& literals)
{
    thread_local const QRegularExpression marker(QStringLiteral("\\x01(\\d+)\\x01"));
    return ReplaceMatches(masked, marker,
                          [&](const QRegularExpressionMatch& m) { return literals.value(m.captured(1).toInt()); });
}

// "[Group]" -> "\"group\"".
QString QuoteBracketedNames(const QString& text)
{
    thread_local const QRegularExpression bracketed(QStringLiteral("\\[([A-Za-z_][A-Za-z0-9_]*)\\]"));
    return ReplaceMatches(text, bracketed, [](const QRegularExpressionMatch& m) {
        return QChar('"') + m.captured(1).toLower() + QChar('"');
    });
}

// Column = text and column <> text after the first WHERE, the text bound or
// a literal, compare folded texts.
QString FoldComparisons(const QString& text)
{
    thread_local const QRegularExpression where(QStringLiteral("\\bwhere\\b"), QRegularExpression::CaseInsensitiveOption);
    thread_local const QRegularExpression comparison(QStringLiteral(
        "((?:\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_]*)(?:\\.[A-Za-z_][A-Za-z0-9_]*)?)\\s*(=|<>)\\s*(\\?|\\x01\\d+\\x01)"));
    const QRegularExpressionMatch w = where.match(text);
    if (!w.hasMatch()) return text;
    return ReplaceMatches(
        text, comparison,
        [](const QRegularExpressionMatch& m) {
            return Folded(m.captured(1)) + QChar(' ') + m.captured(2) + QChar(' ') + Folded(m.captured(3));
        },
        w.capturedEnd());
}

// The terms of each ORDER BY that name a text column sort by the folded text.
QString FoldOrderings(const QString& text, const QStringList& textColumns)
{
    thread_local const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    thread_local const QRegularExpression term(
        QStringLiteral(
            "^(\\s*)((?:\"[^\"]+\"|[A-Za-z_][A-Za-z0-9_]*)\\.)?([A-Za-z_][A-Za-z0-9_]*)(\\s+(?:asc|desc))?(\\s*)$"),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    for (auto it = orderBy.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // The list runs to the end of its (sub)statement.
        qsizetype end = m.capturedEnd();
        int depth = 0;
        for (; end < text.size(); ++end) {
            if (text[end] == QChar('('))
                ++depth;
            else if (text[end] == QChar(')') && depth-- == 0)
                break;
        }
        thread_local const QRegularExpression limit(QStringLiteral("\\blimit\\b"), QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch l = limit.match(text, m.capturedEnd());
        if (l.hasMatch() && l.capturedStart() < end) end = l.capturedStart();
        out += text.mid(last, m.capturedEnd() - last);
        QStringList terms;
        for (const QString& part : text.mid(m.capturedEnd(), end - m.capturedEnd()).split(QChar(','))) {
            const QRegularExpressionMatch t = term.match(part);
            if (t.hasMatch() && textColumns.contains(t.captured(3), Qt::CaseInsensitive))
                terms << t.captured(1) + Folded(t.captured(2) + t.captured(3)) + t.captured(4) + t.captured(5);
            else
                terms << part;
        }
        out += terms.join(QChar(','));
        last = end;
    }
    return out + text.mid(last);
}

}  // namespace

QString ServerStatementText(const QString& text, const QStringList& textColumns)
{
    QStringList literals;
    QString masked = MaskLiterals(text, literals);
    masked = QuoteBracketedNames(masked);
    masked = FoldComparisons(masked);
    masked = FoldOrderings(masked, textColumns);
    return UnmaskLiterals(masked, literals);
}
