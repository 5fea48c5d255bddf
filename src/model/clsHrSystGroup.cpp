#include "clsHrSystGroup.h"

#include "FieldReader.h"

namespace vorlane {

bool clsHrSystGroup::LoadFromRecordset(db::Recordset &rs)
{
    FieldReader f(rs);
    m_tableGroup = f.readText(u"iTableGroup");
    m_description = f.readText(u"vDescription");
    m_sFlag = f.readInt16(u"bsysflag");
    m_memo = f.readText(u"vmemo");
    return true;
}

} // namespace vorlane
