#include "clsHrSysDataType.h"

#include "FieldReader.h"

namespace vorlane {

bool clsHrSysDataType::LoadFromRecordset(db::Recordset &rs)
{
    FieldReader f(rs);
    m_id = f.readInt16(u"id");
    m_name = f.readText(u"vName");
    m_description = f.readText(u"vDescription");
    m_simpleSpell = f.readText(u"vSimpleSpell");
    m_factType = f.readText(u"vFactType");
    m_memo = f.readText(u"vmemo");
    return true;
}

} // namespace vorlane
