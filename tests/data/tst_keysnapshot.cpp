#include "RowidSnapshot.h"
#include "TestRows.h"

#include <QTest>
#include <random>

using kb::RowidSnapshot;

// The snapshot must answer exactly like the plain list of rowids it stands
// for, through any sequence of rows inserted and deleted at any position.
class TestRowidSnapshot : public QObject {
    Q_OBJECT

    static void compare(const RowidSnapshot& snapshot, const std::vector<qint64>& expected) {
        QCOMPARE(snapshot.size(), int(expected.size()));
        QCOMPARE(snapshot.slice(0, snapshot.size()), expected);
        for (int position = 0; position < int(expected.size()); ++position)
            QCOMPARE(snapshot.positionOf(expected[size_t(position)]), std::optional<int>(position));
    }

private slots:
    void editsMatchPlainList_data() {
        using Rowids = std::vector<qint64>;
        kbtest::columns<Rowids, bool>("start", "consecutive");
        kbtest::row("empty", Rowids{}, false);
        kbtest::row("one run", Rowids{5, 6, 7, 8, 9, 10, 11, 12}, true);
        kbtest::row("runs with gaps", Rowids{1, 2, 4, 7, 8, 9, 20}, false);
    }
    void editsMatchPlainList() {
        const auto [start, consecutive] = kbtest::fetch<std::vector<qint64>, bool>("start", "consecutive");
        RowidSnapshot snapshot =
            consecutive ? RowidSnapshot::consecutive(start.front(), int(start.size())) : RowidSnapshot::of(start);
        std::vector<qint64> expected = start;
        compare(snapshot, expected);
        std::mt19937 random(7);
        qint64 next = 100;
        for (int step = 0; step < 60; ++step) {
            const bool insert = expected.empty() || random() % 3 != 0;
            if (insert) {
                const int at = int(random() % (expected.size() + 1));
                snapshot.insert(at, next);
                expected.insert(expected.begin() + at, next++);
            } else {
                const int at = int(random() % expected.size());
                snapshot.erase(at);
                expected.erase(expected.begin() + at);
            }
            compare(snapshot, expected);
        }
        QCOMPARE(snapshot.positionOf(99), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestRowidSnapshot)
#include "tst_rowidsnapshot.moc"
