#pragma once

#include <QtGlobal>
#include <limits>
#include <optional>
#include <vector>

namespace kb::dataset {

// Which rows a table object's snapshot holds: their IDs in cursor order
// (ascending ID, with the rows the table object itself inserted where they
// were inserted). It is made from three numbers read in one statement: how
// many rows there are and the least and greatest ID. When the count fills that
// range, the table has no gaps and every position's ID is arithmetic. When it
// does not, the IDs are read only as positions need them: an unread stretch
// (a Gap) stands for the IDs above `after` and up to `upTo`, in ascending
// order, and is filled from either end with what the table object reads.
//
// A position may hold no ID (kNoKey): when a stretch is read after another
// user deleted some of its rows, fewer IDs come back than it has positions;
// the positions left hold no ID, so that the count and every other position
// stay as they were.
class KeySnapshot {
public:
    static constexpr qint64 kNoKey = std::numeric_limits<qint64>::min();
    struct Gap {
        int first;    // its first position
        int count;    // positions
        qint64 after; // its IDs are greater than this ...
        qint64 upTo;  // ... and at most this
    };

    KeySnapshot() = default;
    // The count rows whose IDs go from least to greatest.
    static KeySnapshot counted(int count, qint64 least, qint64 greatest);

    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The first stretch still unread that has a position in [from, to).
    std::optional<Gap> firstGapIn(int from, int to) const;
    // The ID at a position that is read; kNoKey when it holds none.
    qint64 at(int position) const;

    // Fills the gap that starts at gapFirst from its start with IDs in
    // ascending order, or from its end with IDs in descending order. With
    // `exhausted` the gap's bounds hold no other ID: its positions left
    // hold none.
    void fillFront(int gapFirst, const std::vector<qint64>& ascending, bool exhausted);
    void fillBack(int gapFirst, const std::vector<qint64>& descending, bool exhausted);
    // Puts a known ID at a position of a gap, which splits around it.
    void place(int position, qint64 id);

    // Where an ID stands: at a position, or somewhere in a gap's bounds.
    struct Found {
        std::optional<int> position;
        std::optional<Gap> gap;
    };
    Found find(qint64 id) const;

    // A new ID at a read position or at the end; removing a read position.
    void insert(int position, qint64 id);
    void erase(int position);

private:
    struct Segment {
        enum class Kind { Run, List, Unread } kind;
        int count = 0;
        qint64 first = 0;        // Run: its first ID; Unread: the bound below its IDs
        qint64 upTo = 0;         // Unread: the greatest ID it may hold
        std::vector<qint64> ids; // List: one per position
    };
    static Segment run(qint64 first, int count);
    static Segment list(std::vector<qint64> ids);
    static Segment unread(int count, qint64 after, qint64 upTo);
    int segmentAt(int position) const;
    Gap gapOf(int segment) const;
    // Makes a segment start at the position (which must be read, or start a segment).
    void splitAt(int position);
    void replace(int segment, std::vector<Segment> pieces);
    void recount();

    std::vector<Segment> segments_;
    std::vector<int> starts_; // the first position of each segment
    int size_ = 0;
};

} // namespace kb::dataset
