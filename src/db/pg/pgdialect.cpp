#include "db/pg/pgdialect.h"

#include "db/dialect.h"
#include "db/pg/pgschema.h"

#include <QStringList>
#include <vector>

namespace perlinex::db::pg {

namespace {

struct Token {
    enum Kind { Space, Word, Name, Text, Symbol } kind;
    QString text;
};

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Splits translated SQL (only '...' literals and "..." names left) into tokens.
std::vector<Token> tokenize(const QString& sql) {
    std::vector<Token> out;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql[i];
        qsizetype j = i + 1;
        Token::Kind kind = Token::Symbol;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            kind = c == QLatin1Char('\'') ? Token::Text : Token::Name;
            for (; j < n; ++j) {
                if (sql[j] != c)
                    continue;
                if (j + 1 < n && sql[j + 1] == c) {
                    ++j;
                    continue;
                }
                ++j;
                break;
            }
        } else if (c.isSpace()) {
            kind = Token::Space;
            while (j < n && sql[j].isSpace())
                ++j;
        } else if (isWordChar(c)) {
            kind = Token::Word;
            while (j < n && isWordChar(sql[j]))
                ++j;
        }
        out.push_back({kind, sql.mid(i, j - i)});
        i = j;
    }
    return out;
}

bool isWord(const Token& t, const char* word) {
    return t.kind == Token::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// The index of the next token that is not space after i, or tokens.size().
std::size_t nextSolid(const std::vector<Token>& tokens, std::size_t i) {
    ++i;
    while (i < tokens.size() && tokens[i].kind == Token::Space)
        ++i;
    return i;
}

QString unquotedName(const Token& t) {
    if (t.kind == Token::Name)
        return t.text.mid(1, t.text.size() - 2)
            .replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return t.text;
}

// One term of an ORDER BY: a plain (qualified) column of the collection ordered by its sort
// key, and nulls first going up, last going down, as the file orders them.
QString orderTerm(const std::vector<Token>& term) {
    std::vector<Token> solid;
    for (const Token& t : term)
        if (t.kind != Token::Space)
            solid.push_back(t);
    QString text;
    for (const Token& t : term)
        text += t.text;
    text = text.trimmed();
    if (solid.empty())
        return text;
    bool descending = false;
    std::size_t end = solid.size();
    if (isWord(solid.back(), "desc") || isWord(solid.back(), "asc")) {
        descending = isWord(solid.back(), "desc");
        --end;
    }
    for (const Token& t : solid)
        if (isWord(t, "nulls"))
            return text; // the query says where its nulls go
    const bool plainName = end == 1 || (end == 3 && solid[1].text == QLatin1String("."));
    const Token& name = solid[end - 1];
    if (plainName && (name.kind == Token::Word || name.kind == Token::Name) &&
        hasSortKey(unquotedName(name))) {
        text.clear();
        if (end == 3)
            text = solid[0].text + QLatin1Char('.');
        text += sortKeyColumnOf(unquotedName(name));
        if (descending)
            text += QStringLiteral(" DESC");
    }
    return text + (descending ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST"));
}

bool endsOrderBy(const Token& t) {
    for (const char* w : {"limit", "offset", "for", "union", "except", "intersect", "fetch"})
        if (isWord(t, w))
            return true;
    return t.kind == Token::Symbol && t.text == QLatin1String(";");
}

} // namespace

QString likeRegex(const QString& pattern) {
    const QList<uint> p = pattern.toUcs4();
    const auto escaped = [](uint c) {
        const QString s = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        // A backslash before anything but a letter or digit makes it literal.
        return c >= 0x80 || QChar::isLetterOrNumber(c) ? s : QLatin1Char('\\') + s;
    };
    QString out = QStringLiteral("^");
    for (qsizetype i = 0; i < p.size(); ++i) {
        const uint c = p[i];
        if (c == '*') {
            out += QStringLiteral(".*");
        } else if (c == '?') {
            out += QLatin1Char('.');
        } else if (c == '#') {
            out += QStringLiteral("[0-9]");
        } else if (c == '[') {
            qsizetype j = i + 1;
            const bool negated = j < p.size() && p[j] == '!';
            if (negated)
                ++j;
            const qsizetype start = j;
            while (j < p.size() && (p[j] != ']' || j == start))
                ++j;
            if (j >= p.size()) { // no closing bracket: a literal "["
                out += escaped(c);
                continue;
            }
            out += negated ? QStringLiteral("[^") : QStringLiteral("[");
            for (qsizetype k = start; k < j; ++k) {
                out += escaped(p[k]);
                if (k + 2 < j && p[k + 1] == '-') {
                    out += QLatin1Char('-') + escaped(p[k + 2]);
                    k += 2;
                }
            }
            out += QLatin1Char(']');
            i = j;
        } else {
            out += escaped(c);
        }
    }
    return out + QLatin1Char('$');
}

QString numberedPlaceholders(const QString& sql, int* count) {
    int n = 0;
    QString out;
    out.reserve(sql.size() + 8);
    for (const Token& t : tokenize(sql)) {
        if (t.kind == Token::Symbol && t.text == QLatin1String("?"))
            out += QStringLiteral("$%1").arg(++n);
        else
            out += t.text;
    }
    if (count)
        *count = n;
    return out;
}

QString translateForServer(const QString& sql) {
    std::vector<Token> tokens = tokenize(translateSql(sql));
    // The collection's tables and columns were made unquoted, so the server keeps their
    // names in lower case; a quoted name finds them only in that case.
    for (Token& t : tokens)
        if (t.kind == Token::Name)
            t.text = t.text.toLower();

    QString out;
    out.reserve(sql.size() + 32);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (isWord(t, "like")) {
            const std::size_t pattern = nextSolid(tokens, i);
            if (pattern < tokens.size() && tokens[pattern].kind == Token::Text) {
                // "x NOT LIKE p" becomes "x !~* r": the NOT already written goes.
                QString op = QStringLiteral("~*");
                qsizetype end = out.size();
                while (end > 0 && out[end - 1].isSpace())
                    --end;
                if (end >= 3 &&
                    out.mid(end - 3, 3).compare(QLatin1String("not"), Qt::CaseInsensitive) == 0 &&
                    (end == 3 || !isWordChar(out[end - 4]))) {
                    out.truncate(end - 3);
                    op = QStringLiteral("!~*");
                }
                QString body = tokens[pattern].text.mid(1, tokens[pattern].text.size() - 2);
                body.replace(QStringLiteral("''"), QStringLiteral("'"));
                out += QStringLiteral("%1 (%2 COLLATE \"%3\")")
                           .arg(op, quoteText(likeRegex(body)), QLatin1String(PatternCollation));
                i = pattern;
                continue;
            }
        }
        if (isWord(t, "order") && nextSolid(tokens, i) < tokens.size() &&
            isWord(tokens[nextSolid(tokens, i)], "by")) {
            const std::size_t by = nextSolid(tokens, i);
            for (std::size_t k = i; k <= by; ++k)
                out += tokens[k].text;
            QStringList terms;
            std::vector<Token> term;
            int depth = 0;
            std::size_t k = by + 1;
            for (; k < tokens.size(); ++k) {
                const Token& u = tokens[k];
                if (depth == 0 && endsOrderBy(u))
                    break;
                if (u.kind == Token::Symbol && u.text == QLatin1String("(")) {
                    ++depth;
                } else if (u.kind == Token::Symbol && u.text == QLatin1String(")")) {
                    if (depth == 0)
                        break;
                    --depth;
                } else if (depth == 0 && u.kind == Token::Symbol && u.text == QLatin1String(",")) {
                    terms << orderTerm(term);
                    term.clear();
                    continue;
                }
                term.push_back(u);
            }
            terms << orderTerm(term);
            out += QLatin1Char(' ') + terms.join(QStringLiteral(", ")) + QLatin1Char(' ');
            i = k - 1;
            continue;
        }
        out += t.text;
    }
    return out.trimmed();
}

} // namespace perlinex::db::pg
