#pragma once

// The names the dialect registers that statements and schemas spell out.
namespace kb::dialect {

// Name of the case-insensitive Russian collation that text columns declare.
inline constexpr const char* kCollation = "RU";

// The strict conversion: kNumberFunction(value, 'Table.Column'). INTEGER, REAL
// and NULL pass unchanged; TEXT holding a number becomes an INTEGER (no decimal
// part) or a REAL; other text and BLOBs fail the statement.
inline constexpr const char* kNumberFunction = "kb_number";

} // namespace kb::dialect
