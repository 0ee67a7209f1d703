#include "Dispatch.h"

#include <array>

namespace kb::automation {

void throwUnknownName(const QString& member) {
    throw AutomationError(QStringLiteral("Неизвестное имя: %1").arg(member));
}

void throwBadCall(const QString& member) {
    throw AutomationError(QStringLiteral("Член \"%1\" так не вызывается").arg(member));
}

namespace {

ObjectRef objectResult(const QString& member, AutoValue result) {
    if (result.type() != AutoValue::Type::Object || !result.object())
        throw AutomationError(QStringLiteral("Член \"%1\" не вернул объект").arg(member));
    return result.object();
}

} // namespace

ObjectRef read(Dispatch& object, const QString& member) {
    return objectResult(member, object.invoke(member, CallKind::Read, {}));
}

void method(Dispatch& object, const QString& member) {
    object.invoke(member, CallKind::Method, {});
}

ObjectRef indexedRead(Dispatch& object, const QString& member, const std::vector<AutoValue>& index) {
    return objectResult(member, object.invoke(member, CallKind::IndexedRead, index));
}

void write(Dispatch& object, const QString& member, const AutoValue& value) {
    object.invoke(member, CallKind::Write, std::span(&value, 1));
}

void write(Dispatch& object, const QString& member, const AutoValue& index, const AutoValue& value) {
    const std::array<AutoValue, 2> args{index, value};
    object.invoke(member, CallKind::Write, args);
}

} // namespace kb::automation
