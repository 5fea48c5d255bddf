#include "clsHrSysSetDict.h"

#include "FieldReader.h"

namespace vorlane {

bool clsHrSysSetDict::LoadFromRecordset(db::Recordset &rs)
{
    FieldReader f(rs);
    m_tableCode = f.readText(u"ctablecode");
    m_tableName = f.readText(u"vTableName");
    m_description = f.readText(u"vdescription");
    m_tableGroup = f.readText(u"itablegroup");
    m_tableClass = f.readText(u"itableclass");
    m_codeLen = f.readInt32(u"icodelen");
    m_multiLevel = f.readText(u"bMultiLevel");
    m_codeFormat = f.readText(u"vCodeFormat");
    m_tableType = f.readText(u"iTableType");
    m_cycleType = f.readText(u"iCycleType");
    m_businessFlag = f.readText(u"iBusinessFlag");
    m_functionFlag = f.readText(u"iFunctionScope");
    m_sFlag = f.readText(u"bsysFlag");
    m_parentTable = f.readText(u"vParentTable");
    m_cFlag = f.readText(u"bChildFlag");
    m_dFlag = f.readText(u"bdelFlag");
    m_display = f.readInt16(u"bdisplay");
    m_showOrder = f.readText(u"ishowOrder");
    m_displayItem = f.readText(u"vdisplayItem");
    m_mainKey = f.readText(u"vMainKey");
    m_memo = f.readText(u"vMemo");
    return true;
}

} // namespace vorlane
