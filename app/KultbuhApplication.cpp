#include "KultbuhApplication.h"

#include "ApplicationTitle.h"
#include "ErrorReporting.h"

namespace kb::app {

KultbuhApplication::KultbuhApplication(int& argc, char** argv) : QApplication(argc, argv) {
    ui::setErrorCaption(applicationTitle());
}

bool KultbuhApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showError(std::current_exception());
        return false;
    }
}

void KultbuhApplication::showError(const std::exception_ptr& error) noexcept {
    ui::reportError(error);
}

} // namespace kb::app
