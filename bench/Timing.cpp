#include "Timing.h"

#include "Connection.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace kb::bench {

namespace {

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

Timing measure(int runs, const std::function<int()>& job, const std::function<void()>& cleanup) {
    job();
    if (cleanup)
        cleanup();
    std::vector<double> wall;
    std::vector<double> cpu;
    int rows = 0;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = cpuMs();
        const auto start = std::chrono::steady_clock::now();
        rows = job();
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(cpuMs() - cpuStart);
        if (cleanup)
            cleanup();
    }
    return {median(wall), *std::min_element(wall.begin(), wall.end()), median(cpu), rows};
}

int runNative(const sql::Connection& connection, const QString& sql, const std::vector<sql::Value>& params) {
    sql::Statement statement = connection.prepareNative(sql);
    for (size_t i = 0; i < params.size(); ++i)
        statement.bind(int(i) + 1, params[i]);
    return int(statement.fetchAll().size());
}

void printRow(const char* what, const Timing& t, const char* target, const char* counted) {
    std::printf("  %-44s %9.2f ms (best %8.2f, cpu %8.2f, %6d %s)  %s\n", what, t.median, t.best, t.cpu, t.rows,
                counted, target);
}

void printRatio(const char* what, const Timing& ours, const Timing& native, const char* target) {
    std::printf("  %-44s %9.2f    (cpu %5.2f)                            %s\n", what, ours.median / native.median,
                ours.cpu / native.cpu, target);
}

} // namespace kb::bench
