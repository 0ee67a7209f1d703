#pragma once

#include "ConnectionEngine.h"
#include "PgSession.h"

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace kb::sql::pg {

// A statement prepared on the server. Runs at its first step() with the bound
// values sent as text (the server converts them to the types it inferred);
// the whole result comes at once and step() walks its rows. Prepared anew
// when the session has connected again since. Deallocated on the server by
// the destructor.
class PgStatement final : public StatementEngine {
public:
    PgStatement(std::shared_ptr<Session> session, const QString& serverSql, QStringList parameterNames, bool readOnly);
    ~PgStatement() override;
    PgStatement(const PgStatement&) = delete;
    PgStatement& operator=(const PgStatement&) = delete;

    int parameterCount() const override { return int(names_.size()); }
    QString parameterName(int index) const override;
    int parameterIndex(const QString& name) const override;
    void bind(int index, const Value& value) override;
    void clearBindings() override;
    bool step() override;
    void reset() override;
    int columnCount() const override { return columns_; }
    QString columnName(int column) const override;
    QString declaredType(int column) const override;
    Value column(int column, FieldType heldAs, TextMemo* memo) const override;
    bool isReadOnly() const override { return readOnly_; }

private:
    void prepare();
    void run();

    std::shared_ptr<Session> session_;
    QByteArray sql_;
    QByteArray name_;
    quint64 generation_ = 0; // the session's connection it is prepared on
    QStringList names_;
    std::vector<std::optional<QByteArray>> values_; // per parameter; nullopt is NULL
    Session::Result description_{nullptr, &PQclear};
    Session::Result result_{nullptr, &PQclear};
    int columns_ = 0;
    int row_ = -1;
    bool readOnly_;
};

} // namespace kb::sql::pg
