// LIKE of the dialect: '%' any run of characters (the empty one too), '_'
// exactly one character, letters compared by simple case folding, ESCAPE for
// a literal '%' or '_'.

#include "DialectFunctions.h"

#include <cstdint>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <vector>

namespace kb::dialect::functions {
namespace {

inline UChar32 foldCase(UChar32 c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

// A LIKE pattern read once per statement (SQLite keeps it with the
// statement while the pattern argument stays the same): literal characters
// case-folded, '%' runs collapsed, the escape character applied.
struct LikePattern {
    struct Element {
        enum class Kind : uint8_t { Literal, AnyRun, One } kind;
        UChar32 c;
    };
    std::vector<Element> elements;
    UChar32 escape = -1;
    bool matchesNothing = false; // ends in an escape character with nothing after it

    LikePattern(const uint8_t* p, int32_t n, UChar32 esc) : escape(esc) {
        elements.reserve(size_t(n));
        int32_t i = 0;
        while (i < n) {
            UChar32 c;
            U8_NEXT_OR_FFFD(p, i, n, c);
            if (c == esc) {
                if (i >= n) {
                    matchesNothing = true;
                    return;
                }
                U8_NEXT_OR_FFFD(p, i, n, c);
                elements.push_back({Element::Kind::Literal, foldCase(c)});
            } else if (c == '%') {
                if (elements.empty() || elements.back().kind != Element::Kind::AnyRun)
                    elements.push_back({Element::Kind::AnyRun, 0});
            } else if (c == '_') {
                elements.push_back({Element::Kind::One, 0});
            } else {
                elements.push_back({Element::Kind::Literal, foldCase(c)});
            }
        }
    }

    // Against UTF-8 text t. Iterative: on a mismatch the match resumes after
    // the last '%', which takes one more text character; that is enough, as a
    // later '%' can absorb anything an earlier one could.
    bool matches(const uint8_t* t, int32_t tn) const {
        if (matchesNothing)
            return false;
        const size_t pn = elements.size();
        size_t pi = 0;
        int32_t ti = 0;
        size_t starP = SIZE_MAX; // pattern position after the last '%'
        int32_t starT = 0;       // where the text resumes when that '%' takes one more character
        while (true) {
            if (pi < pn) {
                const Element& e = elements[pi];
                if (e.kind == Element::Kind::AnyRun) {
                    if (pi + 1 == pn)
                        return true;
                    starP = ++pi;
                    starT = ti;
                    continue;
                }
                if (ti < tn) {
                    int32_t next = ti;
                    UChar32 tc;
                    U8_NEXT_OR_FFFD(t, next, tn, tc);
                    if (e.kind == Element::Kind::One || foldCase(tc) == e.c) {
                        ti = next;
                        ++pi;
                        continue;
                    }
                }
            } else if (ti >= tn) {
                return true;
            }
            if (starP == SIZE_MAX || starT >= tn)
                return false;
            U8_FWD_1(t, starT, tn);
            ti = starT;
            pi = starP;
        }
    }
};

void deleteLikePattern(void* p) {
    delete static_cast<LikePattern*>(p);
}

} // namespace

// like(pattern, text [, escape]), as SQLite calls it for "text LIKE pattern":
// '%' any run of characters (the empty one too), '_' exactly one character,
// letters compared by simple case folding.
void like(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    UChar32 esc = -1;
    if (argc == 3) {
        const auto* e = reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[2]));
        const int32_t eBytes = sqlite3_value_bytes(argv[2]);
        int32_t i = 0;
        if (e && eBytes > 0)
            U8_NEXT_OR_FFFD(e, i, eBytes, esc);
        if (eBytes == 0 || i != eBytes) {
            fail(ctx, "ESCAPE в LIKE должен быть ровно одним символом");
            return;
        }
    }
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern || pattern->escape != esc) {
        const auto* p = reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[0]));
        const int32_t pn = sqlite3_value_bytes(argv[0]);
        if (!p) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
        if (pn > sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1)) {
            fail(ctx, "Слишком длинный образец LIKE");
            return;
        }
        pattern = new LikePattern(p, pn, esc);
        // SQLite owns it from here on (and deletes it at once when it cannot keep it).
        sqlite3_set_auxdata(ctx, 0, pattern, deleteLikePattern);
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            // Not kept (a pattern that changes from row to row): match with a fresh copy.
            const LikePattern once(p, pn, esc);
            sqlite3_result_int(ctx, once.matches(reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[1])),
                                                 sqlite3_value_bytes(argv[1]))
                                        ? 1
                                        : 0);
            return;
        }
    }
    const auto* text = reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[1]));
    if (!text) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    sqlite3_result_int(ctx, pattern->matches(text, sqlite3_value_bytes(argv[1])) ? 1 : 0);
}

} // namespace kb::dialect::functions
