#include "ErrorReporting.h"

#include "ErrorText.h"
#include "ModalDialogs.h"

#include <cstdio>

namespace kb::ui {
namespace {

QString& caption() {
    static QString value;
    return value;
}

QString messageOf(const std::exception_ptr& error) {
    if (error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        } catch (...) {
        }
    }
    return QStringLiteral("Неизвестная ошибка");
}

} // namespace

void setErrorCaption(const QString& text) {
    caption() = text;
}
QString errorCaption() {
    return caption();
}

void reportError(const std::exception_ptr& error) noexcept {
    QString text;
    try {
        text = withFullStop(messageOf(error));
        dialogs().errorBox(caption(), text);
    } catch (...) {
        // The box could not be shown; the message must not be lost.
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
}

} // namespace kb::ui
