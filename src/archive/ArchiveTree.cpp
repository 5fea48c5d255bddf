#include "ArchiveTree.h"

#include "entry/mdlFunction.h"
#include "model/clsHrSysSetDicts.h"
#include "services/Sql.h"

#include <QHash>

#include <functional>

namespace vorlane::archive {

using services::checkedIdentifier;
using services::sqlText;

namespace {

const QString TableWhat = QStringLiteral("档案表名");

// Codes of a table, read with one statement; an unreadable table lists nothing.
std::shared_ptr<clsHrCTs> loadCodes(const QString &sql)
{
    auto codes = std::make_shared<clsHrCTs>();
    if (!codes->Load(sql))
        codes->Clear();
    return codes;
}

TreeNode codeNode(const QString &parentKey, const QString &tableCode, const clsHrCT &code)
{
    return {parentKey, codeNodeKey(tableCode, code.CodeId(), code.Levels()), code.description()};
}

void addFlat(NodeListing &listing, const QString &parentKey, const QString &tableCode)
{
    for (const auto &code : *listing.codes)
        listing.newNodes << codeNode(parentKey, tableCode, *code);
}

// The codes without a parent under the class node, each followed by the loaded codes whose
// parent it is, depth first in load order. Children are grouped once, so the walk stays linear.
void addByParent(NodeListing &listing, const QString &classKey, const QString &tableCode)
{
    QHash<QString, QList<const clsHrCT *>> children;
    for (const auto &code : *listing.codes)
        children[code->pCodeId()] << code.get();
    const std::function<void(const QString &, const QString &)> add
        = [&](const QString &parentCode, const QString &parentKey) {
              const auto found = children.constFind(parentCode);
              if (found == children.cend())
                  return;
              for (const clsHrCT *code : found.value()) {
                  const TreeNode node = codeNode(parentKey, tableCode, *code);
                  listing.newNodes << node;
                  if (!code->CodeId().isEmpty())
                      add(code->CodeId(), node.key);
              }
          };
    add(QString(), classKey);
}

} // namespace

QString classNodeKey(const QString &tableCode, const QString &multiLevel)
{
    return u'R' + tableCode + u'^' + multiLevel;
}

QString classNodeText(const QString &tableName, const QString &tableCode)
{
    return tableName + u'(' + tableCode + u')';
}

QString codeNodeKey(const QString &tableCode, const QString &code, int level)
{
    return u'C' + tableCode + u'^' + code + u'^' + QString::number(level);
}

bool isClassKey(const QString &key)
{
    return key.startsWith(u'R');
}

bool isCodeKey(const QString &key)
{
    return key.startsWith(u'C');
}

QString tableCodeOfKey(const QString &key)
{
    return KeyHeadBeforeCaret(key);
}

QString codeOfKey(const QString &key)
{
    return KeyMiddleSegment(key);
}

int levelOfKey(const QString &key)
{
    const qsizetype first = key.indexOf(u'^');
    const qsizetype second = first < 0 ? -1 : key.indexOf(u'^', first + 1);
    return second < 0 ? 0 : levelOfText(key.mid(second + 1));
}

int levelOfText(const QString &text)
{
    bool ok = false;
    const double level = text.trimmed().toDouble(&ok);
    return ok ? int(level) : 0;
}

QList<TreeNode> loadClassNodes()
{
    clsHrSysSetDicts classes;
    if (!classes.Load(
            QStringLiteral("select * from hr_sys_setdict where iTableClass=3 ORDER BY ishowOrder")))
        return {};
    QList<TreeNode> nodes;
    for (const auto &c : classes) {
        nodes << TreeNode{QString(),
                          classNodeKey(c->TableCode(), c->MultiLevel()),
                          classNodeText(c->TableName(), c->TableCode())};
    }
    return nodes;
}

QString topLevelCodesSql(const QString &tableCode)
{
    return QStringLiteral("select * from ") + checkedIdentifier(tableCode, TableWhat)
           + QStringLiteral(" where ilevels=0");
}

QString codeItselfSql(const QString &tableCode, const QString &code)
{
    const QString x = sqlText(code);
    return QStringLiteral("select * from ") + checkedIdentifier(tableCode, TableWhat)
           + QStringLiteral("  where cpCodeID =  '") + x + QStringLiteral("' or cCodeID=  '") + x
           + u'\'';
}

QString childCodesSql(const QString &tableCode, const QString &code, int level)
{
    // By precedence the level test only narrows the second condition: the children of the code.
    return codeItselfSql(tableCode, code) + QStringLiteral("  and ilevels <> ")
           + QString::number(level);
}

NodeListing visitNode(const QString &key, bool hasChildNodes)
{
    NodeListing listing;
    const QString table = tableCodeOfKey(key);
    try {
        if (isClassKey(key)) {
            listing.codes = loadCodes(topLevelCodesSql(table));
            const int n = listing.codes->Count();
            if (!hasChildNodes && n >= FlatListingThreshold)
                addFlat(listing, key, table);
            else if (!hasChildNodes && n > 0)
                addByParent(listing, key, table);
            listing.fillGrid = true;
        } else if (isCodeKey(key)) {
            const QString code = codeOfKey(key);
            listing.codes = loadCodes(childCodesSql(table, code, levelOfKey(key)));
            if (listing.codes->Count() > 0) {
                if (!hasChildNodes)
                    addFlat(listing, key, table);
            } else {
                listing.codes = loadCodes(codeItselfSql(table, code));
            }
            listing.fillGrid = listing.codes->Count() > 0;
        }
    } catch (const services::SqlInputError &) {
        // A key whose table code is no table name lists nothing.
        listing = NodeListing();
    }
    return listing;
}

QString
findComparedText(const QString &key, const QString &text, bool byCode, const QString &findOperator)
{
    if (byCode)
        return tableCodeOfKey(key);
    if (findOperator == u"包含" || findOperator == u"不包含")
        return text;
    const qsizetype bracket = text.indexOf(u'(');
    return bracket < 0 ? text : text.left(bracket);
}

} // namespace vorlane::archive
