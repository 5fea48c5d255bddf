#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vorlane::db {
class Connection;
}

namespace vorlane::business {

// What the business customization browser and the membership dialog read and write. Statements
// run on the given connection; errors pass on as db::DbError unless a function says otherwise.

struct CategoryNode
{
    QString key;  // "R" + cid + "-" + vname
    QString text; // vname
};

// Every category in display order.
QList<CategoryNode> loadCategories(db::Connection &conn);

// The category code of a category node key: the text before the first "-", without the "R".
QString categoryCodeOfKey(const QString &key);

// The member grid of one category: titles of columns 1 onwards, and one row of texts per member
// (without the row number). No members: the default titles and no rows.
struct MemberGrid
{
    QStringList titles;
    QList<QStringList> rows;
};
MemberGrid loadMembers(db::Connection &conn, const QString &categoryCode);

// Combo entries ("itablegroup-vdescription") of the table groups offered for a category.
QStringList offeredGroups(db::Connection &conn, const QString &categoryCode);

// List entries ("vtablename-ctablecode") of the visible sets of one table group, in display order.
QStringList setsOfGroup(db::Connection &conn, const QString &group);

// Set codes assigned to the category, in any group.
QStringList memberCodes(db::Connection &conn, const QString &categoryCode);

// Replaces the category's assignments in one table group with the given set codes, in one
// transaction. False, with everything as it was, when any statement fails.
bool saveMembers(db::Connection &conn,
                 const QString &categoryCode,
                 const QString &group,
                 const QStringList &setCodes);

} // namespace vorlane::business
