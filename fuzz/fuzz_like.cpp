// LIKE of the dialect as SQLite calls it, on any pattern, texts and escape
// (the input: pattern, byte 0, up to three texts a line each, byte 0, escape),
// against the definition matched the slow way: code points (a malformed byte
// sequence as U+FFFD), '%' any run, '_' one character, the escape character
// making the next one literal (nothing after it: no match), every character
// compared by ICU's simple case folding. So a pattern without wildcards
// matches exactly the texts equal to it case-insensitively.

#include "Connection.h"
#include "Dialect.h"
#include "FuzzCheck.h"

#include <QTemporaryDir>
#include <memory>
#include <sqlite3.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <vector>

namespace {

using namespace kb;

constexpr int kTexts = 3;

struct Database {
    QTemporaryDir dir;
    std::unique_ptr<Connection> connection;
    sqlite3_stmt* plain = nullptr;
    sqlite3_stmt* escaped = nullptr;

    Database() {
        connection = std::make_unique<Connection>(dir.filePath(QStringLiteral("like.db")), Connection::Mode::CreateNew);
        dialect::install(*connection);
        // Several rows, so that the pattern read for the first one serves the others.
        const char* rows = " FROM (SELECT ?2 AS x UNION ALL SELECT ?3 UNION ALL SELECT ?4)";
        prepare(std::string("SELECT like(?1, x)") + rows, &plain);
        prepare(std::string("SELECT like(?1, x, ?5)") + rows, &escaped);
    }
    ~Database() {
        sqlite3_finalize(plain);
        sqlite3_finalize(escaped);
    }
    void prepare(const std::string& sql, sqlite3_stmt** st) {
        fuzz::check(sqlite3_prepare_v2(connection->handle(), sql.c_str(), -1, st, nullptr) == SQLITE_OK,
                    "the LIKE statement prepares");
    }
};

std::vector<UChar32> codePoints(std::string_view s) {
    std::vector<UChar32> out;
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    const auto n = int32_t(s.size());
    for (int32_t i = 0; i < n;) {
        UChar32 c;
        U8_NEXT_OR_FFFD(p, i, n, c);
        out.push_back(c);
    }
    return out;
}

// The definition, by dynamic programming: can[i][j] when pattern[i..] matches text[j..].
bool reference(const std::vector<UChar32>& pattern, const std::vector<UChar32>& text, UChar32 escape) {
    struct Element {
        int kind; // 0 literal, 1 any run, 2 one character
        UChar32 c;
    };
    std::vector<Element> elements;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == escape) {
            if (++i == pattern.size())
                return false;
            elements.push_back({0, pattern[i]});
        } else {
            elements.push_back({pattern[i] == '%' ? 1 : pattern[i] == '_' ? 2 : 0, pattern[i]});
        }
    }
    const size_t pn = elements.size(), tn = text.size();
    std::vector<char> can((pn + 1) * (tn + 1), 0);
    auto at = [&](size_t i, size_t j) -> char& { return can[i * (tn + 1) + j]; };
    at(pn, tn) = 1;
    for (size_t i = pn; i-- > 0;) {
        for (size_t j = tn + 1; j-- > 0;) {
            const Element& e = elements[i];
            if (e.kind == 1)
                at(i, j) = at(i + 1, j) || (j < tn && at(i, j + 1));
            else if (j < tn &&
                     (e.kind == 2 || u_foldCase(e.c, U_FOLD_CASE_DEFAULT) == u_foldCase(text[j], U_FOLD_CASE_DEFAULT)))
                at(i, j) = at(i + 1, j + 1);
        }
    }
    return at(0, 0);
}

void bind(sqlite3_stmt* st, int index, std::string_view text) {
    // A null pointer would bind NULL rather than the empty text.
    sqlite3_bind_text(st, index, text.empty() ? "" : text.data(), int(text.size()), SQLITE_TRANSIENT);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Database db;
    const auto [pattern, rest] = fuzz::splitAtZero(fuzz::bytes(data, size));
    const bool hasEscape = rest.find('\0') != std::string_view::npos;
    const auto [textLines, escape] = fuzz::splitAtZero(rest);

    std::string_view texts[kTexts];
    std::string_view left = textLines;
    for (int i = 0; i < kTexts; ++i) {
        const size_t end = left.find('\n');
        texts[i] = left.substr(0, end);
        left = end == std::string_view::npos ? std::string_view() : left.substr(end + 1);
    }

    sqlite3_stmt* st = hasEscape ? db.escaped : db.plain;
    bind(st, 1, pattern);
    for (int i = 0; i < kTexts; ++i)
        bind(st, 2 + i, texts[i]);
    const std::vector<UChar32> escapeChars = codePoints(escape);
    if (hasEscape)
        bind(st, 5, escape);
    const bool escapeValid = !hasEscape || escapeChars.size() == 1;

    const std::vector<UChar32> patternChars = codePoints(pattern);
    for (int i = 0; i < kTexts; ++i) {
        const int rc = sqlite3_step(st);
        if (!escapeValid) {
            fuzz::check(rc == SQLITE_ERROR, "an ESCAPE of other than one character fails the statement");
            break;
        }
        fuzz::check(rc == SQLITE_ROW, "LIKE gives a row for each text",
                    QString::fromUtf8(sqlite3_errmsg(db.connection->handle())));
        const std::vector<UChar32> textChars = codePoints(texts[i]);
        if ((patternChars.size() + 1) * (textChars.size() + 1) > 200000)
            continue; // the reference would take too long
        const bool expected = reference(patternChars, textChars, hasEscape ? escapeChars[0] : -1);
        fuzz::check((sqlite3_column_int(st, 0) == 1) == expected, "LIKE matches as defined",
                    fuzz::utf8(pattern) + QLatin1String(" LIKE ") + fuzz::utf8(texts[i]));
    }
    sqlite3_reset(st);
    return 0;
}
