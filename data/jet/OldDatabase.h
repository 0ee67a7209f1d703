#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

// A database of the old program as the import reads it: its tables, their
// columns with the Jet column types, and rows of typed values. JetFile reads
// a real file; the import's tests feed one from memory.
namespace kb::jet {

// Jet's column types (the type byte of a column definition).
enum class ColumnType {
    Boolean = 0x01,
    Byte = 0x02,
    Int = 0x03,     // 16-bit integer
    LongInt = 0x04, // 32-bit integer
    Money = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0a,
    Ole = 0x0b,
    Memo = 0x0c,
    ReplicationId = 0x0f,
    Numeric = 0x10,
    Complex = 0x12,
};

// The type's Russian name for messages ("текст", "длинное целое").
QString typeName(ColumnType type);

struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
    bool autoNumber = false;
    int size = 0; // bytes as stored (a Jet 4 text of 255 characters: 510)
};

// One stored value. A date-time is kept as Jet stores it, the day number
// (days since 30 December 1899, the fraction the time of day), so that no
// conversion happens before the importer's own.
struct Cell {
    enum class Kind { Null, Integer, Double, Text, DateTime, Boolean };
    Kind kind = Kind::Null;
    qint64 integer = 0; // Integer; Boolean 0 or 1
    double number = 0;  // Double; DateTime the day number
    QString text;       // Text

    static Cell null() { return {}; }
    static Cell ofInteger(qint64 v) { return {Kind::Integer, v, 0, {}}; }
    static Cell ofDouble(double v) { return {Kind::Double, 0, v, {}}; }
    static Cell ofText(const QString& v) { return {Kind::Text, 0, 0, v}; }
    static Cell ofDayNumber(double v) { return {Kind::DateTime, 0, v, {}}; }
    static Cell ofBoolean(bool v) { return {Kind::Boolean, v ? 1 : 0, 0, {}}; }
};

using Row = std::vector<Cell>;

// Failures reading an old database; the message names the file and is meant for the user.
class JetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class OldDatabase {
public:
    virtual ~OldDatabase() = default;
    // The user tables, in the file's order.
    virtual QStringList tables() const = 0;
    // Throws JetError when the table does not exist.
    virtual std::vector<Column> columns(const QString& table) const = 0;
    // Calls each with every row, the cells in the order of the named columns.
    // Throws JetError for an unknown column, a column of a type that cannot be
    // read, or a damaged table.
    virtual void readRows(const QString& table, const QStringList& columnNames,
                          const std::function<void(const Row&)>& each) const = 0;
};

} // namespace kb::jet
