#include "ErrorText.h"

namespace kb::ui {

QString withFullStop(const QString& message) {
    if (message.isEmpty() || message.back().unicode() <= u'.')
        return message;
    return message + u'.';
}

} // namespace kb::ui
