#include "ServerCheck.h"

#include "Connection.h"
#include "Schema.h"

#include <QTemporaryFile>
#include <exception>

namespace kb::launcher {

namespace {

// A server that does not answer is given up after this many seconds.
constexpr int kConnectTimeoutSeconds = 10;

} // namespace

QString connectionProblem(const ServerLogin& login) {
    try {
        QString name = connectionName(login) + QStringLiteral(" connect_timeout=%1").arg(kConnectTimeoutSeconds);
        QTemporaryFile passwordFile; // created readable and writable by the owner only
        if (!login.password.isEmpty()) {
            const ServerLogin anyServer{QStringLiteral("*"), QStringLiteral("*"), QStringLiteral("*"), login.password};
            if (!passwordFile.open() || passwordFile.write((passwordLine(anyServer) + u'\n').toUtf8()) < 0 ||
                !passwordFile.flush())
                return QStringLiteral("Не удалось записать временный файл для пароля: %1")
                    .arg(passwordFile.errorString());
            name += QStringLiteral(" passfile='%1'").arg(passwordFile.fileName());
        }
        const sql::Connection connection(name, sql::Connection::Mode::ReadOnly);
        dataset::schema::requireKeys(connection);
        return QString();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
}

} // namespace kb::launcher
