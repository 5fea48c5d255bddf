#include "SeedWriter.h"

#include "db/DbError.h"
#include "db/TsqlTranslator.h"

#include <QRegularExpression>

#include <exception>

namespace vorlane::host {

namespace {

// SQLite binds at most a few hundred terms per compound statement comfortably; SQL Server allows
// 1000 rows per VALUES list.
constexpr int rowsPerStatement = 200;

} // namespace

SeedWriter::SeedWriter(db::Engine &engine, Flavor flavor)
    : m_engine(engine)
    , m_flavor(flavor)
{}

QString SeedWriter::collated(const QString &columns) const
{
    static const QRegularExpression charType(
        QStringLiteral(R"(\b(n?(?:var)?char\s*\(\s*\d+\s*\)))"),
        QRegularExpression::CaseInsensitiveOption);
    const QString collation = m_flavor == Flavor::Sqlite
                                  ? QStringLiteral("\\1 COLLATE NOCASE")
                                  : QStringLiteral("\\1 COLLATE Chinese_PRC_CI_AS");
    QString out = columns;
    out.replace(charType, collation);
    return out;
}

void SeedWriter::createTable(const QString &table,
                             const QString &columns,
                             const QString &primaryKey)
{
    QString sql
        = QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (") + collated(columns);
    if (!primaryKey.isEmpty())
        sql += QStringLiteral(", PRIMARY KEY (") + primaryKey + QLatin1Char(')');
    sql += QLatin1Char(')');
    if (m_flavor == Flavor::SqlServer) {
        exec(sql);
        return;
    }
    // As for the component's own tables, the translator adds the value rules the server keeps.
    for (const db::SqliteStep &step : db::TsqlTranslator::translate(sql))
        exec(step.sql);
}

void SeedWriter::createIndex(const QString &table, const QString &columns, bool unique)
{
    const QString name = QStringLiteral("IX_%1_%2").arg(table).arg(++m_indexCount);
    exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
             .arg(unique ? QStringLiteral("UNIQUE ") : QString(), name, table, columns));
}

void SeedWriter::exec(const QString &nativeSql)
{
    m_engine.ExecuteNative(nativeSql);
}

QString SeedWriter::literal(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
        return value.toString();
    default:
        break;
    }
    QString text = value.toString();
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    // Without the N prefix SQL Server would pass the text through the database's code page.
    return (m_flavor == Flavor::SqlServer ? QStringLiteral("N'") : QStringLiteral("'")) + text
           + QLatin1Char('\'');
}

SeedWriter::Batch::Batch(SeedWriter &writer, const QString &table, const QStringList &columns)
    : m_writer(writer)
    , m_head(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (")
             + columns.join(QLatin1Char(',')) + QStringLiteral(") VALUES "))
    , m_columnCount(int(columns.size()))
{}

SeedWriter::Batch::~Batch() noexcept(false)
{
    // Rows still pending are written unless the batch is being left by an exception.
    if (std::uncaught_exceptions() == 0)
        flush();
}

void SeedWriter::Batch::add(std::initializer_list<QVariant> values)
{
    add(QVariantList(values));
}

void SeedWriter::Batch::add(const QVariantList &values)
{
    if (values.size() != m_columnCount)
        throw db::DbError(QStringLiteral("种子数据列数不符：%1 需要 %2 列，给出 %3 列")
                              .arg(m_head)
                              .arg(m_columnCount)
                              .arg(values.size()));
    QStringList literals;
    literals.reserve(values.size());
    for (const QVariant &v : values)
        literals << m_writer.literal(v);
    m_rows << QLatin1Char('(') + literals.join(QLatin1Char(',')) + QLatin1Char(')');
    ++m_total;
    if (m_rows.size() >= rowsPerStatement)
        flush();
}

void SeedWriter::Batch::flush()
{
    if (m_rows.isEmpty())
        return;
    // One row a line keeps the generated SQL Server script readable.
    const QString sql = m_head + m_rows.join(QStringLiteral(",\n"));
    m_rows.clear();
    m_writer.exec(sql);
}

} // namespace vorlane::host
