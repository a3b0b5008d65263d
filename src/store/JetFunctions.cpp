#include "store/JetFunctions.h"

#include "store/DatabaseError.h"

#include <QChar>
#include <QCollator>
#include <QLocale>
#include <QString>

#include <sqlite3.h>

#include <cmath>
#include <vector>

namespace veritam::JetFunctions {

namespace {

char32_t fold(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// Decodes UTF-8 as SQLite hands it over (always valid) into folded code points.
void decodeFolded(const unsigned char* s, int n, std::vector<char32_t>& out) {
    out.clear();
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n;) {
        char32_t c = s[i];
        int extra = 0;
        if (c >= 0xF0) {
            c &= 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            c &= 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            c &= 0x1F;
            extra = 1;
        }
        ++i;
        for (; extra > 0 && i < n; --extra, ++i)
            c = (c << 6) | (s[i] & 0x3F);
        out.push_back(fold(c));
    }
}

struct Pattern {
    std::vector<char32_t> chars;
    std::vector<bool> literal; // true where the character was escaped
};

constexpr char32_t kAny = U'%';
constexpr char32_t kOne = U'_';

Pattern compile(const unsigned char* s, int n, char32_t escape, bool hasEscape) {
    std::vector<char32_t> raw;
    decodeFolded(s, n, raw);
    Pattern p;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (hasEscape && raw[i] == escape && i + 1 < raw.size()) {
            p.chars.push_back(raw[++i]);
            p.literal.push_back(true);
        } else {
            p.chars.push_back(raw[i]);
            p.literal.push_back(false);
        }
    }
    return p;
}

// Wildcard match with one remembered "%" position: linear for the patterns used here.
bool matches(const Pattern& p, const std::vector<char32_t>& t) {
    std::size_t pi = 0, ti = 0, starP = SIZE_MAX, starT = 0;
    while (ti < t.size()) {
        if (pi < p.chars.size() && !p.literal[pi] && p.chars[pi] == kAny) {
            starP = pi++;
            starT = ti;
        } else if (pi < p.chars.size() &&
                   ((!p.literal[pi] && p.chars[pi] == kOne) || p.chars[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (starP != SIZE_MAX) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.chars.size() && !p.literal[pi] && p.chars[pi] == kAny)
        ++pi;
    return pi == p.chars.size();
}

void deletePattern(void* p) {
    delete static_cast<Pattern*>(p);
}

// like(pattern, text [, escape]) — SQLite's argument order for "text LIKE pattern".
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL ||
        (argc == 3 && sqlite3_value_type(argv[2]) == SQLITE_NULL)) {
        sqlite3_result_null(ctx);
        return;
    }
    char32_t escape = 0;
    bool hasEscape = false;
    if (argc == 3) {
        std::vector<char32_t> esc;
        decodeFolded(sqlite3_value_text(argv[2]), sqlite3_value_bytes(argv[2]), esc);
        if (esc.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = esc[0];
        hasEscape = true;
    }
    auto* pattern = static_cast<Pattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        const unsigned char* ps = sqlite3_value_text(argv[0]);
        const int pn = sqlite3_value_bytes(argv[0]);
        // Owned by SQLite from here on, which frees it with deletePattern.
        sqlite3_set_auxdata(ctx, 0, new Pattern(compile(ps, pn, escape, hasEscape)), deletePattern);
        pattern = static_cast<Pattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            const Pattern once = compile(ps, pn, escape, hasEscape);
            std::vector<char32_t> text;
            decodeFolded(sqlite3_value_text(argv[1]), sqlite3_value_bytes(argv[1]), text);
            sqlite3_result_int(ctx, matches(once, text) ? 1 : 0);
            return;
        }
    }
    thread_local std::vector<char32_t> text;
    decodeFolded(sqlite3_value_text(argv[1]), sqlite3_value_bytes(argv[1]), text);
    sqlite3_result_int(ctx, matches(*pattern, text) ? 1 : 0);
}

// CStr(x): a number as decimal digits without grouping; a text unchanged.
void cstrFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER: {
        const QByteArray digits = QByteArray::number(sqlite3_value_int64(argv[0]));
        sqlite3_result_text(ctx, digits.constData(), static_cast<int>(digits.size()),
                            SQLITE_TRANSIENT);
        return;
    }
    case SQLITE_FLOAT: {
        const double d = sqlite3_value_double(argv[0]);
        QByteArray digits;
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15)
            digits = QByteArray::number(static_cast<qlonglong>(d));
        else
            digits = QByteArray::number(d, 'g', 15);
        sqlite3_result_text(ctx, digits.constData(), static_cast<int>(digits.size()),
                            SQLITE_TRANSIENT);
        return;
    }
    default:
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
}

void isnullFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? 1 : 0);
}

// Texts in the order of the Czech language (ICU, through Qt): "Běchovice, Břevnov, Bubeneč".
int czechCollation(void*, int leftBytes, const void* left, int rightBytes, const void* right) {
    thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const QString a = QString::fromUtf8(static_cast<const char*>(left), leftBytes);
    const QString b = QString::fromUtf8(static_cast<const char*>(right), rightBytes);
    const int order = collator.compare(a, b);
    // Texts the language holds equal still have one order, so that sorting is stable.
    return order != 0 ? order : a.compare(b);
}

void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK)
        throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)), rc);
}

} // namespace

void registerAll(sqlite3* db) {
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    check(db,
          sqlite3_create_function(db, "CStr", 1, flags, nullptr, cstrFunction, nullptr, nullptr));
    check(db, sqlite3_create_function(db, "jet_isnull", 1, flags, nullptr, isnullFunction, nullptr,
                                      nullptr));
    check(db,
          sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr));
    check(db,
          sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr));
    check(db, sqlite3_create_collation(db, kCzechCollation, SQLITE_UTF8, nullptr, czechCollation));
}

} // namespace veritam::JetFunctions
