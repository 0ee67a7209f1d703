#pragma once

#include <QDateTime>
#include <QString>
#include <variant>

namespace kb::sql {

// The data types a field, a parameter or a result column can have.
enum class FieldType { Unknown, Integer, Float, Text, DateTime };

// One typed database value. Date-times are naive wall-clock values: they are
// always carried as QDateTime in Qt::UTC so that no time-zone or daylight
// saving rule ever shifts them.
class Value {
public:
    enum class Kind { Null, Integer, Float, Text, DateTime };

    Value() = default;
    Value(qint64 v) : v_(v) {}
    Value(int v) : v_(qint64(v)) {}
    Value(double v) : v_(v) {}
    Value(const QString& v) : v_(v) {}
    Value(const char*) = delete; // say QStringLiteral or QString::fromUtf8
    Value(const QDateTime& v);

    Kind kind() const { return Kind(v_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    qint64 toInt() const;         // Integer, or Float truncated; 0 otherwise
    double toDouble() const;      // Integer or Float; 0 otherwise
    QString text() const;         // Text as is; empty for the other kinds (text::display shows any value)
    QDateTime toDateTime() const; // DateTime; invalid otherwise

    friend bool operator==(const Value& a, const Value& b) { return a.v_ == b.v_; }

private:
    std::variant<std::monostate, qint64, double, QString, QDateTime> v_;
};

} // namespace kb::sql
