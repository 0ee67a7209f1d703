#pragma once

#include <QTest>
#include <tuple>

// Shorthands for QtTest data tables, so that a table keeps one row per line.
namespace kbtest {

// The columns of the current test's data table: columns<QString, Value>("sql", "expected").
template <typename... Types, typename... Names> void columns(Names... names) {
    static_assert(sizeof...(Types) == sizeof...(Names), "one name per column");
    (QTest::addColumn<Types>(names), ...);
}

// One row: row("name", a, b) is QTest::newRow("name") << a << b.
template <typename... Values> void row(const char* name, const Values&... values) {
    (QTest::newRow(name) << ... << values);
}

// The current row's values of the named columns, as QFETCH gives them: const auto [sql, expected] = fetch<QString,
// Value>("sql", "expected").
template <typename... Types, typename... Names> std::tuple<Types...> fetch(Names... names) {
    static_assert(sizeof...(Types) == sizeof...(Names), "one name per column");
    return {*static_cast<Types*>(QTest::qData(names, qMetaTypeId<Types>()))...};
}

} // namespace kbtest
