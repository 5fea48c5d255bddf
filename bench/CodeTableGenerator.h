// Generated code tables for the benchmarks: a demo account database with one code table,
// HR_CT900, of five levels of 2/4/6/9/12-digit codes shaped like the administrative divisions,
// and a reporter that prints large / small ratios.

#pragma once

#include "db/Connection.h"
#include "entry/Defs.h"
#include "host/DemoAccount.h"
#include "services/clsHrCTsFace.h"

#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

namespace vorlane::bench {

using namespace Qt::StringLiterals;

inline const QString Table = u"HR_CT900"_s;

// Children per code of the level above; the last level is cut off at the total, and a level
// with a cap keeps no more codes than that.
struct Shape
{
    int topCodes;
    int fanout[4];
    int total;
    int cap[4] = {};
};

// Digits each level adds to its parent's code: 2, 4, 6, 9 and 12 digits in all.
constexpr const char *LevelFormat[5] = {"%02d", "%02d", "%02d", "%03d", "%03d"};

class CodeTable
{
public:
    explicit CodeTable(const Shape &shape)
    {
        if (!m_dir.isValid())
            throw std::runtime_error("no temporary directory");
        m_conn = std::make_shared<db::Connection>();
        m_conn->Open(u"sqlite:"_s + m_dir.filePath(u"codes.db"_s));
        host::createDemoAccount(*m_conn);
        use();
        clsHrCTsFace face;
        if (!face.CreateTable(Table))
            throw std::runtime_error(face.lastError().toStdString());
        generate(shape);
    }

    // Makes this table's database the login context's connection, as the services expect.
    void use() { Defs::instance().connection = m_conn; }
    db::Connection &conn() { return *m_conn; }
    int codes() { return scalar(u"select count(*) from "_s + Table); }

    // First column of every row of a query, in order.
    QStringList column(const QString &sql)
    {
        QStringList values;
        auto rs = m_conn->engine().QueryNative(sql);
        for (; !rs->Eof(); rs->MoveNext())
            values << rs->FieldValue(0).toString();
        return values;
    }

private:
    int scalar(const QString &sql)
    {
        auto rs = m_conn->engine().QueryNative(sql);
        return rs->FieldValue(0).toInt();
    }

    void generate(const Shape &shape)
    {
        db::Engine &e = m_conn->engine();
        const QString columns = u" (ccodeID, vdescription, vsimpleName, vsimpleSpell, ilevels, "
                                "cpCodeID, bsysFlag, bChildFlag, bhideFlag, vMemo) "_s;
        m_conn->BeginTrans();
        // QString::arg would take the printf formats for its own markers: plain concatenation.
        const auto numbers = [](int upTo) -> QString {
            return u"with recursive n(i) as (select 1 union all select i + 1 from n where i < "_s
                   + QString::number(upTo) + u") "_s;
        };
        const auto format
            = [](int level) -> QString { return QString::fromLatin1(LevelFormat[level]); };
        e.ExecuteNative(u"insert into "_s + Table + columns + numbers(shape.topCodes)
                        + u"select printf('"_s + format(0)
                        + u"', 10 + i), '地区' || (10 + i), '地区', 'DQ', 0, '', '1', '1', '0', '' "
                          "from n"_s);
        int count = shape.topCodes;
        for (int level = 1; level <= 4; ++level) {
            const QString child = u"p.ccodeID || printf('"_s + format(level) + u"', n.i)"_s;
            int limit = level == 4 ? shape.total - count : 1 << 30;
            if (shape.cap[level - 1] > 0)
                limit = std::min(limit, shape.cap[level - 1]);
            e.ExecuteNative(u"insert into "_s + Table + columns + numbers(shape.fanout[level - 1])
                            + u"select "_s + child + u", '地区' || "_s + child
                            + u", '地区', 'DQ', "_s + QString::number(level)
                            + u", p.ccodeID, '1', '"_s + (level < 4 ? u"1"_s : u"0"_s)
                            + u"', '0', '' from "_s + Table + u" p, n where p.ilevels = "_s
                            + QString::number(level - 1) + u" order by p.ccodeID, n.i limit "_s
                            + QString::number(limit));
            count = scalar(u"select count(*) from "_s + Table);
        }
        m_conn->CommitTrans();
        if (count != shape.total)
            throw std::runtime_error("code table generated with the wrong size");
    }

    QTemporaryDir m_dir;
    std::shared_ptr<db::Connection> m_conn;
};

// Prints the usual table, then large / small for each benchmark, from CPU and from real time.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    RatioReporter(int small, int large)
        : m_small(std::to_string(small))
        , m_large(std::to_string(large))
    {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            auto &t = m_times[run.run_name.function_name][run.run_name.args];
            t = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto &[name, byArgs] : m_times) {
            const auto s = byArgs.find(m_small);
            const auto l = byArgs.find(m_large);
            if (s == byArgs.end() || l == byArgs.end() || s->second.first <= 0)
                continue;
            std::printf("ratio %s %s / %s codes: %.2f CPU, %.2f real (target <= 2)\n",
                        name.c_str(),
                        m_large.c_str(),
                        m_small.c_str(),
                        l->second.first / s->second.first,
                        l->second.second / s->second.second);
        }
    }

private:
    std::string m_small;
    std::string m_large;
    std::map<std::string, std::map<std::string, std::pair<double, double>>> m_times;
};

} // namespace vorlane::bench
