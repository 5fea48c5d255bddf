#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Prints the usual table, then the CPU-time ratios of benchmarks measured in this process: the
// budget is a ratio from one run, never an absolute time. With repetitions the median counts,
// otherwise the last run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    struct Ratio
    {
        std::string label;
        std::string measured;
        std::string baseline;
        double target;
    };

    explicit RatioReporter(std::vector<Ratio> ratios)
        : m_ratios(std::move(ratios))
    {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const std::string &name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_median[name] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Iteration)
                m_cpuTime[name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[name, time] : m_median)
            m_cpuTime[name] = time;
        for (const Ratio &r : m_ratios) {
            const auto m = m_cpuTime.find(r.measured);
            const auto b = m_cpuTime.find(r.baseline);
            if (m == m_cpuTime.end() || b == m_cpuTime.end() || b->second <= 0)
                continue;
            std::printf("ratio %s (CPU time): %.2f (target <= %g)\n",
                        r.label.c_str(),
                        m->second / b->second,
                        r.target);
        }
    }

private:
    std::vector<Ratio> m_ratios;
    std::map<std::string, double> m_cpuTime;
    std::map<std::string, double> m_median;
};
