#include "store/JetSql.h"

#include "store/DatabaseError.h"
#include "store/JetFunctions.h"

#include <QRegularExpression>

#include <vector>

namespace veritam::JetSql {

namespace {

enum class Kind { Space, Text, Word, Number, Other };

struct Token {
    Kind kind;
    QString text;
};

bool isWordStart(QChar c) {
    return c.isLetter() || c == u'_';
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

QString dateLiteral(const QString& inner) {
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d{1,4})-(\d{1,2})-(\d{1,2})(?:\s+(\d{1,2})[.:](\d{1,2})(?:[.:](\d{1,2}))?)?\s*$)"));
    const auto m = form.match(inner);
    if (!m.hasMatch())
        throw SqlError(
            QStringLiteral("Syntax error in date in query expression '#%1#'.").arg(inner), 1);
    auto part = [&](int i, int width) {
        return m.captured(i).isEmpty() ? QString(width, u'0')
                                       : m.captured(i).rightJustified(width, u'0');
    };
    QString iso = part(1, 4) + u'-' + part(2, 2) + u'-' + part(3, 2);
    iso += u' ' + part(4, 2) + u':' + part(5, 2) + u':' + part(6, 2);
    return u'\'' + iso + u'\'';
}

std::vector<Token> tokenize(const QString& sql) {
    std::vector<Token> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto closing = [&](QChar close, const char* what) {
        const qsizetype start = i++;
        for (; i < n; ++i) {
            if (sql[i] == close) {
                // A doubled quote inside a literal stands for one quote.
                if (close == u'\'' && i + 1 < n && sql[i + 1] == u'\'') {
                    ++i;
                    continue;
                }
                ++i;
                return sql.mid(start, i - start);
            }
        }
        throw SqlError(
            QStringLiteral("Unterminated %1 in query expression.").arg(QString::fromLatin1(what)),
            1);
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            const qsizetype start = i;
            while (i < n && sql[i].isSpace())
                ++i;
            tokens.push_back({Kind::Space, sql.mid(start, i - start)});
        } else if (c == u'\'') {
            tokens.push_back({Kind::Text, closing(u'\'', "text literal")});
        } else if (c == u'"') {
            tokens.push_back({Kind::Other, closing(u'"', "quoted name")});
        } else if (c == u'`') {
            tokens.push_back({Kind::Word, closing(u'`', "quoted name")});
        } else if (c == u'[') {
            tokens.push_back({Kind::Word, closing(u']', "quoted name")});
        } else if (c == u'#') {
            const QString raw = closing(u'#', "date literal");
            tokens.push_back({Kind::Text, dateLiteral(raw.mid(1, raw.size() - 2))});
        } else if (isWordStart(c)) {
            const qsizetype start = i;
            while (i < n && isWordChar(sql[i]))
                ++i;
            tokens.push_back({Kind::Word, sql.mid(start, i - start)});
        } else if (c.isDigit()) {
            const qsizetype start = i;
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == u'.'))
                ++i;
            tokens.push_back({Kind::Number, sql.mid(start, i - start)});
        } else if (c == u':' && i + 1 < n && isWordStart(sql[i + 1])) {
            const qsizetype start = i++;
            while (i < n && isWordChar(sql[i]))
                ++i;
            tokens.push_back({Kind::Other, sql.mid(start, i - start)});
        } else {
            tokens.push_back({Kind::Other, QString(c)});
            ++i;
        }
    }
    return tokens;
}

bool is(const Token& t, QStringView text) {
    return t.text.compare(text, Qt::CaseInsensitive) == 0;
}

} // namespace

QString toSqlite(const QString& jetSql) {
    const std::vector<Token> tokens = tokenize(jetSql);
    const auto count = static_cast<std::ptrdiff_t>(tokens.size());

    auto nextSignificant = [&](std::ptrdiff_t from) -> const Token* {
        for (std::ptrdiff_t j = from; j < count; ++j)
            if (tokens[j].kind != Kind::Space)
                return &tokens[j];
        return nullptr;
    };

    // Tells of each "(" whether it opens a CStr call, so that its ")" counts as text.
    std::vector<bool> openParens;
    bool lastWasText = false; // the last significant token ends a text operand
    const Token* previous = nullptr;

    QString out;
    out.reserve(jetSql.size() + 16);
    // Jet sorts texts by the language's rules: each ORDER BY term gets the Czech collation,
    // written after the term and before the blanks that follow it.
    bool orderBy = false;
    int orderDepth = 0;
    bool termOpen = false;
    const auto closeTerm = [&] {
        if (!termOpen)
            return;
        qsizetype end = out.size();
        while (end > 0 && out[end - 1].isSpace())
            --end;
        out.insert(end, QStringLiteral(" COLLATE ") + QLatin1String(JetFunctions::kCzechCollation));
        termOpen = false;
    };
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        const Token& t = tokens[i];
        if (t.kind == Kind::Space) {
            out += t.text;
            continue;
        }
        if (orderBy) {
            const bool atTop = orderDepth == 0;
            bool ends = false; // the token ends a term instead of being part of one
            if (t.text == u"(") {
                ++orderDepth;
            } else if (t.text == u")" && !atTop) {
                --orderDepth;
            } else if (atTop && (t.text == u")" || t.text == u";" || is(t, u"LIMIT"))) {
                closeTerm(); // a subquery's or the statement's end
                orderBy = false;
                ends = true;
            } else if (atTop && (t.text == u"," || is(t, u"ASC") || is(t, u"DESC"))) {
                closeTerm();
                ends = true;
            }
            if (!ends)
                termOpen = true;
        }
        if (t.kind == Kind::Word && is(t, u"BY") && previous && is(*previous, u"ORDER")) {
            orderBy = true;
            orderDepth = 0;
            termOpen = false;
        }
        bool endsText = false;
        if (t.kind == Kind::Text) {
            out += t.text;
            endsText = true;
        } else if (t.kind == Kind::Word && is(t, u"isnull")) {
            const Token* next = nextSignificant(i + 1);
            out += (next && next->text == u"(") ? QStringLiteral("jet_isnull") : t.text;
        } else if (t.text == u"(") {
            openParens.push_back(previous && previous->kind == Kind::Word &&
                                 is(*previous, u"CStr"));
            out += t.text;
        } else if (t.text == u")") {
            endsText = !openParens.empty() && openParens.back();
            if (!openParens.empty())
                openParens.pop_back();
            out += t.text;
        } else if (t.text == u"&") {
            out += QStringLiteral("||");
        } else if (t.text == u"+") {
            const Token* next = nextSignificant(i + 1);
            const bool nextIsText = next && (next->kind == Kind::Text ||
                                             (next->kind == Kind::Word && is(*next, u"CStr")));
            out += (lastWasText || nextIsText) ? QStringLiteral("||") : t.text;
        } else {
            out += t.text;
        }
        lastWasText = endsText;
        previous = &t;
    }
    closeTerm();
    return out;
}

} // namespace veritam::JetSql
