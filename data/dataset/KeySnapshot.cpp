#include "KeySnapshot.h"

#include <algorithm>

namespace kb::dataset {

KeySnapshot::Segment KeySnapshot::list(std::vector<qint64> ids) {
    const int count = int(ids.size());
    return Segment{Segment::Kind::List, count, 0, 0, std::move(ids)};
}

KeySnapshot::Segment KeySnapshot::unread(int count, qint64 after, qint64 upTo) {
    return Segment{Segment::Kind::Unread, count, after, upTo, {}};
}

KeySnapshot::Segment KeySnapshot::run(qint64 first, int count) {
    return Segment{Segment::Kind::Run, count, first, 0, {}};
}

KeySnapshot KeySnapshot::counted(int count, qint64 least, qint64 greatest) {
    KeySnapshot snapshot;
    if (count <= 0)
        return snapshot;
    if (greatest - least + 1 == count)
        snapshot.segments_.push_back(run(least, count));
    else
        snapshot.segments_.push_back(unread(count, least - 1, greatest));
    snapshot.recount();
    return snapshot;
}

void KeySnapshot::recount() {
    std::erase_if(segments_, [](const Segment& s) { return s.count == 0; });
    starts_.resize(segments_.size());
    int position = 0;
    for (size_t i = 0; i < segments_.size(); ++i) {
        starts_[i] = position;
        position += segments_[i].count;
    }
    size_ = position;
}

int KeySnapshot::segmentAt(int position) const {
    Q_ASSERT(position >= 0 && position < size_);
    return int(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
}

KeySnapshot::Gap KeySnapshot::gapOf(int segment) const {
    const Segment& s = segments_[size_t(segment)];
    return Gap{starts_[size_t(segment)], s.count, s.first, s.upTo};
}

std::optional<KeySnapshot::Gap> KeySnapshot::firstGapIn(int from, int to) const {
    from = std::max(from, 0);
    to = std::min(to, size_);
    if (from >= to)
        return std::nullopt;
    for (int i = segmentAt(from); i < int(segments_.size()) && starts_[size_t(i)] < to; ++i) {
        if (segments_[size_t(i)].kind == Segment::Kind::Unread)
            return gapOf(i);
    }
    return std::nullopt;
}

qint64 KeySnapshot::at(int position) const {
    const int i = segmentAt(position);
    const Segment& s = segments_[size_t(i)];
    const int offset = position - starts_[size_t(i)];
    Q_ASSERT(s.kind != Segment::Kind::Unread);
    return s.kind == Segment::Kind::Run ? s.first + offset : s.ids[size_t(offset)];
}

void KeySnapshot::fillFront(int gapFirst, const std::vector<qint64>& ascending, bool exhausted) {
    const int i = segmentAt(gapFirst);
    const Gap gap = gapOf(i);
    Q_ASSERT(gap.first == gapFirst && int(ascending.size()) <= gap.count);
    const int left = gap.count - int(ascending.size());
    std::vector<Segment> pieces{list(ascending)};
    if (exhausted)
        pieces.push_back(list(std::vector<qint64>(size_t(left), kNoKey)));
    else
        pieces.push_back(unread(left, ascending.empty() ? gap.after : ascending.back(), gap.upTo));
    replace(i, std::move(pieces));
}

void KeySnapshot::fillBack(int gapFirst, const std::vector<qint64>& descending, bool exhausted) {
    const int i = segmentAt(gapFirst);
    const Gap gap = gapOf(i);
    Q_ASSERT(gap.first == gapFirst && int(descending.size()) <= gap.count);
    const int left = gap.count - int(descending.size());
    std::vector<Segment> pieces;
    if (exhausted)
        pieces.push_back(list(std::vector<qint64>(size_t(left), kNoKey)));
    else
        pieces.push_back(unread(left, gap.after, descending.empty() ? gap.upTo : descending.back() - 1));
    pieces.push_back(list({descending.rbegin(), descending.rend()}));
    replace(i, std::move(pieces));
}

void KeySnapshot::place(int position, qint64 id) {
    const int i = segmentAt(position);
    const Gap gap = gapOf(i);
    Q_ASSERT(segments_[size_t(i)].kind == Segment::Kind::Unread && id > gap.after && id <= gap.upTo);
    const int below = position - gap.first;
    replace(i, {unread(below, gap.after, id - 1), list({id}), unread(gap.count - below - 1, id, gap.upTo)});
}

KeySnapshot::Found KeySnapshot::find(qint64 id) const {
    Found found;
    for (size_t i = 0; i < segments_.size(); ++i) {
        const Segment& s = segments_[i];
        switch (s.kind) {
        case Segment::Kind::Run:
            if (id >= s.first && id < s.first + s.count)
                return {starts_[i] + int(id - s.first), std::nullopt};
            break;
        case Segment::Kind::List:
            if (const auto at = std::find(s.ids.begin(), s.ids.end(), id); at != s.ids.end())
                return {starts_[i] + int(at - s.ids.begin()), std::nullopt};
            break;
        case Segment::Kind::Unread:
            if (id > s.first && id <= s.upTo && !found.gap)
                found.gap = gapOf(int(i));
            break;
        }
    }
    return found;
}

void KeySnapshot::splitAt(int position) {
    if (position >= size_)
        return;
    const int i = segmentAt(position);
    const int offset = position - starts_[size_t(i)];
    if (offset == 0)
        return;
    Segment& s = segments_[size_t(i)];
    Q_ASSERT(s.kind != Segment::Kind::Unread);
    if (s.kind == Segment::Kind::Run) {
        replace(i, {run(s.first, offset), run(s.first + offset, s.count - offset)});
        return;
    }
    std::vector<qint64> head(s.ids.begin(), s.ids.begin() + offset);
    std::vector<qint64> tail(s.ids.begin() + offset, s.ids.end());
    replace(i, {list(std::move(head)), list(std::move(tail))});
}

void KeySnapshot::insert(int position, qint64 id) {
    Q_ASSERT(position >= 0 && position <= size_);
    splitAt(position);
    const auto at = position == size_ ? segments_.end() : segments_.begin() + segmentAt(position);
    segments_.insert(at, list({id}));
    recount();
}

void KeySnapshot::erase(int position) {
    splitAt(position);
    splitAt(position + 1);
    segments_.erase(segments_.begin() + segmentAt(position));
    recount();
}

void KeySnapshot::replace(int segment, std::vector<Segment> pieces) {
    segments_.erase(segments_.begin() + segment);
    segments_.insert(segments_.begin() + segment, std::make_move_iterator(pieces.begin()),
                     std::make_move_iterator(pieces.end()));
    recount();
}

} // namespace kb::dataset
