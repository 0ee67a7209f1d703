#include "AutoValue.h"

namespace kb::automation {

QString AutoValue::describe() const {
    switch (type()) {
    case Type::Empty:
        return QStringLiteral("Empty");
    case Type::Null:
        return QStringLiteral("Null");
    case Type::Text:
        return QStringLiteral("Text \"%1\"").arg(text());
    case Type::Int32:
        return QStringLiteral("Int32 %1").arg(int32());
    case Type::Bool:
        return boolean() ? QStringLiteral("Bool true") : QStringLiteral("Bool false");
    case Type::Double:
        return QStringLiteral("Double %1").arg(number(), 0, 'g', 17);
    case Type::DateTime:
        return QStringLiteral("DateTime %1").arg(dateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    case Type::Object:
        return QStringLiteral("Object");
    }
    return {};
}

} // namespace kb::automation
