#include "PageCache.h"

#include <algorithm>

namespace kb::dataset {

const PageCache::Row* PageCache::find(int row) {
    const auto kept = std::find_if(pages_.begin(), pages_.end(), [row](const Page& p) { return p.holds(row); });
    if (kept == pages_.end())
        return nullptr;
    std::rotate(kept, kept + 1, pages_.end());
    const Page& page = pages_.back();
    return &page.rows[size_t(row - page.first)];
}

void PageCache::keep(Page page) {
    if (pages_.size() >= kKeptPages)
        pages_.erase(pages_.begin());
    pages_.push_back(std::move(page));
}

void PageCache::store(int row, const Row& stored) {
    bool held = false;
    for (Page& page : pages_) {
        if (page.holds(row)) {
            page.rows[size_t(row - page.first)] = stored;
            held = true;
        }
    }
    if (!held)
        keep(Page{row, {stored}});
}

void PageCache::insert(int row, const Row& stored) {
    bool held = false;
    for (Page& page : pages_) {
        if (row < page.first) {
            ++page.first;
        } else if (row <= page.first + int(page.rows.size())) {
            page.rows.insert(page.rows.begin() + (row - page.first), stored);
            held = true;
        }
    }
    if (!held)
        keep(Page{row, {stored}});
}

void PageCache::remove(int row) {
    for (Page& page : pages_) {
        if (row < page.first)
            --page.first;
        else if (page.holds(row))
            page.rows.erase(page.rows.begin() + (row - page.first));
    }
    std::erase_if(pages_, [](const Page& p) { return p.rows.empty(); });
}

} // namespace kb::dataset
