#include "ServiceDatabase.h"

#include "model/clsHrSystGroup.h"
#include "services/clsHrSystGroupFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

// What Add and Modify write, and that Modify keys on its argument, are the statement tests' rows.
class TestGroupFace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failsWithoutConnection();
};

void TestGroupFace::failsWithoutConnection()
{
    ServiceDatabase sdb;
    Defs::instance().connection.reset();
    clsHrSystGroupFace face;
    clsHrSystGroup g;
    g.setTableGroup(u"77"_s);
    g.setDescription(u"培训"_s);
    QVERIFY(!face.Add(g));
    QVERIFY(!face.Modify(g, u"1"_s));
    QVERIFY(!face.lastError().isEmpty());
}

int runGroupFaceTests(int argc, char **argv)
{
    TestGroupFace t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_groupface.moc"
