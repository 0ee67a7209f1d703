#include "RowidSnapshot.h"

#include <algorithm>

namespace kb {

RowidSnapshot RowidSnapshot::consecutive(qint64 first, int count) {
    RowidSnapshot snapshot;
    if (count > 0) {
        snapshot.runs_.push_back({first, count});
        snapshot.recount();
    }
    return snapshot;
}

RowidSnapshot RowidSnapshot::of(const std::vector<qint64>& rowids) {
    RowidSnapshot snapshot;
    for (qint64 rowid : rowids)
        snapshot.append(rowid);
    snapshot.recount();
    return snapshot;
}

void RowidSnapshot::append(qint64 rowid) {
    if (!runs_.empty() && runs_.back().first + runs_.back().count == rowid)
        ++runs_.back().count;
    else
        runs_.push_back({rowid, 1});
}

void RowidSnapshot::recount() {
    starts_.resize(runs_.size());
    int position = 0;
    for (size_t r = 0; r < runs_.size(); ++r) {
        starts_[r] = position;
        position += runs_[r].count;
    }
    size_ = position;
}

int RowidSnapshot::runAt(int position) const {
    Q_ASSERT(position >= 0 && position < size_);
    return int(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
}

qint64 RowidSnapshot::at(int position) const {
    const int r = runAt(position);
    return runs_[size_t(r)].first + (position - starts_[size_t(r)]);
}

std::vector<qint64> RowidSnapshot::slice(int first, int count) const {
    std::vector<qint64> rowids;
    rowids.reserve(size_t(std::max(count, 0)));
    for (int position = first; position < first + count; ++position)
        rowids.push_back(at(position));
    return rowids;
}

std::optional<int> RowidSnapshot::positionOf(qint64 rowid) const {
    for (size_t r = 0; r < runs_.size(); ++r) {
        if (rowid >= runs_[r].first && rowid < runs_[r].first + runs_[r].count)
            return starts_[r] + int(rowid - runs_[r].first);
    }
    return std::nullopt;
}

// A run is split where a rowid goes in or comes out; neighbouring runs that
// become consecutive are not merged again, which costs nothing but a run.
void RowidSnapshot::insert(int position, qint64 rowid) {
    Q_ASSERT(position >= 0 && position <= size_);
    if (position == size_) {
        append(rowid);
        recount();
        return;
    }
    const int r = runAt(position);
    const Run run = runs_[size_t(r)];
    const int before = position - starts_[size_t(r)];
    std::vector<Run> pieces;
    if (before > 0)
        pieces.push_back({run.first, before});
    pieces.push_back({rowid, 1});
    pieces.push_back({run.first + before, run.count - before});
    replaceRun(r, pieces);
}

void RowidSnapshot::erase(int position) {
    const int r = runAt(position);
    const Run run = runs_[size_t(r)];
    const int before = position - starts_[size_t(r)];
    std::vector<Run> pieces;
    if (before > 0)
        pieces.push_back({run.first, before});
    if (run.count - before - 1 > 0)
        pieces.push_back({run.first + before + 1, run.count - before - 1});
    replaceRun(r, pieces);
}

void RowidSnapshot::replaceRun(int r, const std::vector<Run>& pieces) {
    runs_.erase(runs_.begin() + r);
    runs_.insert(runs_.begin() + r, pieces.begin(), pieces.end());
    recount();
}

} // namespace kb
