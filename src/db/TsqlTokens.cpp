#include "TsqlTokens.h"

#include <QStringList>

namespace vorlane::db::tsql {

using namespace Qt::StringLiterals;

QString Token::stringValue() const
{
    QString s = text;
    if (s.startsWith(u'N') || s.startsWith(u'n'))
        s.remove(0, 1);
    s = s.mid(1, s.size() - 2);
    s.replace(u"''"_s, u"'"_s);
    return s;
}

QString Token::sqliteString() const
{
    return text.startsWith(u'N') || text.startsWith(u'n') ? text.mid(1) : text;
}

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#' || c == u'@';
}

} // namespace

QList<Token> tokenize(const QString &sql)
{
    QList<Token> out;
    const int n = int(sql.size());
    int i = 0;
    const auto add = [&](Token::Type type, int from) {
        out.append(Token{type, sql.mid(from, i - from)});
    };
    while (i < n) {
        const int from = i;
        const QChar c = sql[i];
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            add(Token::Space, from);
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
            add(Token::Comment, from);
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            int depth = 0; // T-SQL block comments nest
            while (i < n) {
                if (sql[i] == u'/' && i + 1 < n && sql[i + 1] == u'*') {
                    ++depth;
                    i += 2;
                } else if (sql[i] == u'*' && i + 1 < n && sql[i + 1] == u'/') {
                    i += 2;
                    if (--depth == 0)
                        break;
                } else {
                    ++i;
                }
            }
            add(Token::Comment, from);
        } else if (c == u'\'' || ((c == u'N' || c == u'n') && i + 1 < n && sql[i + 1] == u'\'')) {
            i += c == u'\'' ? 1 : 2;
            while (i < n) {
                if (sql[i] == u'\'') {
                    if (i + 1 < n && sql[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            add(Token::String, from);
        } else if (c == u'[') {
            while (i < n) {
                if (sql[i] == u']') {
                    if (i + 1 < n && sql[i + 1] == u']') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            add(Token::Bracketed, from);
        } else if (c == u'"') {
            ++i;
            while (i < n) {
                if (sql[i] == u'"') {
                    if (i + 1 < n && sql[i + 1] == u'"') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            add(Token::DQuoted, from);
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit())) {
            while (i < n && (sql[i].isDigit() || sql[i] == u'.'))
                ++i;
            if (i < n && (sql[i] == u'e' || sql[i] == u'E')) {
                int j = i + 1;
                if (j < n && (sql[j] == u'+' || sql[j] == u'-'))
                    ++j;
                if (j < n && sql[j].isDigit()) {
                    i = j;
                    while (i < n && sql[i].isDigit())
                        ++i;
                }
            }
            add(Token::Number, from);
        } else if (c == u'@') {
            ++i;
            while (i < n && isWordChar(sql[i]))
                ++i;
            add(Token::Variable, from);
        } else if (isWordChar(c)) {
            while (i < n && isWordChar(sql[i]))
                ++i;
            add(Token::Word, from);
        } else {
            static const QStringList twoChar{
                u"<>"_s, u"<="_s, u">="_s, u"!="_s, u"!<"_s, u"!>"_s, u"||"_s};
            i += (i + 1 < n && twoChar.contains(sql.mid(i, 2))) ? 2 : 1;
            add(Token::Punct, from);
        }
    }
    return out;
}

bool isWord(const Token &t, QStringView kw)
{
    return t.type == Token::Word && t.text.compare(kw, Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token &t, QStringView p)
{
    return t.type == Token::Punct && t.text == p;
}

// Words after which a string literal is a value, never a column alias.
const QSet<QString> &wordsBeforeValues()
{
    static const QSet<QString> set{
        u"SELECT"_s, u"DISTINCT"_s, u"ALL"_s,     u"AS"_s,      u"FROM"_s,   u"WHERE"_s,
        u"AND"_s,    u"OR"_s,       u"NOT"_s,     u"LIKE"_s,    u"IN"_s,     u"IS"_s,
        u"THEN"_s,   u"ELSE"_s,     u"WHEN"_s,    u"CASE"_s,    u"ON"_s,     u"BY"_s,
        u"SET"_s,    u"VALUES"_s,   u"TOP"_s,     u"BETWEEN"_s, u"ESCAPE"_s, u"COLLATE"_s,
        u"RETURN"_s, u"PRINT"_s,    u"EXISTS"_s,  u"UNION"_s,   u"HAVING"_s, u"JOIN"_s,
        u"INTO"_s,   u"WITH"_s,     u"PERCENT"_s, u"DEFAULT"_s};
    return set;
}

// Words that end the type of a column definition and begin its constraints.
const QSet<QString> &constraintWords()
{
    static const QSet<QString> set{u"CONSTRAINT"_s,
                                   u"PRIMARY"_s,
                                   u"NOT"_s,
                                   u"NULL"_s,
                                   u"UNIQUE"_s,
                                   u"CHECK"_s,
                                   u"DEFAULT"_s,
                                   u"COLLATE"_s,
                                   u"REFERENCES"_s,
                                   u"IDENTITY"_s,
                                   u"GENERATED"_s,
                                   u"AS"_s,
                                   u"ROWGUIDCOL"_s,
                                   u"SPARSE"_s,
                                   u"FOREIGN"_s};
    return set;
}

QString upper(const Token &t)
{
    return t.text.toUpper();
}

QString stripIdentifier(QString s)
{
    s = s.trimmed();
    if ((s.startsWith(u'[') && s.endsWith(u']')) || (s.startsWith(u'"') && s.endsWith(u'"')))
        s = s.mid(1, s.size() - 2);
    return s;
}

// "T", "[T]", "dbo.T", "[dbo].[T]" -> "T"
QString plainName(const QString &qualified)
{
    QString s = qualified.trimmed();
    const QList<Token> toks = tokenize(s);
    QString last;
    for (const Token &t : toks) {
        if (t.significant() && !isPunct(t, u"."))
            last = t.text;
    }
    return stripIdentifier(last);
}

QString quoteLiteral(const QString &s)
{
    QString out = s;
    out.replace(u'\'', u"''"_s);
    return u'\'' + out + u'\'';
}

QString quoteIdentifier(const QString &s)
{
    QString out = s;
    out.replace(u'"', u"\"\""_s);
    return u'"' + out + u'"';
}

QList<QPair<int, int>> splitBatch(const QList<Token> &t)
{
    static const QSet<QString> starters{u"CREATE"_s,
                                        u"DROP"_s,
                                        u"ALTER"_s,
                                        u"INSERT"_s,
                                        u"UPDATE"_s,
                                        u"DELETE"_s,
                                        u"TRUNCATE"_s,
                                        u"EXEC"_s,
                                        u"EXECUTE"_s,
                                        u"DECLARE"_s,
                                        u"IF"_s,
                                        u"SELECT"_s};
    QList<QPair<int, int>> ranges;
    int start = 0;
    int depth = 0;
    QString kind;             // first word of the current statement (of an IF: of its body)
    QString secondWord;       // the word after it
    bool ifCondition = false; // inside the condition of an IF, before its statement
    bool sawValues = false;
    QString prev; // previous significant token, upper case
    const auto finish = [&](int end, int next) {
        ranges.append({start, end});
        start = next;
        kind.clear();
        secondWord.clear();
        ifCondition = false;
        sawValues = false;
        prev.clear();
    };
    const auto nextWord = [&](int i) {
        for (int k = i + 1; k < t.size(); ++k) {
            if (t[k].significant())
                return t[k].text.toUpper();
        }
        return QString();
    };
    for (int i = 0; i < t.size(); ++i) {
        const Token &tok = t[i];
        if (!tok.significant())
            continue;
        if (isPunct(tok, u"(")) {
            ++depth;
        } else if (isPunct(tok, u")")) {
            --depth;
        } else if (depth == 0 && isPunct(tok, u";")) {
            finish(i, i + 1);
            continue;
        } else if (depth == 0 && tok.type == Token::Word) {
            const QString w = upper(tok);
            if (w == u"GO" && (i == 0 || t[i - 1].text.contains(u'\n'))
                && (i + 1 >= t.size() || t[i + 1].text.contains(u'\n'))) {
                finish(i, i + 1);
                continue;
            }
            if (kind.isEmpty()) {
                kind = w;
                ifCondition = w == u"IF";
                prev = w;
                continue;
            }
            bool split = starters.contains(w);
            if (split && ifCondition) {
                // the statement that the IF guards belongs to it
                ifCondition = false;
                kind = w;
                secondWord.clear();
                split = false;
            } else if (split && kind == u"CREATE"
                       && (secondWord == u"VIEW" || secondWord == u"TRIGGER"
                           || secondWord == u"PROCEDURE" || secondWord == u"PROC"
                           || secondWord == u"FUNCTION")) {
                split = false;
            } else if (split && kind == u"WITH") {
                kind = w;
                split = false;
            } else if (split && (w == u"UPDATE" || w == u"DELETE") && prev == u"ON") {
                split = false;
            } else if (split && w == u"SELECT") {
                if (prev == u"UNION" || prev == u"ALL" || prev == u"EXCEPT" || prev == u"INTERSECT"
                    || prev == u"AS" || (kind == u"INSERT" && !sawValues))
                    split = false;
            } else if (split && kind == u"ALTER" && (w == u"DROP" || w == u"ALTER")) {
                const QString next = nextWord(i);
                if (next == u"COLUMN" || next == u"CONSTRAINT")
                    split = false;
            }
            if (split) {
                finish(i, i);
                kind = w;
                ifCondition = w == u"IF";
            } else if (secondWord.isEmpty() && w != kind) {
                secondWord = w;
            }
            if (w == u"VALUES")
                sawValues = true;
            prev = w;
            continue;
        }
        prev = tok.text.toUpper();
    }
    if (start < t.size())
        ranges.append({start, int(t.size())});
    return ranges;
}

} // namespace vorlane::db::tsql
