#include "Figures.h"

#include <cstdio>

namespace kb::bench {

void Figures::row(const char* what, const Timing& t, const char* target, const char* counted) {
    lines_.push_back({what, target, counted, t.median, t.cpu, t.rows});
}

void Figures::ratio(const char* what, const Timing& ours, const Timing& other, const char* target) {
    lines_.push_back({what, target, {}, ours.median / other.median, ours.cpu / other.cpu, 0});
}

void printSideBySide(const QStringList& engines, const std::vector<Figures>& columns) {
    std::printf("  %-44s", "");
    for (const QString& engine : engines)
        std::printf(" %24s", engine.toUtf8().constData());
    std::printf("\n");
    for (size_t i = 0; i < columns.front().lines().size(); ++i) {
        const Figures::Line& first = columns.front().lines()[i];
        std::printf("  %-44s", first.what.constData());
        QByteArray counts = QByteArray::number(first.rows);
        for (const Figures& column : columns) {
            const Figures::Line& line = column.lines()[i];
            if (line.counted.isEmpty())
                std::printf(" %9.2f    (cpu %6.2f)  ", line.value, line.cpu);
            else
                std::printf(" %9.2f ms (cpu %7.1f)", line.value, line.cpu);
            if (line.rows != first.rows)
                counts += '/' + QByteArray::number(line.rows);
        }
        if (!first.counted.isEmpty())
            std::printf("  %7s %-6s", counts.constData(), first.counted.constData());
        else
            std::printf("  %14s", "");
        std::printf(" %s\n", first.target.constData());
    }
}

} // namespace kb::bench
