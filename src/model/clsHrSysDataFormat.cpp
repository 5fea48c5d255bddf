#include "clsHrSysDataFormat.h"

#include "FieldReader.h"

namespace vorlane {

bool clsHrSysDataFormat::LoadFromRecordset(db::Recordset &rs)
{
    FieldReader f(rs);
    m_id = f.readInt16(u"id");
    m_dateFormat = f.readText(u"vDateFormat");
    m_memo = f.readText(u"vmemo");
    return true;
}

} // namespace vorlane
