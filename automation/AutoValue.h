#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <variant>

namespace kb::automation {

class Dispatch;

// A reference-counted handle on an automation object: the object lives while
// one handle does and is released with the last one.
using ObjectRef = std::shared_ptr<Dispatch>;

// One typed argument or result of a late-bound call. Date-times are naive
// wall-clock values, as the database layer carries them.
class AutoValue {
public:
    enum class Type { Empty, Null, Text, Int32, Bool, Double, DateTime, Object };

    AutoValue() = default; // Empty: no value at all (a call whose result is not used)
    static AutoValue null() { return AutoValue(NullTag{}); }
    AutoValue(const QString& v) : v_(v) {}
    AutoValue(qint32 v) : v_(v) {}
    AutoValue(bool v) : v_(v) {}
    AutoValue(double v) : v_(v) {}
    AutoValue(const QDateTime& v) : v_(v) {}
    AutoValue(ObjectRef v) : v_(std::move(v)) {}
    AutoValue(const char*) = delete; // say QStringLiteral

    Type type() const { return Type(v_.index()); }
    const QString& text() const { return std::get<QString>(v_); }
    qint32 int32() const { return std::get<qint32>(v_); }
    bool boolean() const { return std::get<bool>(v_); }
    double number() const { return std::get<double>(v_); }
    const QDateTime& dateTime() const { return std::get<QDateTime>(v_); }
    const ObjectRef& object() const { return std::get<ObjectRef>(v_); }

    // The type's name and the value, for logs and messages: Text "A1", Int32 3, Null.
    QString describe() const;

private:
    struct NullTag {};
    explicit AutoValue(NullTag) : v_(NullTag{}) {}
    std::variant<std::monostate, NullTag, QString, qint32, bool, double, QDateTime, ObjectRef> v_;
};

} // namespace kb::automation
