#pragma once

#include <QtGlobal>
#include <optional>
#include <vector>

namespace kb {

// Which rows a table object's snapshot holds: their rowids in cursor order,
// kept as runs of consecutive numbers. A table whose rows were never deleted
// (bonuses and days worked are never purged) is a single run, however long.
class RowidSnapshot {
public:
    RowidSnapshot() = default;
    // The rowids first, first + 1, ..., first + count - 1.
    static RowidSnapshot consecutive(qint64 first, int count);
    // The given rowids in the given order.
    static RowidSnapshot of(const std::vector<qint64>& rowids);

    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    qint64 at(int position) const;
    // The rowids at positions first .. first + count - 1.
    std::vector<qint64> slice(int first, int count) const;
    std::optional<int> positionOf(qint64 rowid) const;

    void insert(int position, qint64 rowid);
    void erase(int position);

private:
    struct Run {
        qint64 first;
        int count;
    };
    void append(qint64 rowid);
    int runAt(int position) const; // the run holding the position
    void replaceRun(int r, const std::vector<Run>& pieces);
    void recount();

    std::vector<Run> runs_;
    std::vector<int> starts_; // the position of each run's first rowid
    int size_ = 0;
};

} // namespace kb
