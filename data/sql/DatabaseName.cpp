#include "DatabaseName.h"

#include <QRegularExpression>

namespace kb::sql {

bool isServerName(const QString& name) {
    static const QRegularExpression server(QStringLiteral("^(postgres(ql)?://|\\s*[A-Za-z_]+\\s*=)"));
    return server.match(name).hasMatch();
}

} // namespace kb::sql
