#pragma once

#include <QApplication>
#include <exception>

namespace kb::app {

// The application object. Its default error handler: an exception that
// leaves an event handler is shown in a stop-icon box captioned with the
// application title, and the program goes on in its event loop; nothing
// escapes into Qt.
class KultbuhApplication : public QApplication {
    Q_OBJECT
public:
    KultbuhApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The default error handler's box for one error: the application title
    // as caption, the error's message with a full stop by the usual rule.
    static void showError(const std::exception_ptr& error) noexcept;
};

} // namespace kb::app
