#include "SqliteStatement.h"

#include "ColumnTypes.h"
#include "DateTimeText.h"
#include "DbError.h"
#include "EngineMessage.h"
#include "TextMemo.h"

#include <sqlite3.h>

namespace kb::sql {

namespace {

// Per column, whether its declared type is a date-time (1) or not (0).
void readDeclaredDates(sqlite3_stmt* stmt, std::vector<char>& declaredDates) {
    const int columns = sqlite3_column_count(stmt);
    declaredDates.reserve(size_t(columns));
    for (int c = 0; c < columns; ++c) {
        const char* type = sqlite3_column_decltype(stmt, c);
        declaredDates.push_back(type && ColumnTypes::classify(QString::fromUtf8(type)) == FieldType::DateTime);
    }
}

// Whether the declared type of a column is a date-time; the answers for every
// column are read at the first question.
inline bool declaredDateTime(sqlite3_stmt* stmt, std::vector<char>& declaredDates, int column) {
    if (declaredDates.empty()) [[unlikely]]
        readDeclaredDates(stmt, declaredDates);
    return declaredDates[size_t(column)] != 0;
}

// The one typed read of a column (see Statement::column). Internal, so that
// reading a whole row inlines it.
inline Value typedValue(sqlite3_stmt* stmt, std::vector<char>& declaredDates, int column, FieldType heldAs,
                        TextMemo* memo) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(stmt, column);
        return heldAs == FieldType::Float ? Value(double(v)) : Value(v);
    }
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        const int length = sqlite3_column_bytes(stmt, column);
        const bool dated = heldAs == FieldType::DateTime || declaredDateTime(stmt, declaredDates, column);
        return storedTextValue(text, length, dated, memo);
    }
    default:
        return {};
    }
}

} // namespace

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

void SqliteStatement::fail(int rc) const {
    throw DbError(engineMessage(db_), rc & 0xff);
}

int SqliteStatement::parameterCount() const {
    return sqlite3_bind_parameter_count(stmt_);
}

QString SqliteStatement::parameterName(int index) const {
    const char* name = sqlite3_bind_parameter_name(stmt_, index);
    return name ? QString::fromUtf8(name) : QString();
}

int SqliteStatement::parameterIndex(const QString& name) const {
    return sqlite3_bind_parameter_index(stmt_, name.toUtf8().constData());
}

void SqliteStatement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    switch (value.kind()) {
    case Value::Kind::Null:
        rc = sqlite3_bind_null(stmt_, index);
        break;
    case Value::Kind::Integer:
        rc = sqlite3_bind_int64(stmt_, index, value.toInt());
        break;
    case Value::Kind::Float:
        rc = sqlite3_bind_double(stmt_, index, value.toDouble());
        break;
    case Value::Kind::Text: {
        const QByteArray utf8 = value.text().toUtf8();
        rc = sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    case Value::Kind::DateTime: {
        const QByteArray iso = datetime::toIso(value.toDateTime()).toLatin1();
        rc = sqlite3_bind_text(stmt_, index, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        fail(rc);
}

void SqliteStatement::clearBindings() {
    sqlite3_clear_bindings(stmt_);
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(rc);
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
}

bool SqliteStatement::isReadOnly() const {
    return sqlite3_stmt_readonly(stmt_) != 0;
}

int SqliteStatement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString SqliteStatement::columnName(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? QString::fromUtf8(name) : QString();
}

QString SqliteStatement::declaredType(int column) const {
    const char* type = sqlite3_column_decltype(stmt_, column);
    return type ? QString::fromUtf8(type) : QString();
}

Value SqliteStatement::column(int column, FieldType heldAs, TextMemo* memo) const {
    return typedValue(stmt_, declaredDates_, column, heldAs, memo);
}

} // namespace kb::sql
