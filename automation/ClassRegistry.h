#pragma once

#include "AutoValue.h"

#include <QString>
#include <functional>
#include <map>

namespace kb::automation {

// Turns a programmatic identifier ("Excel.Application") into a new object of
// the class registered under it. Every creation makes a new object; nothing
// running is looked up.
class ClassRegistry {
public:
    using Factory = std::function<ObjectRef()>;

    // Registers the class, replacing what was registered under the identifier.
    void registerClass(const QString& progId, Factory factory);
    void unregisterClass(const QString& progId);
    // Throws AutomationError naming the identifier when nothing is registered under it.
    ObjectRef create(const QString& progId) const;

private:
    std::map<QString, Factory> classes_;
};

// The program's registry: the spreadsheet server is registered in it at start-up.
ClassRegistry& classRegistry();

} // namespace kb::automation
