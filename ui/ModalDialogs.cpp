#include "ModalDialogs.h"

#include "QtModalDialogs.h"

namespace kb::ui {

namespace {

std::unique_ptr<ModalDialogs>& installed() {
    static std::unique_ptr<ModalDialogs> current;
    return current;
}

ModalDialogs& qtDialogs() {
    static QtModalDialogs instance;
    return instance;
}

} // namespace

ModalDialogs& dialogs() {
    if (const auto& current = installed())
        return *current;
    return qtDialogs();
}

std::unique_ptr<ModalDialogs> installDialogs(std::unique_ptr<ModalDialogs> replacement) {
    std::unique_ptr<ModalDialogs> previous = std::move(installed());
    installed() = std::move(replacement);
    return previous;
}

} // namespace kb::ui
