// The dialect's LIKE as SQLite calls it (input: pattern, byte 0, up to three texts a line each, byte 0, escape) against
// its definition: code points (a malformed sequence as U+FFFD), '%' any run, '_' one character, the escape making the
// next one literal (nothing after it: no match), ICU's simple case folding. An ESCAPE not of one character fails.

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

using StatementPtr = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// Several rows, so that the pattern read for the first one serves the others.
struct Database {
    QTemporaryDir dir;
    sql::Connection connection{dir.filePath(QStringLiteral("like.db")), sql::Connection::Mode::CreateNew};
    StatementPtr plain{nullptr, &sqlite3_finalize}, escaped{nullptr, &sqlite3_finalize};

    Database() {
        dialect::install(connection);
        plain = prepare(""), escaped = prepare(", ?5");
    }
    StatementPtr prepare(const std::string& escape) {
        const std::string sql =
            "SELECT like(?1, x" + escape + ") FROM (SELECT ?2 AS x UNION ALL SELECT ?3 UNION ALL SELECT ?4)";
        sqlite3_stmt* st = nullptr;
        fuzz::check(sqlite3_prepare_v2(connection.handle(), sql.c_str(), -1, &st, nullptr) == SQLITE_OK,
                    "the LIKE statement prepares");
        return {st, &sqlite3_finalize};
    }
};

std::vector<UChar32> codePoints(std::string_view s) {
    std::vector<UChar32> out;
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    for (int32_t i = 0, n = int32_t(s.size()); i < n;) {
        UChar32 c;
        U8_NEXT_OR_FFFD(p, i, n, c);
        out.push_back(c);
    }
    return out;
}

// The definition, by dynamic programming over the pattern: can[j] when what was read of it matches text[..j).
bool reference(const std::vector<UChar32>& pattern, const std::vector<UChar32>& text, UChar32 escape) {
    std::vector<char> can(text.size() + 1, 0);
    can[0] = 1;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool escaped = pattern[i] == escape;
        if (escaped && ++i == pattern.size())
            return false;
        const UChar32 c = pattern[i];
        const bool anyRun = !escaped && c == '%', oneChar = !escaped && c == '_';
        if (anyRun)
            for (size_t j = 1; j < can.size(); ++j)
                can[j] = can[j] || can[j - 1];
        else
            for (size_t j = can.size(); j-- > 0;)
                can[j] =
                    j > 0 && can[j - 1] &&
                    (oneChar || u_foldCase(c, U_FOLD_CASE_DEFAULT) == u_foldCase(text[j - 1], U_FOLD_CASE_DEFAULT));
    }
    return can.back();
}

void bind(sqlite3_stmt* st, int index, std::string_view text) { // "" as a null pointer would bind NULL
    sqlite3_bind_text(st, index, text.empty() ? "" : text.data(), int(text.size()), SQLITE_TRANSIENT);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Database db;
    const auto [pattern, rest] = fuzz::splitAtZero(fuzz::bytes(data, size));
    const bool hasEscape = rest.find('\0') != std::string_view::npos;
    auto [left, escape] = fuzz::splitAtZero(rest);

    sqlite3_stmt* st = (hasEscape ? db.escaped : db.plain).get();
    bind(st, 1, pattern);
    std::string_view texts[kTexts];
    for (int i = 0; i < kTexts; ++i) {
        const size_t end = left.find('\n');
        texts[i] = left.substr(0, end);
        left = end == std::string_view::npos ? std::string_view() : left.substr(end + 1);
        bind(st, 2 + i, texts[i]);
    }
    const std::vector<UChar32> escapeChars = codePoints(escape), patternChars = codePoints(pattern);
    if (hasEscape)
        bind(st, 5, escape);
    for (int i = 0; i < kTexts; ++i) {
        const int rc = sqlite3_step(st);
        if (hasEscape && escapeChars.size() != 1) {
            fuzz::check(rc == SQLITE_ERROR, "an ESCAPE of other than one character fails the statement");
            break;
        }
        fuzz::check(rc == SQLITE_ROW, "LIKE gives a row for each text",
                    QString::fromUtf8(sqlite3_errmsg(db.connection.handle())));
        const std::vector<UChar32> textChars = codePoints(texts[i]);
        if ((patternChars.size() + 1) * (textChars.size() + 1) > 200000)
            continue; // the reference would take too long
        const bool expected = reference(patternChars, textChars, hasEscape ? escapeChars[0] : -1);
        fuzz::check((sqlite3_column_int(st, 0) == 1) == expected, "LIKE matches as defined",
                    fuzz::utf8(pattern) + " LIKE " + fuzz::utf8(texts[i]));
    }
    sqlite3_reset(st);
    return 0;
}
