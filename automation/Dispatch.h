#pragma once

#include "AutoValue.h"

#include <QString>
#include <span>
#include <stdexcept>
#include <vector>

namespace kb::automation {

// The four ways a member of an automation object is called.
enum class CallKind {
    Read,        // no arguments, the result wanted (method or property get)
    Method,      // no arguments, the result not used
    IndexedRead, // property get with index arguments
    Write        // property put: index arguments, then the value as the named put argument
};

// What an automation object or its server refuses, with the message to show.
class AutomationError : public std::runtime_error {
public:
    explicit AutomationError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// A late-bound automation object: every call names its member, which the
// object looks up at that moment. For a Write the last argument is the value
// put, the ones before it are the index.
class Dispatch {
public:
    virtual ~Dispatch() = default;
    virtual AutoValue invoke(const QString& member, CallKind kind, std::span<const AutoValue> args) = 0;
};

// The server's answer to a member it does not have.
[[noreturn]] void throwUnknownName(const QString& member);
// The server's answer to a member called in a way it does not take.
[[noreturn]] void throwBadCall(const QString& member);

// The calls as the export issues them. Each throws what the object throws;
// the ones that want an object throw when the result is not one.
ObjectRef read(Dispatch& object, const QString& member);
void method(Dispatch& object, const QString& member);
ObjectRef indexedRead(Dispatch& object, const QString& member, const std::vector<AutoValue>& index);
void write(Dispatch& object, const QString& member, const AutoValue& value);
void write(Dispatch& object, const QString& member, const AutoValue& index, const AutoValue& value);

} // namespace kb::automation
