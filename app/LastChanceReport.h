#pragma once

#include <QString>
#include <exception>

namespace kb::app {

// The caption of the report of a failure before the event loop runs.
inline constexpr const char* kLastChanceCaption = "Application Error";

// What the report says about one error.
struct ErrorDescription {
    QString kind;    // the error's class name without its namespace, e.g. "DbError"
    QString message; // as the error gives it
    const void* address = nullptr;
};

// Describes an error caught as an exception_ptr; a class not derived from
// std::exception is named by its type and has no message.
ErrorDescription describeError(const std::exception_ptr& error);

// "Exception <kind> in module <module> at <address>.\r\n<message>[.]\r\n",
// the message with its full stop by the error box's rule.
QString lastChanceText(const ErrorDescription& error, const QString& moduleName);

// Shows the report in a stop-icon box captioned "Application Error" (making
// a minimal application object first when there is none yet), writes the
// same text to standard error, and returns the exit code 1.
int reportLastChance(const std::exception_ptr& error) noexcept;

} // namespace kb::app
