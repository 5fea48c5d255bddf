#include "ServiceDatabase.h"

#include "model/clsHrCT.h"
#include "model/clsHrSysDataTypes.h"
#include "model/clsHrSysItemDict.h"
#include "services/ColumnStatements.h"
#include "services/Sql.h"
#include "services/clsHrCTsFace.h"
#include "services/clsHrSysItemDictsFace.h"

#include <QTest>

using namespace vorlane;
using namespace Qt::StringLiterals;
using vorlane::test::ServiceDatabase;

// Values as a host's own tables hold them: codes padded by fixed-width columns, codes with the
// pattern characters of LIKE, fact types with argument lists.
class TestHostValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paddedCodesAreTrimmed();
    void factTypes_data();
    void factTypes();
    void patternCharactersMatchOnlyThemselves();
};

// The statements of padded codes are the statement tests' rows; here what they store.
void TestHostValues::paddedCodesAreTrimmed()
{
    ServiceDatabase sdb;
    clsHrSysItemDictsFace items;
    clsHrSysItemDict item;
    item.setTableCode(u"hr_hi_person   "_s);
    item.setItemCode(u"cPsn_Num  "_s);
    item.setItemname(u"人员编号"_s);
    item.setReferenceObj(u"    "_s);
    QVERIFY2(items.Modify(item), qPrintable(items.lastError()));
    QCOMPARE(sdb.texts(u"select vItemName, vReferenceObj from hr_sys_itemdict "
                       "where cTableCode='hr_hi_person' and cItemCode='cPsn_Num'"_s),
             (QStringList{u"人员编号"_s, QString()}));
    QCOMPARE(services::checkedIdentifier(u" HR001   "_s), u"HR001"_s);
    QCOMPARE(ColumnStatements::DropStatement(u"HR001 "_s, u"cName  "_s),
             u"ALTER TABLE HR001 DROP COLUMN cName"_s);
}

void TestHostValues::factTypes_data()
{
    QTest::addColumn<QString>("dataType");
    QTest::addColumn<QString>("factType");
    QTest::addColumn<QString>("definition"); // empty: refused
    QTest::newRow("max") << u"3"_s << u"nvarchar(max)"_s << u"cNew nvarchar(max)  null "_s;
    QTest::newRow("max, upper case")
        << u"3"_s << u"VARCHAR(MAX)"_s << u"cNew VARCHAR(MAX)  null "_s;
    QTest::newRow("blank before the list")
        << u"4"_s << u"numeric (18,2)"_s << u"cNew numeric (12,2)  null "_s;
    QTest::newRow("blanks inside")
        << u"3"_s << u"decimal( 18 , 2 )"_s << u"cNew decimal( 18 , 2 )  null "_s;
    QTest::newRow("two words") << u"3"_s << u"double precision"_s
                               << u"cNew double precision  null "_s;
    QTest::newRow("word in the list") << u"3"_s << u"numeric(18,x)"_s << QString();
    QTest::newRow("unclosed") << u"3"_s << u"varchar(max"_s << QString();
    QTest::newRow("statement") << u"3"_s << u"int;drop table x"_s << QString();
    QTest::newRow("empty list") << u"3"_s << u"varchar()"_s << QString();
}

void TestHostValues::factTypes()
{
    QFETCH(QString, dataType);
    QFETCH(QString, factType);
    QFETCH(QString, definition);
    QString made;
    try {
        made = ColumnStatements::AddDefinition(u"cNew"_s, dataType, factType, u"12"_s, u"2"_s);
    } catch (const services::SqlInputError &) {
    }
    QCOMPARE(made, definition);
    if (definition.isEmpty())
        return;
    // The column is made on the embedded engine too.
    ServiceDatabase sdb;
    sdb.exec(u"create table HR_FACT (PK_HR_FACT varchar(36) primary key)"_s);
    clsHrSysItemDictsFace items;
    QVERIFY2(items.InsertTableField(ColumnStatements::AddStatement(u"HR_FACT"_s, {definition})),
             qPrintable(items.lastError()));
    QVERIFY(sdb.db().columns(u"HR_FACT"_s).contains(u"cnew"_s));
}

void TestHostValues::patternCharactersMatchOnlyThemselves()
{
    ServiceDatabase sdb;
    clsHrCTsFace cts;
    const QString t = u"HR_CT951"_s;
    QVERIFY2(cts.CreateTable(t), qPrintable(cts.lastError()));
    clsHrCT c;
    c.setDescription(u"x"_s);
    c.setHideFlag(u"0"_s);
    for (const QString &id :
         u"01_2 01_25 0132 01% 01%9 0100 [1] [1]2 1 1' 1'2 12 a\\b a\\\\b"_s.split(u' ')) {
        c.setCodeId(id);
        QVERIFY2(cts.Add(c, t), qPrintable(id + cts.lastError()));
    }
    // Sorted here: the engines' collations order punctuation differently.
    const auto codes = [&](const QString &where) {
        QStringList ids = sdb.values(u"select ccodeID from "_s + t + u" where "_s + where);
        ids.sort();
        return ids.join(u' ');
    };

    c.setCodeId(u"01_2"_s);
    c.setHideFlag(u"1"_s);
    QVERIFY2(cts.Modify(c, t), qPrintable(cts.lastError()));
    QCOMPARE(codes(u"bhideFlag='1'"_s), u"01_2 01_25"_s);
    c.setCodeId(u"1'"_s);
    QVERIFY2(cts.Modify(c, t), qPrintable(cts.lastError()));
    QCOMPARE(codes(u"bhideFlag='1'"_s), u"01_2 01_25 1' 1'2"_s);

    QVERIFY2(cts.Delete(t, u"01_2"_s), qPrintable(cts.lastError()));
    QCOMPARE(codes(u"1=1"_s), u"01% 01%9 0100 0132 1 1' 1'2 12 [1] [1]2 a\\\\b a\\b"_s);
    QVERIFY(cts.Delete(t, u"01%"_s));
    QVERIFY(cts.Delete(t, u"1'"_s));
    QVERIFY(cts.Delete(t, u"[1]"_s));
    QVERIFY(cts.Delete(t, u"a\\b"_s));
    QCOMPARE(codes(u"1=1"_s), u"0100 0132 1 12 a\\\\b"_s);
}

int runHostValuesTests(int argc, char **argv)
{
    TestHostValues t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_hostvalues.moc"
