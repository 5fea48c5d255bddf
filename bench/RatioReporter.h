#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vorlane::bench {

// Prints the usual table, then the ratios of benchmarks measured in this process, headed by the
// engine they ran on: the budget is a ratio from one run, never an absolute time. With
// repetitions the median counts, otherwise the last run.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    // CPU time where all the work runs in this process (SQLite); real time where a server does
    // part of it in its own (PostgreSQL); both for the benchmarks that compare a large table with
    // a small one on SQLite.
    enum class Times { Cpu, Real, CpuAndReal };

    struct Ratio
    {
        std::string label;
        // A benchmark's function name, with "/" and its argument when it has one.
        std::string measured;
        std::string baseline;
        double target;
    };

    RatioReporter(std::string engine, Times times, std::vector<Ratio> ratios)
        : m_engine(std::move(engine))
        , m_times(times)
        , m_ratios(std::move(ratios))
    {}

    // Each function with a large argument against itself with a small one; the label is the
    // function's name followed by `what`.
    static std::vector<Ratio> scaled(const std::vector<std::string> &functions,
                                     long small,
                                     long large,
                                     const std::string &what,
                                     double target)
    {
        std::vector<Ratio> ratios;
        for (const std::string &f : functions)
            ratios.push_back({f + ' ' + what,
                              f + '/' + std::to_string(large),
                              f + '/' + std::to_string(small),
                              target});
        return ratios;
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += '/' + run.run_name.args;
            const Time t{run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_median[name] = t;
            else if (run.run_type == Run::RT_Iteration)
                m_last[name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[name, t] : m_median)
            m_last[name] = t;
        std::printf("engine: %s\n", m_engine.c_str());
        for (const Ratio &r : m_ratios) {
            const auto m = m_last.find(r.measured);
            const auto b = m_last.find(r.baseline);
            if (m == m_last.end() || b == m_last.end() || b->second.cpu <= 0 || b->second.real <= 0)
                continue;
            const double cpu = m->second.cpu / b->second.cpu;
            const double real = m->second.real / b->second.real;
            switch (m_times) {
            case Times::Cpu:
                std::printf(
                    "ratio %s (CPU time): %.2f (target <= %g)\n", r.label.c_str(), cpu, r.target);
                break;
            case Times::Real:
                std::printf(
                    "ratio %s (real time): %.2f (target <= %g)\n", r.label.c_str(), real, r.target);
                break;
            case Times::CpuAndReal:
                std::printf("ratio %s: %.2f CPU, %.2f real (target <= %g)\n",
                            r.label.c_str(),
                            cpu,
                            real,
                            r.target);
                break;
            }
        }
    }

private:
    struct Time
    {
        double cpu;
        double real;
    };

    std::string m_engine;
    Times m_times;
    std::vector<Ratio> m_ratios;
    std::map<std::string, Time> m_last;
    std::map<std::string, Time> m_median;
};

} // namespace vorlane::bench
