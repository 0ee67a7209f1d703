#include "RowidSnapshot.h"

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
        QTest::addColumn<std::vector<qint64>>("start");
        QTest::addColumn<bool>("consecutive");
        QTest::newRow("empty") << std::vector<qint64>{} << false;
        QTest::newRow("one run") << std::vector<qint64>{5, 6, 7, 8, 9, 10, 11, 12} << true;
        QTest::newRow("runs with gaps") << std::vector<qint64>{1, 2, 4, 7, 8, 9, 20} << false;
    }
    void editsMatchPlainList() {
        QFETCH(std::vector<qint64>, start);
        QFETCH(bool, consecutive);
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
