#include "clsHrSysItemDict.h"

#include "FieldReader.h"

namespace vorlane {

bool clsHrSysItemDict::LoadFromRecordset(db::Recordset &rs)
{
    FieldReader f(rs);
    m_tableCode = f.readText(u"ctablecode");
    m_itemCode = f.readText(u"cItemCode");
    m_itemname = f.readText(u"vItemName");
    m_description = f.readText(u"vdescription");
    m_itemtype = f.readText(u"iItemType");
    m_referenceObj = f.readText(u"vReferenceObj");
    m_lastLevelFalg = f.readText(u"bLastLevelFlag");
    m_itemlen = f.readText(u"iItemLen");
    m_itemdec = f.readText(u"iItemDec");
    m_sFlag = f.readInt16(u"bsysFlag");
    m_rflag = f.readInt16(u"brecordFlag");
    m_nflag = f.readInt16(u"bnullFlag");
    m_sdefault = f.readText(u"vDefault");
    m_sformat = f.readText(u"vFormat");
    m_dFlag = f.readInt16(u"bdelFlag");
    m_display = f.readInt16(u"bdisplay");
    m_showOrder = f.readInt16(u"ishowOrder");
    m_businessFlag = f.readInt16(u"iBusinessFlag");
    m_defaultField = f.readInt16(u"bdefault");
    m_memo = f.readText(u"vMemo");
    return true;
}

} // namespace vorlane
