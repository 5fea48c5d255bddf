// The engine the benchmarks run on: SQLite, or PostgreSQL when VORLANE_TEST_PG names a server
// (an ODBC connection string, as for the tests). Databases are the tests' TestDatabase: a file in
// a temporary directory, or a database of its own on the server, dropped afterwards. Generators
// fill them with statements both engines run, apart from the fragments below.

#pragma once

#include "RatioReporter.h"
#include "TestDatabase.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace vorlane::bench {

using namespace Qt::StringLiterals;
using test::TestDatabase;

inline bool onPostgres()
{
    return TestDatabase::onPostgres();
}

// The server's work runs in another process, which this process's CPU time does not see: on
// PostgreSQL, iterations are counted and ratios taken in real time. BENCHMARK(...)->Apply(timing)
inline void timing(benchmark::internal::Benchmark *b)
{
    if (onPostgres())
        b->UseRealTime();
}

// Names the engine in the context printed before the results.
inline void announceEngine()
{
    benchmark::AddCustomContext("engine", TestDatabase::engineName().toStdString());
}

// A reporter of the ratios with the times that count on this engine; `scaled` for those of a
// large table against a small one.
inline RatioReporter ratioReporter(std::vector<RatioReporter::Ratio> ratios, bool scaled = false)
{
    const auto times = onPostgres() ? RatioReporter::Times::Real
                       : scaled     ? RatioReporter::Times::CpuAndReal
                                    : RatioReporter::Times::Cpu;
    return RatioReporter(TestDatabase::engineName().toStdString(), times, std::move(ratios));
}

// The frame of every benchmark program: options read, the engine named, `prepare` run before
// anything is timed (a failure ends the program, naming `what` could not be generated), then the
// benchmarks run and their ratios (those `prepare` returns) reported.
template<typename Prepare>
int runBenchmarks(int &argc, char **argv, const char *what, bool scaled, Prepare prepare)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    announceEngine();
    std::vector<RatioReporter::Ratio> ratios;
    try {
        ratios = prepare();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "cannot generate %s: %s\n", what, e.what());
        return 1;
    }
    auto reporter = ratioReporter(std::move(ratios), scaled);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

// The login context's connection: another connection to the database, which the services share.
inline std::shared_ptr<db::Connection> sharedConnection(const TestDatabase &database)
{
    return database.openAnother();
}

// The decimal digits of an integer expression, zero-padded to a width.
inline QString zeroPadded(const QString &expr, int width)
{
    if (onPostgres())
        return u"lpad(CAST("_s + expr + u" AS text), "_s + QString::number(width) + u", '0')"_s;
    return u"printf('%0"_s + QString::number(width) + u"d', "_s + expr + u')';
}

// The hexadecimal digits of an integer expression in capitals, zero-padded to a width.
inline QString hexPadded(const QString &expr, int width)
{
    if (onPostgres())
        return u"upper(lpad(to_hex("_s + expr + u"), "_s + QString::number(width) + u", '0'))"_s;
    return u"printf('%0"_s + QString::number(width) + u"X', "_s + expr + u')';
}

// n(i) from 1 to upTo, for the statement that follows.
inline QString numbers(int upTo)
{
    return u"with recursive n(i) as (select 1 union all select i + 1 from n where i < "_s
           + QString::number(upTo) + u") "_s;
}

} // namespace vorlane::bench
