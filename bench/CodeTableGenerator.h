// Generated code tables for the benchmarks: a demo account database with one code table,
// HR_CT900, of five levels of 2/4/6/9/12-digit codes shaped like the administrative divisions.

#pragma once

#include "BenchDatabase.h"

#include "db/Connection.h"
#include "entry/Defs.h"
#include "services/clsHrCTsFace.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>
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
constexpr int LevelDigits[5] = {2, 2, 2, 3, 3};

class CodeTable
{
public:
    explicit CodeTable(const Shape &shape)
        : m_conn(sharedConnection(m_database))
    {
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
        e.ExecuteNative(u"insert into "_s + Table + columns + numbers(shape.topCodes) + u"select "_s
                        + zeroPadded(u"10 + i"_s, LevelDigits[0])
                        + u", '地区' || (10 + i), '地区', 'DQ', 0, '', '1', '1', '0', '' from n"_s);
        int count = shape.topCodes;
        for (int level = 1; level <= 4; ++level) {
            const QString child = u"p.ccodeID || "_s + zeroPadded(u"n.i"_s, LevelDigits[level]);
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

    TestDatabase m_database;
    std::shared_ptr<db::Connection> m_conn;
};

} // namespace vorlane::bench
