#include "ServiceDatabase.h"

#include "model/clsHrCT.h"
#include "services/clsHrCTsFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

namespace {

const QString T = u"HR_CT900"_s;

clsHrCT code(const QString &id, const QString &parent, int level, const QString &name = {})
{
    clsHrCT c;
    c.setCodeId(id);
    c.setDescription(name.isEmpty() ? u"代码"_s + id : name);
    c.setSimpleName(u"简称"_s + id);
    c.setSimpleSpell(u"DM"_s);
    c.setLevels(level);
    c.setPCodeId(parent);
    c.setSFlag(u"1"_s);
    c.setCFlag(u"0"_s);
    c.setHideFlag(u"0"_s);
    c.setMemo(u"备注"_s);
    return c;
}

// A code table holding 11 > 1101 > 110101, 110102; 1199 (prefix of 11, parent 12); 12; 2.
void fillTree(clsHrCTsFace &face)
{
    const QList<clsHrCT> codes{code(u"11"_s, {}, 0),
                               code(u"1101"_s, u"11"_s, 1),
                               code(u"110101"_s, u"1101"_s, 2),
                               code(u"110102"_s, u"1101"_s, 2),
                               code(u"1199"_s, u"12"_s, 1),
                               code(u"12"_s, {}, 0),
                               code(u"2"_s, {}, 0)};
    for (const clsHrCT &c : codes)
        QVERIFY2(face.Add(c, T), qPrintable(face.lastError()));
}

QStringList codesWhere(ServiceDatabase &sdb, const QString &where)
{
    return sdb.values(u"select ccodeID from "_s + T + u" where "_s + where
                      + u" order by ccodeID"_s);
}

} // namespace

class TestCTsFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createAddAndReplace();
    void modifySpreadsHideFlagByPrefixAndRefusesBlanks();
    void deleteRemovesPrefixSubtree();
};

void TestCTsFace::createAddAndReplace()
{
    ServiceDatabase sdb;
    sdb.exec(u"delete from hr_bd_fld where cTable='HR_CT'"_s);
    clsHrCTsFace face;
    QVERIFY2(face.CreateTable(T), qPrintable(face.lastError())); // without template columns
    QCOMPARE(sdb.count(u"select count(*) from hr_sys_itemdict where cTableCode='HR_CT900'"_s), 0);

    // Every column goes in, the parent need not exist.
    clsHrCT c = code(u"a301"_s, u"03"_s, 1, u"北京"_s);
    c.setHideFlag(u"1"_s);
    c.setCFlag(u"1"_s);
    QVERIFY2(face.Add(c, T), qPrintable(face.lastError()));
    QCOMPARE(sdb.texts(u"select * from HR_CT900"_s),
             u"a301 北京 简称a301 DM 1 03 1 1 1 备注"_s.split(u' '));

    fillTree(face);
    QVERIFY2(face.CreateTable(T), qPrintable(face.lastError()));
    QCOMPARE(sdb.count(u"select count(*) from HR_CT900"_s), 0);
    QCOMPARE(sdb.indexCount(u"HR_CT900"_s, u"IX_HR_CT900_"_s), 2);
}

void TestCTsFace::modifySpreadsHideFlagByPrefixAndRefusesBlanks()
{
    ServiceDatabase sdb;
    clsHrCTsFace face;
    QVERIFY(face.CreateTable(T));
    fillTree(face);

    clsHrCT changed = code(u"11"_s, {}, 0);
    changed.setHideFlag(u"1"_s);
    QVERIFY2(face.Modify(changed, T), qPrintable(face.lastError()));
    // Every code that begins with it is hidden, whatever its parent says. The columns written, and
    // the spread of a shown flag, are the statement tests' rows.
    QCOMPARE(codesWhere(sdb, u"bhideFlag='1'"_s),
             (QStringList{u"11"_s, u"1101"_s, u"110101"_s, u"110102"_s, u"1199"_s}));

    // An empty code would hide the whole table through the prefix spread.
    const auto before = sdb.totalChanges();
    QVERIFY(!face.Modify(code(QString(), {}, 0), T));
    QVERIFY(!face.lastError().isEmpty());
    QCOMPARE(sdb.totalChanges(), before);
}

void TestCTsFace::deleteRemovesPrefixSubtree()
{
    ServiceDatabase sdb;
    clsHrCTsFace face;
    QVERIFY(face.CreateTable(T));
    fillTree(face);
    sdb.exec(u"update HR_CT900 set bChildFlag='1' where ccodeID in ('11', '1101')"_s);
    // Code, then what remains: an unknown code, an inner one, a top-level one whose prefix takes
    // 1199 of another parent, a prefix of several top codes.
    const QStringList steps{
        u"3|11 1101 110101 110102 1199 12 2"_s, u"1101|11 1199 12 2"_s, u"11|12 2"_s, u"1|2"_s};
    for (const QString &step : steps) {
        QVERIFY2(face.Delete(T, step.section(u'|', 0, 0)), qPrintable(face.lastError()));
        QCOMPARE(codesWhere(sdb, u"1=1"_s).join(u' '), step.section(u'|', 1));
        // The parent's child flag is the caller's business.
        if (step.startsWith(u"1101"))
            QCOMPARE(sdb.count(u"select bChildFlag from HR_CT900 where ccodeID='11'"_s), 1);
    }
}

int runCTsFaceTests(int argc, char **argv)
{
    TestCTsFace t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_ctsface.moc"
