#pragma once

#include "Value.h"

#include <vector>

namespace kb::dataset {

// The stored values of a table object's rows, kept by pages: a page holds the
// rows at consecutive positions of the snapshot. Only the last few pages used
// are kept; rows inserted or removed through the table object shift the
// positions of the pages after them.
class PageCache {
public:
    using Row = std::vector<sql::Value>;
    struct Page {
        int first = 0; // the position of its first row
        std::vector<Row> rows;
        bool holds(int row) const { return row >= first && row < first + int(rows.size()); }
    };
    static constexpr size_t kKeptPages = 4;

    // The kept row at a position, its page now the last used; null when no kept page holds it.
    const Row* find(int row);
    // Keeps a page just read, dropping the least recently used beyond kKeptPages.
    void keep(Page page);
    void clear() { pages_.clear(); }

    // A row stored at, inserted at or removed from a position. A row stored or
    // inserted where no kept page holds it is kept as a page of its own: the
    // row just posted is shown without reading the file again, so a post that
    // has committed is never followed by a read that another user's lock fails.
    void store(int row, const Row& stored);
    void insert(int row, const Row& stored);
    void remove(int row);

private:
    std::vector<Page> pages_; // the last used last
};

} // namespace kb::dataset
