#include "Recordset.h"

namespace vorlane::db {

namespace {

// Column names are ASCII nearly always; compare those without Unicode case folding.
bool sameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80)
            return a.compare(b, Qt::CaseInsensitive) == 0;
        if (x >= u'A' && x <= u'Z')
            x += u'a' - u'A';
        if (y >= u'A' && y <= u'Z')
            y += u'a' - u'A';
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

QString Field::Name() const
{
    return m_rs->FieldName(m_index);
}

int Field::Type() const
{
    return m_rs->FieldType(m_index);
}

QVariant Field::Value() const
{
    return m_rs->FieldValue(m_index);
}

bool Field::IsNull() const
{
    return m_rs->FieldIsNull(m_index);
}

void Recordset::setColumns(const QStringList &names, const QList<int> &types)
{
    m_names = names;
    m_types = types;
    m_byLowerName.clear();
    m_firstOfName.fill(false, names.size());
    for (int i = 0; i < names.size(); ++i) {
        // The first of two equally named columns wins, as with ADO.
        const QString key = names.at(i).toLower();
        if (!m_byLowerName.contains(key)) {
            m_byLowerName.insert(key, i);
            m_firstOfName[i] = true;
        }
    }
}

void Recordset::MoveNext()
{
    if (!m_open)
        throw DbError(QStringLiteral("记录集已关闭"));
    if (m_eof)
        throw DbError(QStringLiteral("记录集已到末尾"));
    m_eof = !fetchNext();
}

void Recordset::Close()
{
    if (!m_open)
        return;
    closeImpl();
    m_open = false;
    m_eof = true;
}

int Recordset::FieldIndex(QStringView name) const
{
    // Records read their columns in order, row after row: after the last column comes the first.
    const int guess = m_nextGuess < m_names.size() ? m_nextGuess : 0;
    // A later column of an already seen name is never the answer: the guess must not find it.
    if (guess < m_names.size() && m_firstOfName.at(guess) && sameName(m_names.at(guess), name)) {
        m_nextGuess = guess + 1;
        return guess;
    }
    const auto it = m_byLowerName.constFind(name.toString().toLower());
    if (it == m_byLowerName.constEnd())
        return -1;
    m_nextGuess = it.value() + 1;
    return it.value();
}

Field Recordset::Fields(int index) const
{
    if (index < 0 || index >= m_names.size())
        throw DbError(QStringLiteral("字段序号超出范围：%1").arg(index));
    return Field(this, index);
}

Field Recordset::Fields(QStringView name) const
{
    const int index = FieldIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral("记录集中没有字段“%1”").arg(name));
    return Field(this, index);
}

void Recordset::checkRow(int index) const
{
    if (!m_open)
        throw DbError(QStringLiteral("记录集已关闭"));
    if (m_eof)
        throw DbError(QStringLiteral("当前没有记录（已到记录集末尾）"));
    if (index < 0 || index >= m_names.size())
        throw DbError(QStringLiteral("字段序号超出范围：%1").arg(index));
}

QVariant Recordset::FieldValue(int index) const
{
    checkRow(index);
    return valueAt(index);
}

bool Recordset::FieldIsNull(int index) const
{
    checkRow(index);
    return isNullAt(index);
}

} // namespace vorlane::db
