#include "StatementRecorder.h"

#include <QFile>
#include <QMutex>

namespace vorlane::db {

namespace {

QString kindText(StatementEvent::Kind kind)
{
    switch (kind) {
    case StatementEvent::Kind::Execute:
        return QStringLiteral("exec");
    case StatementEvent::Kind::Query:
        return QStringLiteral("query");
    case StatementEvent::Kind::Begin:
        return QStringLiteral("begin");
    case StatementEvent::Kind::Commit:
        return QStringLiteral("commit");
    case StatementEvent::Kind::Rollback:
        return QStringLiteral("rollback");
    }
    return QString();
}

QString folded(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    return text;
}

} // namespace

struct StatementLogFile::Impl
{
    QFile file;
    QMutex mutex;
};

StatementLogFile::StatementLogFile(const QString &path)
    : d(std::make_unique<Impl>())
{
    d->file.setFileName(path);
    if (!d->file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        d->file.setFileName(QString());
}

StatementLogFile::~StatementLogFile() = default;

bool StatementLogFile::isOpen() const
{
    return d->file.isOpen();
}

QString StatementLogFile::formatLine(const StatementEvent &event)
{
    QString outcome;
    if (event.failed())
        outcome = QStringLiteral("error: ") + folded(event.error);
    else if (event.rows >= 0)
        outcome = QStringLiteral("rows=%1").arg(event.rows);
    else
        outcome = QStringLiteral("ok");
    return event.time.toString(Qt::ISODateWithMs) + QLatin1Char('\t') + event.engine
           + QLatin1Char('\t') + (event.inTransaction ? QStringLiteral("tx") : QStringLiteral("-"))
           + QLatin1Char('\t') + kindText(event.kind) + QLatin1Char('\t') + outcome
           + QLatin1Char('\t') + folded(event.statement);
}

void StatementLogFile::record(const StatementEvent &event) noexcept
{
    try {
        QMutexLocker lock(&d->mutex);
        if (!d->file.isOpen())
            return;
        const QByteArray line = formatLine(event).toUtf8() + '\n';
        if (d->file.write(line) != line.size() || !d->file.flush())
            d->file.close(); // a full disk or a removed file: stop logging, keep working
    } catch (...) {
    }
}

std::shared_ptr<StatementRecorder> environmentStatementLog()
{
    static const std::shared_ptr<StatementRecorder> log
        = []() -> std::shared_ptr<StatementRecorder> {
        const QString path = qEnvironmentVariable("VORLANE_STATEMENT_LOG");
        if (path.isEmpty())
            return nullptr;
        auto file = std::make_shared<StatementLogFile>(path);
        if (!file->isOpen())
            return nullptr;
        return file;
    }();
    return log;
}

} // namespace vorlane::db
