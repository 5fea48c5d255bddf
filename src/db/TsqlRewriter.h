#pragma once

#include "TranslatedStep.h"
#include "TsqlTokens.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorlane::db::tsql {

// The component's T-SQL rewritten for another engine, token by token: batches split into
// statements, IF [NOT] EXISTS conditions and the drop guard, CREATE TABLE column lists, ALTER
// TABLE ADD / ALTER COLUMN / DROP COLUMN, TOP, the server's functions, quoted aliases, INSERT
// without INTO, DELETE without FROM, N'' literals and LIKE's bracket forms. Quoted strings,
// bracketed names and comments are never rewritten; unknown forms pass unchanged, so that the
// engine reports them. What an engine does its own way, its dialect decides in the hooks below.
class Rewriter
{
public:
    // The decisions of a dialect that are plain values.
    struct Traits
    {
        // The server's functions; isNull and length hold %1 where their arguments go.
        QString isNull;                     // isnull(a, b)
        QString length;                     // len(a): trailing blanks are not counted
        QString now;                        // getdate()
        QString newGuid;                    // newid()
        bool numericTypeArguments = false;  // only numbers as type arguments: "(max)" is dropped
        bool parenthesizedDefaults = false; // a function call as DEFAULT goes in parentheses
        bool oneActionPerAlter = false;     // ALTER TABLE takes one action a statement
        bool marksBlanks = false;           // blank literals assigned to a column get blankMarker()
    };

    Rewriter(const QList<Token> &tokens, Traits traits);
    virtual ~Rewriter() = default;
    Rewriter(const Rewriter &) = delete;
    Rewriter &operator=(const Rewriter &) = delete;

    // The steps of the whole batch.
    QList<TranslatedStep> translate();

protected:
    // CONVERT(type, expr [, style]) with a type the server converts to.
    struct Conversion
    {
        enum Target { Text, Integer, Bit, Decimal, Float, DateTime };
        Target target = Text;
        QString type;       // base type, lower case: "varchar", "bigint", "money", "date" ...
        QString length;     // first type argument as written ("30"), or empty
        QString scale;      // second type argument, or empty
        QString expr;       // the value, rewritten
        int style = -1;     // -1: none; DateTime: -1, 112 or a style of ISO dates
        QString dateLayout; // Text with a style: dateStyleLayout(style)
    };
    // One column definition of CREATE TABLE or ALTER TABLE ADD.
    struct Column
    {
        QString table;               // plain name of the table
        const Token *name = nullptr; // the column's name as written
        QString type;                // normalizedType() of the declared type; may be empty
        QString rest;                // what follows the type, rewritten
        bool collated = false;       // the definition names a collation
    };

    // --- The dialect's decisions.
    // Empty: the engine has nothing for it, the call stays as written.
    virtual QString conversion(const Conversion &c) const = 0;
    // For COLLATE name: nullopt keeps the clause as written, an empty string drops it, any other
    // string is the collation to name instead.
    virtual std::optional<QString> collation(const Token &name) const = 0;
    // A bracketed or double-quoted name; `alias` after AS.
    virtual QString quotedName(const Token &name, bool /*alias*/) const { return name.text; }
    virtual QString columnDefinition(const Column &c) = 0;
    // ALTER TABLE `head` ALTER COLUMN column type [nullability] ("NULL", "NOT NULL" or empty).
    virtual QList<TranslatedStep> alterColumn(const QString &head,
                                              const QString &table,
                                              const Token &column,
                                              const QString &type,
                                              const QString &nullability)
        = 0;
    // Steps that follow the definition of columns of a table (empty name: not known).
    virtual QList<TranslatedStep> columnsDefined(const QString & /*table*/) { return {}; }
    // `name LIKE pattern` as the engine writes it, where nothing else binds the name or the
    // literal `pattern` (rewritten, quoted); `escape` is empty or " ESCAPE '\'", for the pattern.
    // Empty: as written.
    virtual QString nameLike(const QString & /*name*/,
                             const QString & /*pattern*/,
                             const QString & /*escape*/) const
    {
        return {};
    }
    // Steps that follow CREATE TABLE, given the columns of its primary key with their declared
    // types (normalizedType(); empty: not known).
    virtual QList<TranslatedStep> keyDefined(const QString & /*table*/,
                                             const QList<QPair<QString, QString>> & /*key*/)
    {
        return {};
    }
    // A query with a row when the table (or, unless userTable, view) exists.
    virtual QString tableExists(const QString &name, bool userTable) const = 0;
    virtual QString blankMarker(const QString & /*table*/, const QString & /*column*/) const
    {
        return {};
    }

    // --- Token helpers for the dialects. Ranges are token indexes [b, e).
    int nextSig(int i, int e) const;
    int matching(int open, int e) const;
    QList<QPair<int, int>> splitCommas(int b, int e) const;
    QString raw(int b, int e) const;
    // The generic rewrite of one query level; parenthesised groups recurse.
    QString process(int b, int e) const;
    // Declared type text: brackets dropped, "[varchar] (30)" -> "varchar(30)".
    QString normalizedType(int b, int e) const;
    // The end of the type part of a column definition whose type starts at b.
    int typeEnd(int b, int e) const;
    // The table that CREATE TABLE [IF NOT EXISTS] name ( ... creates: the index where its name
    // begins (-1: none), its plain name.
    int tableNameBegin(int b, int open) const;
    QString tableName(int b, int open) const;

    static TranslatedStep native(const QString &sql);
    // The words that are not empty, joined by blanks.
    static QString joined(const QStringList &words);
    // Layout of a CONVERT style that formats a date as text, in to_char() notation (YYYY, MM,
    // DD, HH24, MI, SS, SS.MS, "T"); empty for other styles.
    static QString dateStyleLayout(int style);

    const QList<Token> &t;

private:
    QList<TranslatedStep> statement(int b, int e);
    QList<TranslatedStep> ifStatement(int b, int e);
    QList<TranslatedStep> createTable(int b, int e);
    QList<TranslatedStep> alterTable(int b, int e);
    QList<TranslatedStep> alterSteps(const QString &head, const QStringList &actions) const;
    QString columnList(int b, int e, const QString &table, QList<QPair<QString, QString>> *key);
    QString column(int b, int e, const QString &table);
    QString functionCall(const QString &name, int open, int close, bool *handled) const;
    QString convertCall(int open, int close) const;
    int nameEnd(int i, int e) const;
    void markBlanks(int b, int e);

    const Traits m_traits;
    QHash<int, QString> m_blanks; // token index of a blank literal -> its marker
};

} // namespace vorlane::db::tsql
