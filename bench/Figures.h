#pragma once

#include "Timing.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace kb::bench {

// The figures of one engine, kept in the order they were taken, so that the
// same measurements on several engines print as one table, a column each.
class Figures {
public:
    void row(const char* what, const Timing& t, const char* target, const char* counted = "rows");
    void ratio(const char* what, const Timing& ours, const Timing& other, const char* target);

    struct Line {
        QByteArray what;
        QByteArray target;
        QByteArray counted; // empty for a ratio
        double value;       // milliseconds (median) or the ratio of medians
        double cpu;         // milliseconds or the ratio of processor times
        int rows;
    };
    const std::vector<Line>& lines() const { return lines_; }

private:
    std::vector<Line> lines_;
};

// One line per measurement, one column per engine (named in engines, in the
// order of columns): the median, the processor time, then the rows counted
// (all engines' when they differ) and the target.
void printSideBySide(const QStringList& engines, const std::vector<Figures>& columns);

} // namespace kb::bench
