#include "DemoSeed.h"

namespace vorlane::host::seed {

using namespace Qt::StringLiterals;

void seedHost(SeedWriter &w)
{
    {
        // Function codes of the host menu for this component. A grant of a code covers every
        // code that begins with it; menu nodes are not exclusive, commands are.
        SeedWriter::Batch b(
            w,
            u"Host_Function"_s,
            {u"cFunctionCode"_s, u"vFunctionName"_s, u"cSysId"_s, u"bExclusive"_s, u"vMemo"_s});
        const auto node = [&b](const QString &code, const QString &name) {
            b.add({code, name, u"HM"_s, 0, u"菜单"_s});
        };
        const auto command = [&b](const QString &code, const QString &name) {
            b.add({code, name, u"HM"_s, 1, QString()});
        };
        node(u"HM01"_s, u"人事信息管理"_s);
        node(u"HM0101"_s, u"信息集设置"_s);
        node(u"HM010101"_s, u"信息集设置-增加"_s);
        command(u"HM01010101"_s, u"新增信息集"_s);
        command(u"HM01010102"_s, u"新增信息项"_s);
        node(u"HM010102"_s, u"信息集设置-修改"_s);
        command(u"HM01010201"_s, u"修改信息集"_s);
        command(u"HM01010202"_s, u"修改信息项"_s);
        node(u"HM010103"_s, u"信息集设置-删除"_s);
        command(u"HM01010301"_s, u"删除信息集"_s);
        command(u"HM01010302"_s, u"删除信息项"_s);
        command(u"HM010104"_s, u"业务定制"_s);
        node(u"HM0102"_s, u"基础档案管理"_s);
        node(u"HM010201"_s, u"基础档案管理-增加"_s);
        command(u"HM01020101"_s, u"新增档案类"_s);
        command(u"HM01020102"_s, u"新增档案项"_s);
        node(u"HM010202"_s, u"基础档案管理-修改"_s);
        command(u"HM01020201"_s, u"修改档案类"_s);
        command(u"HM01020202"_s, u"修改档案项"_s);
        node(u"HM010203"_s, u"基础档案管理-删除"_s);
        command(u"HM01020301"_s, u"删除档案类"_s);
        command(u"HM01020302"_s, u"删除档案项"_s);
    }
    {
        SeedWriter::Batch b(
            w,
            u"Host_Operator"_s,
            {u"cOperatorCode"_s, u"vOperatorName"_s, u"bSupervisor"_s, u"bDisabled"_s, u"vMemo"_s});
        b.add({u"demo"_s, u"演示主管"_s, 1, 0, u"账套主管，拥有全部功能"_s});
        b.add({u"001"_s, u"张三"_s, 0, 0, u"人事专员：信息集设置"_s});
        b.add({u"002"_s, u"李四"_s, 0, 0, u"档案管理员：基础档案与业务定制"_s});
        b.add({u"003"_s, u"王五"_s, 0, 0, u"只能查看"_s});
    }
    {
        SeedWriter::Batch b(w, u"Host_Right"_s, {u"cOperatorCode"_s, u"cFunctionCode"_s});
        b.add({u"001"_s, u"HM0101"_s});
        b.add({u"002"_s, u"HM0102"_s});
        b.add({u"002"_s, u"HM010104"_s});
    }
}

} // namespace vorlane::host::seed
