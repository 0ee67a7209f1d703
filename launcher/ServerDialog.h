#pragma once

#include "ServerLogin.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kb::launcher {

// "Подключиться к общей базе на сервере": the server, the database, the user
// and the password (masked); "Проверить подключение" runs the check and shows
// its answer in the window; OK, possible once a database is named, accepts
// what is typed.
class ServerDialog : public QDialog {
    Q_OBJECT
public:
    // check returns the problem, empty when the connection works.
    explicit ServerDialog(std::function<QString(const ServerLogin&)> check, QWidget* parent = nullptr);

    ServerLogin login() const;

private:
    void runCheck();

    std::function<QString(const ServerLogin&)> check_;
    QLineEdit* host_;
    QLineEdit* database_;
    QLineEdit* user_;
    QLineEdit* password_;
    QCheckBox* remember_;
    QLabel* answer_;
};

} // namespace kb::launcher
