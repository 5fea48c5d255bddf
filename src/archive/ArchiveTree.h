#pragma once

#include "model/clsHrCTs.h"

#include <QList>
#include <QString>

#include <memory>

namespace vorlane::archive {

// Tree contents of the archive browser: node keys and what a visit of a node reads. A class node
// is "R" + table code + "^" + multi-level flag, a code node "C" + table code + "^" + code + "^" +
// level. Codes are read per level and only for the visited node, never a whole code table.

// A class with this many top-level codes or more gets them as a flat list of children.
inline constexpr int FlatListingThreshold = 400;

QString classNodeKey(const QString &tableCode, const QString &multiLevel);
QString classNodeText(const QString &tableName, const QString &tableCode);
QString codeNodeKey(const QString &tableCode, const QString &code, int level);

bool isClassKey(const QString &key);
bool isCodeKey(const QString &key);
// The parts of a key: table code, code (empty for a class key), and level (0 unless the text
// after the second "^" is a number).
QString tableCodeOfKey(const QString &key);
QString codeOfKey(const QString &key);
int levelOfKey(const QString &key);
// A level as shown (in a key or the grid): its number, or 0 when it is none.
int levelOfText(const QString &text);

// A tree node to create: under parentKey ("" for a root), with its key and text. Class nodes
// take images 1 and 2, code nodes 3 and 4.
struct TreeNode
{
    QString parentKey;
    QString key;
    QString text;
};

// The class nodes, in display order; empty when the classes cannot be read.
QList<TreeNode> loadClassNodes();

// What visiting a node yields: the codes to list in the grid (none to list when fillGrid is
// false) and the child nodes to create, which is only done when the node has none yet.
struct NodeListing
{
    std::shared_ptr<clsHrCTs> codes;
    bool fillGrid = false;
    QList<TreeNode> newNodes;
};

// Reads the codes one level below the node with the given key: the top-level codes of a class,
// the children of a code (or the code itself when it has none).
NodeListing visitNode(const QString &key, bool hasChildNodes);

// The browser's statements, as they run.
QString topLevelCodesSql(const QString &tableCode);
QString childCodesSql(const QString &tableCode, const QString &code, int level);
QString codeItselfSql(const QString &tableCode, const QString &code);

// The text a search compares for a class node: its table code (byCode), else its text, cut
// before the first "(" for "等于"/"不等于" and whole for "包含"/"不包含".
QString
findComparedText(const QString &key, const QString &text, bool byCode, const QString &findOperator);

} // namespace vorlane::archive
