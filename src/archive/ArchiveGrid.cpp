#include "ArchiveGrid.h"

#include "model/clsHrCTs.h"

namespace vorlane::archive {

namespace {

QString label(const QString &flag, const QString &zero, const QString &one)
{
    if (flag == u"0")
        return zero;
    if (flag == u"1")
        return one;
    return QString();
}

} // namespace

QStringList gridTitles()
{
    return {QStringLiteral("序号"),
            QStringLiteral("档案编码"),
            QStringLiteral("档案名称"),
            QStringLiteral("档案简称"),
            QStringLiteral("档案简拼"),
            QStringLiteral("档案级别"),
            QStringLiteral("上级代码"),
            QStringLiteral("自定义"),
            QStringLiteral("是否有下级节点"),
            QStringLiteral("隐藏"),
            QStringLiteral("备注")};
}

QString systemFlagLabel(const QString &flag)
{
    return label(flag, QStringLiteral("0-系统"), QStringLiteral("1-用户"));
}

QString childFlagLabel(const QString &flag)
{
    return label(flag, QStringLiteral("0-没有"), QStringLiteral("1-有"));
}

QString hideFlagLabel(const QString &flag)
{
    return label(flag, QStringLiteral("0-显示"), QStringLiteral("1-隐藏"));
}

QStringList gridRow(int number, const clsHrCT &code)
{
    return {QString::number(number),
            code.CodeId(),
            code.description(),
            code.SimpleName(),
            code.SimpleSpell(),
            QString::number(code.Levels()),
            code.pCodeId(),
            systemFlagLabel(code.sFlag()),
            childFlagLabel(code.cFlag()),
            hideFlagLabel(code.HideFlag()),
            code.Memo()};
}

QList<QStringList> gridRows(const clsHrCTs &codes)
{
    QList<QStringList> rows;
    rows.reserve(codes.Count());
    int number = 0;
    for (const auto &code : codes)
        rows << gridRow(++number, *code);
    return rows;
}

} // namespace vorlane::archive
