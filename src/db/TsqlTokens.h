#pragma once

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

// The T-SQL tokenizer and the token helpers that every dialect's translator shares.
namespace vorlane::db::tsql {

struct Token
{
    enum Type { Space, Comment, Word, Bracketed, DQuoted, String, Number, Variable, Punct };
    Type type = Punct;
    QString text;

    bool significant() const { return type != Space && type != Comment; }
    // Content of a string literal: the N prefix and the quotes dropped, '' made one quote.
    QString stringValue() const;
    // A string literal without T-SQL's N prefix (the target engines store Unicode text anyway).
    QString sqliteString() const;
};

// Quoted strings, bracketed and double-quoted names and comments are single tokens.
QList<Token> tokenize(const QString &sql);

bool isWord(const Token &t, QStringView kw);
bool isPunct(const Token &t, QStringView p);
QString upper(const Token &t);

// Words after which a string literal is a value, never a column alias.
const QSet<QString> &wordsBeforeValues();
// Words that end the type of a column definition and begin its constraints.
const QSet<QString> &constraintWords();

// "[T]" or "\"T\"" -> "T"
QString stripIdentifier(QString s);
// "T", "[T]", "dbo.T", "[dbo].[T]" -> "T"
QString plainName(const QString &qualified);
QString quoteLiteral(const QString &s);
QString quoteIdentifier(const QString &s);

// Statement boundaries of a T-SQL batch: ";", a line "GO", or a word that can only begin a new
// statement (T-SQL needs no separator between statements). Token index ranges [begin, end).
QList<QPair<int, int>> splitBatch(const QList<Token> &t);

} // namespace vorlane::db::tsql
