#pragma once

#include "ArchiveEditResult.h"

#include "model/clsHrCT.h"

#include <QString>

#include <optional>

namespace vorlane {

class ArchiveBrowser;

// What the archive item editor's boxes hold; the hide box as 0 or 1.
struct ArchiveItemInput
{
    QString code;
    QString name;
    QString shortName;
    QString spell;
    QString memo;
    int hide = 0;
};

// Where codes are added: the code table, the parent code ("" for a top-level code), its level
// and the key of its node in the archive browser's tree.
struct ArchiveItemParent
{
    QString tableCode;
    QString parentCode;
    int parentLevel = 0;
    QString parentNodeKey;
};

// The code with this code in a code table, when exactly one row has it.
std::optional<clsHrCT> LoadArchiveCode(const QString &tableCode, const QString &code);

// Box lengths and the boxes that must not be empty (both modes).
ArchiveEditResult CheckArchiveItemInput(const ArchiveItemInput &input);
// Names are unique within one code table.
ArchiveEditResult CheckArchiveItemName(const QString &tableCode, const QString &name);
// A code consists of digits only.
ArchiveEditResult CheckCodeDigits(const QString &code);
// A child code begins with its parent's code and is longer than it.
ArchiveEditResult CheckParentPrefix(const QString &parentCode, const QString &code);
// The codes under one parent have one length: that of sibling ("" imposes none).
ArchiveEditResult CheckSiblingLength(const QString &sibling, const QString &code);
// Codes are unique within one code table.
ArchiveEditResult CheckCodeUnique(const QString &tableCode, const QString &code);

// A code already under the parent: the first child the browser's tree shows under the parent's
// node, else one read from the code table, so that the length rule holds whichever nodes the
// user has visited. "" when the parent has no codes below it; db::DbError when the table cannot
// be read.
QString SiblingCode(const ArchiveItemParent &parent, const ArchiveBrowser *browser);

// Level of a code added under the parent.
int NewCodeLevel(const ArchiveItemParent &parent);
// The part of a code node's key after its letter: table code, code and level.
QString CodeKeyPart(const QString &tableCode, const QString &code, int level);

} // namespace vorlane
