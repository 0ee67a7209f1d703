#include "PgStatement.h"

#include "DateTimeText.h"
#include "TextMemo.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kb::sql::pg {

namespace {

// The server's type numbers (pg_type.oid) the layer reads as more than text.
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kFloat4 = 700,
    kFloat8 = 701,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700
};

std::optional<double> readDouble(const char* text, int length) {
    double v = 0;
    const auto [end, error] = std::from_chars(text, text + length, v);
    if (error != std::errc() || end != text + length) { // "Infinity", which from_chars reads only as "inf..."
        const QByteArray t = QByteArray(text, length).toLower();
        if (t == "infinity" || t == "-infinity")
            return t.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
        return std::nullopt;
    }
    return v;
}

std::optional<qint64> readInteger(const char* text, int length) {
    qint64 v = 0;
    const auto [end, error] = std::from_chars(text, text + length, v);
    if (error != std::errc() || end != text + length)
        return std::nullopt;
    return v;
}

QByteArray doubleText(double v) {
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v > 0 ? "Infinity" : "-Infinity";
    return QByteArray::number(v, 'g', 17); // 17 significant digits give the same double back
}

} // namespace

PgStatement::PgStatement(std::shared_ptr<Session> session, const QString& serverSql, QStringList parameterNames,
                         bool readOnly)
    : session_(std::move(session)), sql_(serverSql.toUtf8()), name_(session_->nextStatementName()),
      names_(std::move(parameterNames)), values_(size_t(names_.size())), readOnly_(readOnly) {
    prepare();
    columns_ = PQnfields(description_.get());
}

PgStatement::~PgStatement() {
    // A statement left in a transaction the server has given up stays until the session ends; one of an earlier
    // connection ended with it.
    if (PQstatus(session_->conn()) == CONNECTION_OK && PQtransactionStatus(session_->conn()) != PQTRANS_INERROR &&
        generation_ == session_->generation())
        PQclear(PQexec(session_->conn(), ("DEALLOCATE " + name_).constData()));
}

void PgStatement::prepare() {
    session_->reconnectIfLost();
    generation_ = session_->generation();
    session_->check(PQprepare(session_->conn(), name_.constData(), sql_.constData(), 0, nullptr));
    try {
        description_ = session_->check(PQdescribePrepared(session_->conn(), name_.constData()));
    } catch (...) {
        PQclear(PQexec(session_->conn(), ("DEALLOCATE " + name_).constData()));
        throw;
    }
}

QString PgStatement::parameterName(int index) const {
    return index >= 1 && index <= names_.size() ? names_[index - 1] : QString();
}

int PgStatement::parameterIndex(const QString& name) const {
    return int(names_.indexOf(name)) + 1;
}

void PgStatement::bind(int index, const Value& value) {
    if (index < 1 || index > names_.size())
        throw DbError(QStringLiteral("column index out of range"), 25); // SQLite's words and code for it
    std::optional<QByteArray>& slot = values_[size_t(index - 1)];
    switch (value.kind()) {
    case Value::Kind::Null:
        slot.reset();
        break;
    case Value::Kind::Integer:
        slot = QByteArray::number(value.toInt());
        break;
    case Value::Kind::Float:
        slot = doubleText(value.toDouble());
        break;
    case Value::Kind::Text:
        slot = value.text().toUtf8();
        break;
    case Value::Kind::DateTime:
        slot = datetime::toIso(value.toDateTime()).toLatin1();
        break;
    }
}

void PgStatement::clearBindings() {
    for (auto& v : values_)
        v.reset();
}

void PgStatement::run() {
    std::vector<const char*> values;
    values.reserve(values_.size());
    for (const auto& v : values_)
        values.push_back(v ? v->constData() : nullptr);
    session_->reconnectIfLost();
    if (generation_ != session_->generation())
        prepare();
    result_ = session_->check(
        PQexecPrepared(session_->conn(), name_.constData(), int(values.size()), values.data(), nullptr, nullptr, 0));
    session_->setChanges(PQcmdTuples(result_.get()));
    row_ = -1;
}

bool PgStatement::step() {
    if (!result_)
        run();
    ++row_;
    return row_ < PQntuples(result_.get());
}

void PgStatement::reset() {
    result_.reset();
    row_ = -1;
}

QString PgStatement::columnName(int column) const {
    return QString::fromUtf8(PQfname(description_.get(), column));
}

// A table's column declares its type; an expression declares none, as in SQLite.
QString PgStatement::declaredType(int column) const {
    if (PQftable(description_.get(), column) == InvalidOid)
        return {};
    switch (PQftype(description_.get(), column)) {
    case kInt2:
    case kInt4:
    case kInt8:
        return QStringLiteral("INTEGER");
    case kFloat4:
    case kFloat8:
        return QStringLiteral("DOUBLE PRECISION");
    case kNumeric:
        return QStringLiteral("NUMERIC");
    case kDate:
    case kTimestamp:
    case kTimestampTz:
        return QStringLiteral("TIMESTAMP");
    default:
        return QStringLiteral("TEXT");
    }
}

Value PgStatement::column(int column, FieldType heldAs, TextMemo* memo) const {
    const PGresult* r = result_.get();
    if (!r || row_ < 0 || row_ >= PQntuples(r) || PQgetisnull(r, row_, column))
        return {};
    const char* text = PQgetvalue(r, row_, column);
    const int length = PQgetlength(r, row_, column);
    const auto asHeld = [heldAs](qint64 v) { return heldAs == FieldType::Float ? Value(double(v)) : Value(v); };
    switch (PQftype(r, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
        if (const auto v = readInteger(text, length))
            return asHeld(*v);
        break;
    case kFloat4:
    case kFloat8:
        if (const auto v = readDouble(text, length))
            return Value(*v);
        break;
    case kNumeric: // a whole number comes as SQLite's INTEGER, as the strict conversion gives it there
        if (!std::memchr(text, '.', size_t(length))) {
            if (const auto v = readInteger(text, length))
                return asHeld(*v);
        }
        if (const auto v = readDouble(text, length))
            return Value(*v);
        break;
    case kBool:
        return asHeld(text[0] == 't' ? 1 : 0);
    case kDate:
    case kTimestamp:
    case kTimestampTz:
        if (const auto dt = datetime::fromIso(text, length))
            return Value(*dt);
        break;
    default:
        break;
    }
    return storedTextValue(text, length, heldAs == FieldType::DateTime, memo);
}

} // namespace kb::sql::pg
