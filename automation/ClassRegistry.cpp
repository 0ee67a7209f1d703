#include "ClassRegistry.h"

#include "Dispatch.h"

namespace kb::automation {

void ClassRegistry::registerClass(const QString& progId, Factory factory) {
    classes_[progId] = std::move(factory);
}

void ClassRegistry::unregisterClass(const QString& progId) {
    classes_.erase(progId);
}

ObjectRef ClassRegistry::create(const QString& progId) const {
    const auto found = classes_.find(progId);
    if (found == classes_.end())
        throw AutomationError(QStringLiteral("Класс \"%1\" не зарегистрирован: создать объект нельзя").arg(progId));
    ObjectRef object = found->second();
    if (!object)
        throw AutomationError(QStringLiteral("Сервер \"%1\" не создал объект").arg(progId));
    return object;
}

ClassRegistry& classRegistry() {
    static ClassRegistry registry;
    return registry;
}

} // namespace kb::automation
