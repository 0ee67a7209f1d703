#pragma once

#include "OldDatabase.h"

#include <memory>

// A Jet 4.0 database file (Access 2000-2003) read through libmdb, only ever
// for reading: the file is opened without write access.
namespace kb::jet {

class JetFile : public OldDatabase {
public:
    // Throws JetError naming the file when it is missing, no Jet file, of
    // another Jet version than 4.0, or its catalogue cannot be read.
    explicit JetFile(const QString& fileName);
    ~JetFile() override;
    JetFile(const JetFile&) = delete;
    JetFile& operator=(const JetFile&) = delete;

    QStringList tables() const override;
    std::vector<Column> columns(const QString& table) const override;
    void readRows(const QString& table, const QStringList& columnNames,
                  const std::function<void(const Row&)>& each) const override;

    const QString& fileName() const { return shown_; }

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    QString shown_;
};

} // namespace kb::jet
