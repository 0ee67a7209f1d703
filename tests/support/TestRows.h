#pragma once

#include <QTest>
#include <tuple>

// Shorthands for QtTest data tables, so that a table keeps one row per line.
namespace kbtest {

// columns<QString, Value>("sql", "expected") adds the current test's columns; row("name", a, b) is
// QTest::newRow("name") << a << b; const auto [sql, expected] = fetch<QString, Value>("sql", "expected") gives the
// current row's values as QFETCH does.
template <typename... Types, typename... Names> void columns(Names... names) {
    static_assert(sizeof...(Types) == sizeof...(Names), "one name per column");
    (QTest::addColumn<Types>(names), ...);
}
template <typename... Values> void row(const char* name, const Values&... values) {
    (QTest::newRow(name) << ... << values);
}
template <typename... Types, typename... Names> std::tuple<Types...> fetch(Names... names) {
    static_assert(sizeof...(Types) == sizeof...(Names), "one name per column");
    return {*static_cast<Types*>(QTest::qData(names, qMetaTypeId<Types>()))...};
}

} // namespace kbtest
