#include "LastChanceReport.h"

#include "AppearanceSetup.h"
#include "ErrorText.h"
#include "ModalDialogs.h"
#include "ProgramFile.h"

#include <QApplication>
#include <cstdio>
#include <cxxabi.h>
#include <memory>
#include <optional>
#include <typeinfo>

namespace kb::app {

namespace {

QString demangled(const std::type_info* type) {
    if (type == nullptr)
        return QStringLiteral("Exception");
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type->name(), nullptr, nullptr, &status),
                                                      std::free);
    QString full = QString::fromLatin1(status == 0 && name ? name.get() : type->name());
    // The class name as the user knows it: "kb::DbError" is shown as "DbError".
    if (!full.contains(u'<')) {
        if (const qsizetype colons = full.lastIndexOf(QLatin1String("::")); colons >= 0)
            full = full.mid(colons + 2);
    }
    return full;
}

void writeToStandardError(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

void showBox(const QString& text) {
    if (QCoreApplication::instance() != nullptr) {
        ui::dialogs().errorBox(QString::fromLatin1(kLastChanceCaption), text);
        return;
    }
    // No application object yet (the failure came before it): a minimal one,
    // only for the box. Without any display to show it on, standard error
    // is the whole report.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    static int argc = 1;
    static char name[] = "kultbuh";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    setupAppearance(application);
    ui::dialogs().errorBox(QString::fromLatin1(kLastChanceCaption), text);
}

} // namespace

ErrorDescription describeError(const std::exception_ptr& error) {
    ErrorDescription description;
    if (!error)
        return description;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        description.kind = demangled(&typeid(e));
        description.message = QString::fromUtf8(e.what());
        description.address = &e;
    } catch (...) {
        description.kind = demangled(abi::__cxa_current_exception_type());
        description.address = abi::__cxa_current_exception_type();
    }
    return description;
}

QString lastChanceText(const ErrorDescription& error, const QString& moduleName) {
    return QStringLiteral("Exception %1 in module %2 at %3.\r\n%4\r\n")
        .arg(error.kind, moduleName, QString::asprintf("%p", error.address), ui::withFullStop(error.message));
}

int reportLastChance(const std::exception_ptr& error) noexcept {
    try {
        const QString text = lastChanceText(describeError(error), programFileName());
        writeToStandardError(text);
        showBox(text);
    } catch (...) {
        // The report itself failed: standard error holds the text already.
    }
    return 1;
}

} // namespace kb::app
