// The snapshot of IDs behind a table object's cursor, against a plain list (the table test pins it on a file).
#include "KeySnapshot.h"

#include <QTest>
#include <random>

using kb::dataset::KeySnapshot;
using Ids = std::vector<qint64>;

class TestKeySnapshot : public QObject {
    Q_OBJECT
private slots:
    // Rows inserted and removed at random positions, with the IDs read in one run or from both ends of a gap: the
    // snapshot answers like the plain list of IDs (a position still in a gap shown as 0).
    void editsMatchPlainList() {
        for (const bool gaps : {false, true}) {
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
                Ids shown;
                for (int p = 0; p < s.size(); ++p)
                    shown.push_back(s.firstGapIn(p, p + 1) ? 0 : s.at(p));
                QCOMPARE(shown, expected);
                QCOMPARE(s.find(expected.front()).position, std::optional(0));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestKeySnapshot)
#include "tst_keysnapshot.moc"
