#include "KultbuhApplication.h"

#include "ApplicationTitle.h"
#include "ErrorText.h"
#include "ModalDialogs.h"

#include <cstdio>
#include <exception>

namespace kb::app {

namespace {

QString messageOf(const std::exception_ptr& error) {
    if (!error)
        return QStringLiteral("Неизвестная ошибка");
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка");
    }
}

} // namespace

KultbuhApplication::KultbuhApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KultbuhApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showError(std::current_exception());
        return false;
    }
}

void KultbuhApplication::showError(const std::exception_ptr& error) noexcept {
    QString text;
    try {
        text = ui::withFullStop(messageOf(error));
        ui::dialogs().errorBox(applicationTitle(), text);
    } catch (...) {
        // The box could not be shown; the message must not be lost.
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
}

} // namespace kb::app
