#include "clsHrCT.h"

#include "FieldReader.h"

namespace vorlane {

bool clsHrCT::LoadFromRecordset(db::Recordset &rs)
{
    FieldReader f(rs);
    m_codeId = f.readText(u"ccodeid");
    m_description = f.readText(u"vDescription");
    m_simpleName = f.readText(u"vSimpleName");
    m_simpleSpell = f.readText(u"vSimpleSpell");
    m_levels = f.readInt32(u"iLevels");
    m_pCodeId = f.readText(u"cpCodeId");
    m_sFlag = f.readText(u"bsysFlag");
    m_cFlag = f.readText(u"bChildFlag");
    m_hideFlag = f.readText(u"bhideFlag");
    m_memo = f.readText(u"vmemo");
    return true;
}

} // namespace vorlane
