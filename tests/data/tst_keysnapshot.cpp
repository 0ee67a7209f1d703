// The parts of a table object's cursor that need no file: the snapshot of IDs and the kept pages.
#include "KeySnapshot.h"
#include "PageCache.h"
#include "TestRows.h"

#include <QTest>
#include <random>

using kb::KeySnapshot;
using Ids = std::vector<qint64>;
constexpr qint64 kNone = KeySnapshot::kNoKey;

namespace {

// Every position's ID, each gap's positions as 0.
Ids shown(const KeySnapshot& s) {
    Ids ids;
    for (int p = 0; p < s.size(); ++p)
        ids.push_back(s.firstGapIn(p, p + 1) ? 0 : s.at(p));
    return ids;
}

} // namespace

class TestKeySnapshot : public QObject {
    Q_OBJECT
private slots:
    // Five rows with IDs 1 to 20, read from either end: each read fills its end of the gap and narrows its bounds; a
    // read that finds fewer IDs than positions leaves the rest without an ID, keeping the count.
    void gapsFillFromEitherEnd() {
        KeySnapshot s = KeySnapshot::counted(5, 1, 20);
        QCOMPARE(shown(s), (Ids{0, 0, 0, 0, 0}));
        s.fillFront(0, {1, 2}, false);
        s.fillBack(2, {20, 9}, false);
        const auto gap = s.firstGapIn(0, 5);
        QVERIFY(gap && gap->first == 2 && gap->count == 1 && gap->after == 2 && gap->upTo == 8);
        QCOMPARE(s.find(9).position, std::optional(3));
        QCOMPARE(s.find(5).gap->first, 2);
        s.fillFront(2, {}, true);
        QCOMPARE(shown(s), (Ids{1, 2, kNone, 9, 20}));
        KeySnapshot placed = KeySnapshot::counted(5, 1, 20);
        placed.place(2, 7);
        QCOMPARE(shown(placed), (Ids{0, 0, 7, 0, 0}));
        QCOMPARE(placed.firstGapIn(3, 5)->after, 7);
        QCOMPARE(placed.firstGapIn(0, 2)->upTo, 6);
    }

    // Rows inserted and removed at any read position: the snapshot answers like the plain list of IDs.
    void editsMatchPlainList_data() {
        kbtest::columns<bool>("gaps");
        kbtest::row("one run", false);
        kbtest::row("read from gaps", true);
    }
    void editsMatchPlainList() {
        const auto [gaps] = kbtest::fetch<bool>("gaps");
        KeySnapshot s = KeySnapshot::counted(8, 5, gaps ? 40 : 12);
        Ids expected = gaps ? Ids{5, 7, 9, 11, 30, 31, 35, 40} : Ids{5, 6, 7, 8, 9, 10, 11, 12};
        if (gaps) {
            s.fillFront(0, {5, 7, 9}, false);
            s.fillBack(3, {40, 35, 31, 30, 11}, false);
        }
        std::mt19937 random(7);
        for (qint64 next = 100; next < 160; ++next) {
            if (expected.empty() || random() % 3 != 0) {
                const int at = int(random() % (expected.size() + 1));
                s.insert(at, next);
                expected.insert(expected.begin() + at, next);
            } else {
                const int at = int(random() % expected.size());
                s.erase(at);
                expected.erase(expected.begin() + at);
            }
            QCOMPARE(shown(s), expected);
            QCOMPARE(s.find(expected.front()).position, std::optional(0));
        }
    }

    // Only the pages used last are kept; a row inserted or removed shifts the positions of the pages after it.
    void pageCache() {
        kb::PageCache cache;
        for (int page = 0; page < 5; ++page)
            cache.keep({page * 2, {{kb::Value(page * 2)}, {kb::Value(page * 2 + 1)}}});
        QVERIFY(!cache.find(1));
        QCOMPARE(cache.find(2)->front(), kb::Value(2));
        cache.insert(3, {kb::Value(-1)});
        QCOMPARE(cache.find(9)->front(), kb::Value(8));
        cache.remove(2);
        QCOMPARE(cache.find(2)->front(), kb::Value(-1));
        QCOMPARE(cache.find(8)->front(), kb::Value(8));
    }
};

QTEST_GUILESS_MAIN(TestKeySnapshot)
#include "tst_keysnapshot.moc"
