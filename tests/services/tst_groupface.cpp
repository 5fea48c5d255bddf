#include "ServiceDatabase.h"

#include "model/clsHrSystGroup.h"
#include "services/clsHrSystGroupFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

namespace {

clsHrSystGroup group(const QString &code, const QString &name, qint16 sysFlag, const QString &memo)
{
    clsHrSystGroup g;
    g.setTableGroup(code);
    g.setDescription(name);
    g.setSFlag(sysFlag);
    g.setMemo(memo);
    return g;
}

QStringList groupRow(ServiceDatabase &sdb, const QString &code)
{
    return sdb.texts(u"select vDescription, bsysflag, vmemo from hr_sys_tgroup where iTableGroup="_s
                     + code);
}

} // namespace

class TestGroupFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addInsertsGroup();
    void modifyUsesArgumentNotRecordCode();
    void failsWithoutConnection();
};

void TestGroupFace::addInsertsGroup()
{
    ServiceDatabase sdb;
    clsHrSystGroupFace face;
    QVERIFY2(face.Add(group(u"77"_s, u"培训"_s, 1, u"培训类表"_s)), qPrintable(face.lastError()));
    QCOMPARE(groupRow(sdb, u"77"_s), (QStringList{u"培训"_s, u"1"_s, u"培训类表"_s}));
    // A second group with the code fails and changes nothing.
    QVERIFY(!face.Add(group(u"77"_s, u"别的"_s, 0, {})));
    QVERIFY(!face.lastError().isEmpty());
    QCOMPARE(groupRow(sdb, u"77"_s).value(0), u"培训"_s);
}

void TestGroupFace::modifyUsesArgumentNotRecordCode()
{
    ServiceDatabase sdb;
    clsHrSystGroupFace face;
    QVERIFY(face.Add(group(u"77"_s, u"培训"_s, 1, u"旧"_s)));
    QVERIFY(face.Add(group(u"78"_s, u"奖惩"_s, 1, u"旧"_s)));

    QVERIFY2(face.Modify(group(u"78"_s, u"培训考核"_s, 0, u"新"_s), u"77"_s),
             qPrintable(face.lastError()));

    QCOMPARE(groupRow(sdb, u"77"_s), (QStringList{u"培训考核"_s, u"0"_s, u"新"_s}));
    QCOMPARE(groupRow(sdb, u"78"_s), (QStringList{u"奖惩"_s, u"1"_s, u"旧"_s}));
}

void TestGroupFace::failsWithoutConnection()
{
    ServiceDatabase sdb;
    Defs::instance().connection.reset();
    clsHrSystGroupFace face;
    QVERIFY(!face.Add(group(u"77"_s, u"培训"_s, 1, {})));
    QVERIFY(!face.Modify(group(u"77"_s, u"培训"_s, 1, {}), u"1"_s));
    QVERIFY(!face.lastError().isEmpty());
}

int runGroupFaceTests(int argc, char **argv)
{
    TestGroupFace t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_groupface.moc"
