#include "TsqlTranslator.h"

#include "TsqlTokens.h"

#include <QRegularExpression>
#include <QSet>

namespace vorlane::db {

using namespace Qt::StringLiterals;

namespace {

using namespace tsql;

SqliteStep nativeStep(const QString &sql)
{
    SqliteStep step;
    step.sql = sql;
    return step;
}

// A SQL Server collation name as SQLite understands it: *_CI_* compares without case.
QString mapCollation(const QString &name)
{
    const QString n = name.toUpper();
    if (n == u"NOCASE" || n == u"BINARY" || n == u"RTRIM")
        return name;
    if (n.contains(u"_CI"))
        return u"NOCASE"_s;
    if (n.contains(u"_CS") || n.contains(u"_BIN"))
        return u"BINARY"_s;
    return name;
}

// A LIKE pattern literal with the server's one-character bracket forms ("[_]", "[%]", "[[]")
// as SQLite takes it: the character escaped with "\" and an ESCAPE clause. Empty when the
// pattern has no bracket or a form SQLite cannot express (a range or set such as "[a-z]").
QString likeBracketsEscaped(const QString &literal)
{
    const bool national = literal.startsWith(u'N') || literal.startsWith(u'n');
    QString pattern = literal.mid(national ? 2 : 1);
    pattern.chop(1);
    pattern.replace(u"''"_s, u"'"_s);
    if (!pattern.contains(u'['))
        return {};
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'[') {
            if (i + 2 >= pattern.size() || pattern.at(i + 2) != u']' || pattern.at(i + 1) == u'^')
                return {};
            const QChar literalChar = pattern.at(i + 1);
            if (literalChar == u'%' || literalChar == u'_' || literalChar == u'\\')
                out += u'\\';
            out += literalChar;
            i += 2;
        } else {
            if (c == u'\\')
                out += u'\\';
            out += c;
        }
    }
    out.replace(u'\'', u"''"_s);
    return u'\'' + out + u"' ESCAPE '\\'"_s;
}

// strftime() pattern of a CONVERT style that formats a date as text.
QString dateStylePattern(int style)
{
    switch (style) {
    case 20:
    case 120:
        return u"%Y-%m-%d %H:%M:%S"_s;
    case 21:
    case 121:
        return u"%Y-%m-%d %H:%M:%f"_s;
    case 126:
        return u"%Y-%m-%dT%H:%M:%f"_s;
    case 23:
        return u"%Y-%m-%d"_s;
    case 112:
        return u"%Y%m%d"_s;
    case 102:
        return u"%Y.%m.%d"_s;
    case 111:
        return u"%Y/%m/%d"_s;
    case 101:
        return u"%m/%d/%Y"_s;
    case 103:
        return u"%d/%m/%Y"_s;
    case 104:
        return u"%d.%m.%Y"_s;
    case 105:
        return u"%d-%m-%Y"_s;
    case 110:
        return u"%m-%d-%Y"_s;
    case 8:
    case 108:
        return u"%H:%M:%S"_s;
    default:
        return {};
    }
}

class Rewriter
{
public:
    explicit Rewriter(const QList<Token> &tokens)
        : t(tokens)
    {}

    // Generic rewrite of tokens [b, e): one query level; parenthesised groups recurse.
    QString process(int b, int e) const;
    QList<SqliteStep> statement(int b, int e) const;
    TsqlTranslator::ColumnChange retype(const QString &column,
                                        const QString &newType,
                                        const QString &nullability,
                                        const QString &newTableName) const;

private:
    int nextSig(int i, int e) const
    {
        for (; i < e; ++i) {
            if (t[i].significant())
                return i;
        }
        return -1;
    }
    int matching(int open, int e) const
    {
        int depth = 0;
        for (int i = open; i < e; ++i) {
            if (isPunct(t[i], u"("))
                ++depth;
            else if (isPunct(t[i], u")") && --depth == 0)
                return i;
        }
        return -1;
    }
    QList<QPair<int, int>> splitCommas(int b, int e) const
    {
        QList<QPair<int, int>> parts;
        int depth = 0;
        int start = b;
        for (int i = b; i < e; ++i) {
            if (isPunct(t[i], u"("))
                ++depth;
            else if (isPunct(t[i], u")"))
                --depth;
            else if (depth == 0 && isPunct(t[i], u",")) {
                parts.append({start, i});
                start = i + 1;
            }
        }
        parts.append({start, e});
        return parts;
    }
    QString raw(int b, int e) const
    {
        QString s;
        for (int i = b; i < e; ++i)
            s += t[i].text;
        return s;
    }

    QString functionCall(const QString &name, int open, int close, bool *handled) const;
    QString convertCall(int open, int close) const;
    QString normalizedType(int b, int e) const;
    int typeEnd(int b, int e) const;
    QString columnDefinition(int b, int e, const QString &table) const;
    QString columnList(int b, int e, const QString &table) const;
    QString tableName(int b, int open) const;
    int valueConstraintEnd(int i, int e) const;
    QList<SqliteStep> createTable(int b, int e) const;
    QList<SqliteStep> alterTable(int b, int e) const;
    QList<SqliteStep> ifStatement(int b, int e) const;

    const QList<Token> &t;
};

QString Rewriter::process(int b, int e) const
{
    QString out;
    QString limit;
    bool inSelectList = false;
    int prevSig = -1; // index of the last significant token at this level
    // Trailing blanks and comments are kept apart, so that a LIMIT goes before them.
    const int fullEnd = e;
    while (e > b && !t[e - 1].significant())
        --e;
    for (int i = b; i < e; ++i) {
        const Token &tok = t[i];
        if (!tok.significant()) {
            out += tok.text;
            continue;
        }
        const int cur = i;
        if ((tok.type == Token::Word || tok.type == Token::Bracketed)
            && stripIdentifier(tok.text).compare(u"dbo", Qt::CaseInsensitive) == 0) {
            const int dot = nextSig(i + 1, e);
            if (dot >= 0 && isPunct(t[dot], u".")) {
                i = dot; // the default schema has no meaning here
                continue;
            }
        }
        switch (tok.type) {
        case Token::String: {
            const int n = nextSig(i + 1, e);
            bool alias = false;
            if (prevSig >= 0 && isWord(t[prevSig], u"AS"))
                alias = true;
            else if (inSelectList && prevSig >= 0) {
                const Token &p = t[prevSig];
                const bool exprEnd
                    = (p.type == Token::Word && !wordsBeforeValues().contains(upper(p)))
                      || p.type == Token::Bracketed || p.type == Token::DQuoted
                      || p.type == Token::Number || isPunct(p, u")");
                const bool aliasEnd = n < 0 || isPunct(t[n], u",") || isWord(t[n], u"FROM")
                                      || isWord(t[n], u"INTO");
                alias = exprEnd && aliasEnd;
            }
            out += alias ? quoteIdentifier(tok.stringValue()) : tok.sqliteString();
            break;
        }
        case Token::Word: {
            const QString w = upper(tok);
            const int n = nextSig(i + 1, e);
            if (n >= 0 && isPunct(t[n], u"(")) {
                const int close = matching(n, e);
                const bool isDefault = prevSig >= 0 && isWord(t[prevSig], u"DEFAULT");
                if (close > 0) {
                    bool handled = false;
                    QString call = functionCall(w, n, close, &handled);
                    if (!handled && isDefault)
                        call = tok.text + u'(' + process(n + 1, close) + u')';
                    if (handled || isDefault) {
                        // SQLite takes an expression as DEFAULT only in parentheses
                        out += isDefault ? u'(' + call + u')' : call;
                        i = close;
                        prevSig = close;
                        continue;
                    }
                }
            }
            if (w == u"INSERT") {
                out += tok.text;
                if (n >= 0 && !isWord(t[n], u"INTO"))
                    out += u" into"_s;
            } else if (w == u"DELETE" && prevSig < 0 && n >= 0 && t[n].type != Token::Punct
                       && !isWord(t[n], u"FROM")) {
                out += tok.text + u" from"_s;
            } else if (w == u"SELECT") {
                out += tok.text;
                inSelectList = true;
                int k = n;
                if (k >= 0 && (isWord(t[k], u"DISTINCT") || isWord(t[k], u"ALL"))) {
                    for (int j = i + 1; j <= k; ++j)
                        out += t[j].text;
                    i = k;
                    k = nextSig(k + 1, e);
                }
                if (k >= 0 && isWord(t[k], u"TOP")) {
                    int v = nextSig(k + 1, e);
                    int last = -1;
                    if (v >= 0 && t[v].type == Token::Number) {
                        limit = t[v].text;
                        last = v;
                    } else if (v >= 0 && isPunct(t[v], u"(")) {
                        const int close = matching(v, e);
                        if (close > 0) {
                            limit = u'(' + process(v + 1, close) + u')';
                            last = close;
                        }
                    }
                    const int after = last >= 0 ? nextSig(last + 1, e) : -1;
                    if (last >= 0
                        && !(after >= 0
                             && (isWord(t[after], u"PERCENT") || isWord(t[after], u"WITH")))) {
                        i = last;
                        while (i + 1 < e && t[i + 1].type == Token::Space)
                            ++i;
                        out += u' ';
                        prevSig = cur;
                        continue;
                    }
                    limit.clear();
                }
            } else if (w == u"FROM" || w == u"INTO" || w == u"WHERE" || w == u"GROUP"
                       || w == u"ORDER" || w == u"HAVING" || w == u"UNION" || w == u"EXCEPT"
                       || w == u"INTERSECT") {
                inSelectList = false;
                out += tok.text;
            } else if (w == u"LIKE") {
                out += tok.text;
                if (i + 1 < e && t[i + 1].type == Token::String)
                    out += u' ';
                const int after = n >= 0 ? nextSig(n + 1, e) : -1;
                QString escaped;
                if (n >= 0 && t[n].type == Token::String
                    && !(after >= 0 && isWord(t[after], u"ESCAPE")))
                    escaped = likeBracketsEscaped(t[n].text);
                if (!escaped.isEmpty()) {
                    out += raw(i + 1, n) + escaped;
                    i = n;
                    prevSig = n;
                    continue;
                }
            } else if (w == u"COLLATE" && n >= 0 && t[n].type == Token::Word) {
                out += tok.text + raw(i + 1, n) + mapCollation(t[n].text);
                i = n;
            } else if ((w == u"ON" || w == u"TEXTIMAGE_ON") && n >= 0
                       && (isWord(t[n], u"PRIMARY")
                           || t[n].text.compare(u"[PRIMARY]", Qt::CaseInsensitive) == 0)) {
                const int k = nextSig(n + 1, e);
                if (t[n].type == Token::Bracketed || k < 0 || !isWord(t[k], u"KEY")) {
                    i = n; // filegroups do not exist in SQLite
                    continue;
                }
                out += tok.text;
            } else if ((w == u"CLUSTERED" || w == u"NONCLUSTERED") && prevSig >= 0
                       && (isWord(t[prevSig], u"KEY") || isWord(t[prevSig], u"UNIQUE"))) {
                while (i + 1 < e && t[i + 1].type == Token::Space)
                    ++i;
                continue;
            } else {
                out += tok.text;
            }
            break;
        }
        case Token::Punct: {
            if (tok.text == u"(") {
                const int close = matching(i, e);
                if (close > 0) {
                    out += u'(' + process(i + 1, close) + u')';
                    i = close;
                    prevSig = close;
                    continue;
                }
            }
            out += tok.text;
            break;
        }
        default:
            out += tok.text;
            break;
        }
        prevSig = cur;
    }
    if (!limit.isEmpty())
        out += u" LIMIT "_s + limit;
    return out + raw(e, fullEnd);
}

QString Rewriter::functionCall(const QString &name, int open, int close, bool *handled) const
{
    *handled = true;
    const QString inner = process(open + 1, close);
    if (name == u"SUBSTRING")
        return u"substr("_s + inner + u')';
    if (name == u"ISNULL")
        return u"ifnull("_s + inner + u')';
    if (name == u"LEN") // len() does not count trailing blanks
        return u"length(rtrim("_s + inner + u"))"_s;
    if (name == u"GETDATE" && inner.trimmed().isEmpty())
        return u"datetime('now','localtime')"_s;
    if (name == u"NEWID" && inner.trimmed().isEmpty())
        return TsqlTranslator::newGuidExpression();
    if (name == u"CONVERT") {
        const QString c = convertCall(open, close);
        if (!c.isEmpty())
            return c;
    }
    *handled = false;
    return {};
}

// CONVERT(type, expr [, style]); an empty result means "not understood".
QString Rewriter::convertCall(int open, int close) const
{
    const auto args = splitCommas(open + 1, close);
    if (args.size() < 2 || args.size() > 3)
        return {};
    const int tb = nextSig(args[0].first, args[0].second);
    if (tb < 0)
        return {};
    const QString type = normalizedType(tb, args[0].second).toLower();
    static const QRegularExpression typeRx(u"^(\\w+)\\s*(?:\\((\\w+)(?:,(\\d+))?\\))?$"_s);
    const auto m = typeRx.match(type);
    if (!m.hasMatch())
        return {};
    const QString base = m.captured(1);
    const QString len = m.captured(2);
    const QString expr = process(args[1].first, args[1].second).trimmed();
    int style = -1;
    if (args.size() == 3) {
        bool ok = false;
        style = raw(args[2].first, args[2].second).trimmed().toInt(&ok);
        if (!ok)
            return {};
    }

    static const QSet<QString> textTypes{
        u"char"_s, u"varchar"_s, u"nchar"_s, u"nvarchar"_s, u"text"_s, u"ntext"_s};
    static const QSet<QString> intTypes{
        u"int"_s, u"bigint"_s, u"smallint"_s, u"tinyint"_s, u"integer"_s};
    if (textTypes.contains(base)) {
        QString result;
        if (style < 0 || style == 0) {
            result = u"CAST("_s + expr + u" AS TEXT)"_s;
        } else {
            const QString pattern = dateStylePattern(style);
            if (pattern.isEmpty())
                return {};
            // The style applies to date values only; other values convert as they are.
            result = u"(CASE WHEN "_s + expr
                     + u" GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*' THEN strftime('"_s
                     + pattern + u"', "_s + expr + u") ELSE CAST("_s + expr + u" AS TEXT) END)"_s;
        }
        bool ok = false;
        const int n = len.toInt(&ok);
        if (ok && n > 0)
            result = u"substr("_s + result + u", 1, "_s + QString::number(n) + u')';
        return result;
    }
    if (intTypes.contains(base))
        return u"CAST("_s + expr + u" AS INTEGER)"_s;
    if (base == u"bit")
        return u"(CASE WHEN ("_s + expr + u") IS NULL THEN NULL WHEN CAST("_s + expr
               + u" AS REAL) <> 0 THEN 1 ELSE 0 END)"_s;
    if (base == u"numeric" || base == u"decimal" || base == u"money" || base == u"smallmoney") {
        const int scale = base.endsWith(u"money") ? 4 : m.captured(3).toInt();
        return u"round(CAST("_s + expr + u" AS REAL), "_s + QString::number(scale) + u')';
    }
    if (base == u"float" || base == u"real")
        return u"CAST("_s + expr + u" AS REAL)"_s;
    if (base == u"datetime" || base == u"smalldatetime" || base == u"date"
        || base == u"datetime2") {
        QString value = expr;
        if (style == 112)
            value = u"(substr("_s + expr + u",1,4)||'-'||substr("_s + expr
                    + u",5,2)||'-'||substr("_s + expr + u",7,2))"_s;
        else if (style >= 0 && style != 120 && style != 121 && style != 23 && style != 20
                 && style != 21 && style != 126)
            return {};
        return (base == u"date" ? u"date("_s : u"datetime("_s) + value + u')';
    }
    return {};
}

// Declared type text from tokens: brackets dropped, "[varchar] (30)" -> "varchar(30)".
QString Rewriter::normalizedType(int b, int e) const
{
    QString out;
    bool inParens = false;
    for (int i = b; i < e; ++i) {
        const Token &tok = t[i];
        if (!tok.significant())
            continue;
        if (isPunct(tok, u"(")) {
            // SQLite takes only numbers as type arguments; "(max)" means no limit at all.
            const int arg = nextSig(i + 1, e);
            const int close = arg >= 0 ? nextSig(arg + 1, e) : -1;
            if (close >= 0 && isWord(t[arg], u"MAX") && isPunct(t[close], u")")) {
                i = close;
                continue;
            }
            inParens = true;
            out += u'(';
        } else if (isPunct(tok, u")")) {
            inParens = false;
            out += u')';
        } else if (inParens) {
            out += tok.text;
        } else {
            if (!out.isEmpty())
                out += u' ';
            out += tok.type == Token::Bracketed || tok.type == Token::DQuoted
                       ? stripIdentifier(tok.text)
                       : tok.text;
        }
    }
    return out;
}

// End of the type part of a column definition whose type starts at b.
int Rewriter::typeEnd(int b, int e) const
{
    int i = b;
    for (; i < e; ++i) {
        const Token &tok = t[i];
        if (!tok.significant())
            continue;
        if (tok.type == Token::Word && constraintWords().contains(upper(tok)))
            return i;
        if (isPunct(tok, u"(")) {
            const int close = matching(i, e);
            if (close < 0)
                return e;
            i = close;
            continue;
        }
        if (tok.type != Token::Word && tok.type != Token::Bracketed && tok.type != Token::DQuoted)
            return i;
    }
    return e;
}

QString Rewriter::columnDefinition(int b, int e, const QString &table) const
{
    const int name = nextSig(b, e);
    if (name < 0)
        return process(b, e).trimmed();
    const int typeBegin = name + 1;
    const int tEnd = typeEnd(typeBegin, e);
    const QString type = normalizedType(typeBegin, tEnd);
    bool hasCollate = false;
    for (int i = tEnd; i < e; ++i) {
        if (isWord(t[i], u"COLLATE"))
            hasCollate = true;
    }
    QString out = t[name].text;
    if (!type.isEmpty())
        out += u' ' + type;
    if (!hasCollate && TsqlTranslator::isTextType(type))
        out += u" COLLATE NOCASE"_s;
    const QString rest = process(tEnd, e).trimmed();
    if (!rest.isEmpty())
        out += u' ' + rest;
    const QString check
        = TsqlTranslator::valueConstraint(table, stripIdentifier(t[name].text), type);
    if (!check.isEmpty())
        out += u' ' + check;
    return out;
}

// Plain name of the table that CREATE TABLE [IF NOT EXISTS] name ( ... creates.
QString Rewriter::tableName(int b, int open) const
{
    int name = -1;
    for (int i = b; i < open; ++i) {
        if (isWord(t[i], u"TABLE")) {
            name = nextSig(i + 1, open);
            break;
        }
    }
    if (name >= 0 && isWord(t[name], u"IF")) {
        const int nt = nextSig(name + 1, open);
        const int ex = nt >= 0 ? nextSig(nt + 1, open) : -1;
        name = ex >= 0 ? nextSig(ex + 1, open) : -1;
    }
    return name >= 0 ? plainName(raw(name, open)) : QString();
}

// When a value constraint of ours begins at i: the end of its CHECK ( ... ), else -1.
int Rewriter::valueConstraintEnd(int i, int e) const
{
    if (!isWord(t[i], u"CONSTRAINT"))
        return -1;
    const int name = nextSig(i + 1, e);
    if (name < 0 || t[name].type != Token::DQuoted || !t[name].text.startsWith(u"\"vorlane:"))
        return -1;
    const int check = nextSig(name + 1, e);
    const int open = check >= 0 && isWord(t[check], u"CHECK") ? nextSig(check + 1, e) : -1;
    if (open < 0 || !isPunct(t[open], u"("))
        return -1;
    const int close = matching(open, e);
    return close < 0 ? -1 : close + 1;
}

// The inside of CREATE TABLE's parentheses; a table key clause that follows a column without a
// comma ("... NULL Primary Key(c)") is separated from it.
QString Rewriter::columnList(int b, int e, const QString &table) const
{
    QStringList items;
    for (const auto &[pb, pe] : splitCommas(b, e)) {
        QList<QPair<int, int>> pieces;
        int start = pb;
        const int first = nextSig(pb, pe);
        for (int i = first >= 0 ? first + 1 : pe; i < pe; ++i) {
            if (!t[i].significant())
                continue;
            int k = i;
            if (isWord(t[k], u"CONSTRAINT")) {
                const int nm = nextSig(k + 1, pe);
                k = nm >= 0 ? nextSig(nm + 1, pe) : -1;
                if (k < 0)
                    continue;
            }
            int paren = -1;
            if (isWord(t[k], u"PRIMARY") || isWord(t[k], u"FOREIGN")) {
                const int key = nextSig(k + 1, pe);
                if (key >= 0 && isWord(t[key], u"KEY"))
                    paren = nextSig(key + 1, pe);
            } else if (isWord(t[k], u"UNIQUE")) {
                paren = nextSig(k + 1, pe);
            }
            if (paren >= 0 && (isWord(t[paren], u"CLUSTERED") || isWord(t[paren], u"NONCLUSTERED")))
                paren = nextSig(paren + 1, pe);
            if (paren >= 0 && isPunct(t[paren], u"(")) {
                pieces.append({start, i});
                start = i;
                break;
            }
        }
        pieces.append({start, pe});
        for (const auto &[s, f] : pieces) {
            const int head = nextSig(s, f);
            if (head < 0)
                continue;
            const QString w = upper(t[head]);
            const bool tableConstraint = t[head].type == Token::Word
                                         && (w == u"CONSTRAINT" || w == u"PRIMARY" || w == u"UNIQUE"
                                             || w == u"FOREIGN" || w == u"CHECK");
            items << (tableConstraint ? process(s, f).trimmed() : columnDefinition(s, f, table));
        }
    }
    return items.join(u", "_s);
}

QList<SqliteStep> Rewriter::createTable(int b, int e) const
{
    int open = -1;
    for (int i = b; i < e; ++i) {
        if (isPunct(t[i], u"(")) {
            open = i;
            break;
        }
        if (isWord(t[i], u"AS"))
            break;
    }
    const int close = open >= 0 ? matching(open, e) : -1;
    SqliteStep step;
    if (close < 0) {
        step.sql = process(b, e).trimmed();
    } else {
        step.sql = QString(process(b, open) + u'(' + columnList(open + 1, close, tableName(b, open))
                           + u')' + process(close + 1, e))
                       .trimmed();
    }
    return {step};
}

QList<SqliteStep> Rewriter::alterTable(int b, int e) const
{
    const int alter = nextSig(b, e);
    const int table = nextSig(alter + 1, e);
    int name = nextSig(table + 1, e);
    if (name < 0)
        return {nativeStep(process(b, e).trimmed())};
    int nameEnd = name + 1; // dbo.T, [dbo].[T]
    while (true) {
        const int dot = nextSig(nameEnd, e);
        if (dot < 0 || !isPunct(t[dot], u"."))
            break;
        const int part = nextSig(dot + 1, e);
        if (part < 0)
            break;
        nameEnd = part + 1;
    }
    const QString tableText = process(name, nameEnd).trimmed();
    const QString tablePlain = plainName(raw(name, nameEnd));
    const QString head = u"ALTER TABLE "_s + tableText;
    const int action = nextSig(nameEnd, e);
    if (action < 0)
        return {nativeStep(process(b, e).trimmed())};

    if (isWord(t[action], u"ADD")) {
        int first = nextSig(action + 1, e);
        if (first >= 0 && isWord(t[first], u"COLUMN"))
            first = nextSig(first + 1, e);
        if (first < 0 || isWord(t[first], u"CONSTRAINT") || isWord(t[first], u"PRIMARY")
            || isWord(t[first], u"UNIQUE") || isWord(t[first], u"FOREIGN")
            || isWord(t[first], u"CHECK"))
            return {nativeStep(process(b, e).trimmed())};
        QList<SqliteStep> steps;
        for (const auto &[s, f] : splitCommas(first, e)) {
            if (nextSig(s, f) < 0)
                continue;
            steps.append(nativeStep(head + u" ADD COLUMN "_s + columnDefinition(s, f, tablePlain)));
        }
        return steps;
    }
    if (isWord(t[action], u"DROP")) {
        const int col = nextSig(action + 1, e);
        if (col >= 0 && isWord(t[col], u"COLUMN")) {
            QList<SqliteStep> steps;
            for (const auto &[s, f] : splitCommas(col + 1, e)) {
                const QString c = process(s, f).trimmed();
                if (!c.isEmpty())
                    steps.append(nativeStep(head + u" DROP COLUMN "_s + c));
            }
            return steps;
        }
    }
    if (isWord(t[action], u"ALTER")) {
        const int kw = nextSig(action + 1, e);
        const int col = kw >= 0 && isWord(t[kw], u"COLUMN") ? nextSig(kw + 1, e) : -1;
        if (col >= 0) {
            const int tEnd = typeEnd(col + 1, e);
            SqliteStep step;
            step.kind = SqliteStep::AlterColumn;
            step.table = tablePlain;
            step.column = stripIdentifier(t[col].text);
            step.columnType = normalizedType(col + 1, tEnd);
            bool understood = !step.columnType.isEmpty();
            for (int i = tEnd; i < e && understood; ++i) {
                if (!t[i].significant())
                    continue;
                if (isWord(t[i], u"NOT")) {
                    const int nl = nextSig(i + 1, e);
                    understood = nl >= 0 && isWord(t[nl], u"NULL");
                    step.nullability = u"NOT NULL"_s;
                    i = nl;
                } else if (isWord(t[i], u"NULL")) {
                    step.nullability = u"NULL"_s;
                } else if (isWord(t[i], u"COLLATE")) {
                    i = nextSig(i + 1, e); // the column keeps its collation
                    understood = i >= 0;
                } else if (!isPunct(t[i], u";")) {
                    understood = false;
                }
            }
            if (understood)
                return {step};
        }
    }
    return {nativeStep(process(b, e).trimmed())};
}

QList<SqliteStep> Rewriter::ifStatement(int b, int e) const
{
    const auto unchanged = [&] { return QList<SqliteStep>{nativeStep(raw(b, e).trimmed())}; };
    int i = nextSig(nextSig(b, e) + 1, e);
    bool negated = false;
    if (i >= 0 && isWord(t[i], u"NOT")) {
        negated = true;
        i = nextSig(i + 1, e);
    }
    if (i < 0 || !isWord(t[i], u"EXISTS"))
        return unchanged();
    const int open = nextSig(i + 1, e);
    if (open < 0 || !isPunct(t[open], u"("))
        return unchanged();
    const int close = matching(open, e);
    if (close < 0 || nextSig(close + 1, e) < 0)
        return unchanged();

    // The catalogue guard: select * from sysobjects where id = object_id(N'T') [and ...]
    QString objectName;
    bool sysobjects = false;
    bool userTable = false;
    for (int k = open + 1; k < close; ++k) {
        if (isWord(t[k], u"sysobjects"))
            sysobjects = true;
        if (t[k].type == Token::String
            && t[k].stringValue().compare(u"IsUserTable", Qt::CaseInsensitive) == 0)
            userTable = true;
        if (isWord(t[k], u"OBJECT_ID")) {
            const int p = nextSig(k + 1, close);
            const int s = p >= 0 ? nextSig(p + 1, close) : -1;
            if (s >= 0 && t[s].type == Token::String)
                objectName = plainName(t[s].stringValue());
        }
    }

    QList<SqliteStep> body = statement(close + 1, e);
    QString condition;
    if (sysobjects && !objectName.isEmpty()) {
        if (body.size() == 1 && body[0].kind == SqliteStep::Native) {
            static const QRegularExpression dropRx(
                u"^DROP\\s+TABLE\\s+(?!IF\\s)(.+)$"_s,
                QRegularExpression::CaseInsensitiveOption
                    | QRegularExpression::DotMatchesEverythingOption);
            static const QRegularExpression createRx(
                u"^CREATE\\s+TABLE\\s+(?!IF\\s)(.+)$"_s,
                QRegularExpression::CaseInsensitiveOption
                    | QRegularExpression::DotMatchesEverythingOption);
            const auto dm = dropRx.match(body[0].sql);
            if (!negated && dm.hasMatch()
                && plainName(dm.captured(1)).compare(objectName, Qt::CaseInsensitive) == 0) {
                body[0].sql = u"DROP TABLE IF EXISTS "_s + dm.captured(1);
                return body;
            }
            const auto cm = createRx.match(body[0].sql);
            if (negated && cm.hasMatch()) {
                const QList<Token> rest = tokenize(cm.captured(1));
                QString created;
                for (const Token &tk : rest) {
                    if (isPunct(tk, u"("))
                        break;
                    created += tk.text;
                }
                if (plainName(created).compare(objectName, Qt::CaseInsensitive) == 0) {
                    body[0].sql = u"CREATE TABLE IF NOT EXISTS "_s + cm.captured(1);
                    return body;
                }
            }
        }
        condition = u"SELECT 1 FROM sqlite_schema WHERE "_s
                    + (userTable ? u"type = 'table'"_s : u"type IN ('table', 'view')"_s)
                    + u" AND name = "_s + quoteLiteral(objectName) + u" COLLATE NOCASE"_s;
    } else {
        condition = process(open + 1, close).trimmed();
    }
    for (SqliteStep &s : body) {
        s.condition = condition;
        s.conditionNegated = negated;
    }
    return body;
}

TsqlTranslator::ColumnChange Rewriter::retype(const QString &column,
                                              const QString &newType,
                                              const QString &nullability,
                                              const QString &newTableName) const
{
    TsqlTranslator::ColumnChange change;
    const int e = int(t.size());
    int open = -1;
    for (int i = 0; i < e; ++i) {
        if (isPunct(t[i], u"(")) {
            open = i;
            break;
        }
    }
    const int close = open >= 0 ? matching(open, e) : -1;
    if (close < 0)
        return change;
    for (const auto &[pb, pe] : splitCommas(open + 1, close)) {
        const int name = nextSig(pb, pe);
        if (name < 0 || t[name].type == Token::String
            || stripIdentifier(t[name].text).compare(column, Qt::CaseInsensitive) != 0)
            continue;
        const int tEnd = typeEnd(name + 1, pe);
        change.found = true;
        change.oldType = normalizedType(name + 1, tEnd);
        QString constraints;
        bool hasCollate = false;
        for (int i = tEnd; i < pe; ++i) {
            const int checkEnd = valueConstraintEnd(i, pe);
            if (checkEnd > 0) { // the new type brings its own
                change.wasChecked = true;
                i = checkEnd - 1;
                continue;
            }
            if (isWord(t[i], u"NOT")) {
                const int nl = nextSig(i + 1, pe);
                if (nl >= 0 && isWord(t[nl], u"NULL")) {
                    change.wasNotNull = true;
                    if (nullability == u"NULL") {
                        i = nl;
                        continue;
                    }
                }
            }
            if (isWord(t[i], u"COLLATE"))
                hasCollate = true;
            constraints += t[i].text;
        }
        constraints = constraints.trimmed();
        if (nullability == u"NOT NULL" && !change.wasNotNull)
            constraints = QString(constraints + u" NOT NULL"_s).trimmed();
        QString def = t[name].text + u' ' + newType;
        if (!hasCollate && TsqlTranslator::isTextType(newType))
            def += u" COLLATE NOCASE"_s;
        if (!constraints.isEmpty())
            def += u' ' + constraints;
        const QString check = TsqlTranslator::valueConstraint(
            tableName(0, open), stripIdentifier(t[name].text), newType);
        if (!check.isEmpty())
            def += u' ' + check;
        // keep the blanks around the definition as they were
        int lead = pb;
        while (lead < pe && !t[lead].significant())
            ++lead;
        int trail = pe;
        while (trail > lead && !t[trail - 1].significant())
            --trail;
        QString head = raw(0, open);
        if (!newTableName.isEmpty()) {
            int tableKw = -1;
            for (int i = 0; i < open; ++i) {
                if (isWord(t[i], u"TABLE"))
                    tableKw = i;
            }
            int nameBegin = nextSig(tableKw + 1, open);
            // CREATE TABLE IF NOT EXISTS name
            if (nameBegin >= 0 && isWord(t[nameBegin], u"IF")) {
                const int nt = nextSig(nameBegin + 1, open);
                const int ex = nt >= 0 ? nextSig(nt + 1, open) : -1;
                nameBegin = ex >= 0 ? nextSig(ex + 1, open) : -1;
            }
            if (tableKw < 0 || nameBegin < 0)
                return TsqlTranslator::ColumnChange{};
            head = raw(0, nameBegin) + quoteIdentifier(newTableName) + u' ';
        }
        change.createSql = head + u'(' + raw(open + 1, lead) + def + raw(trail, close) + u')'
                           + raw(close + 1, e);
        return change;
    }
    return change;
}

QList<SqliteStep> Rewriter::statement(int b, int e) const
{
    const int first = nextSig(b, e);
    if (first < 0)
        return {};
    const int second = nextSig(first + 1, e);
    if (isWord(t[first], u"IF"))
        return ifStatement(b, e);
    if (isWord(t[first], u"CREATE") && second >= 0 && isWord(t[second], u"TABLE"))
        return createTable(b, e);
    if (isWord(t[first], u"ALTER") && second >= 0 && isWord(t[second], u"TABLE"))
        return alterTable(b, e);
    const QString sql = process(b, e).trimmed();
    if (sql.isEmpty())
        return {};
    return {nativeStep(sql)};
}

} // namespace

QList<SqliteStep> TsqlTranslator::translate(const QString &tsql)
{
    const QList<Token> tokens = tokenize(tsql);
    const Rewriter rw(tokens);
    QList<SqliteStep> steps;
    for (const auto &[b, e] : splitBatch(tokens))
        steps += rw.statement(b, e);
    return steps;
}

TsqlTranslator::ColumnChange TsqlTranslator::retypeColumn(const QString &createSql,
                                                          const QString &column,
                                                          const QString &newType,
                                                          const QString &nullability,
                                                          const QString &newTableName)
{
    const QList<Token> tokens = tokenize(createSql);
    return Rewriter(tokens).retype(column, newType, nullability, newTableName);
}

QString TsqlTranslator::affinityOf(const QString &declaredType)
{
    const QString u = stripIdentifier(declaredType).toUpper();
    if (u.contains(u"INT"))
        return u"INTEGER"_s;
    if (u.contains(u"CHAR") || u.contains(u"CLOB") || u.contains(u"TEXT"))
        return u"TEXT"_s;
    if (u.contains(u"BLOB") || u.trimmed().isEmpty())
        return u"BLOB"_s;
    if (u.contains(u"REAL") || u.contains(u"FLOA") || u.contains(u"DOUB"))
        return u"REAL"_s;
    return u"NUMERIC"_s;
}

bool TsqlTranslator::isTextType(const QString &declaredType)
{
    static const QRegularExpression rx(
        u"^\\s*(char|varchar|nchar|nvarchar|text|ntext|character|varying|uniqueidentifier|zquid)"
        "\\b"_s,
        QRegularExpression::CaseInsensitiveOption);
    return rx.match(stripIdentifier(declaredType)).hasMatch();
}

TsqlTranslator::ValueRule TsqlTranslator::valueRule(const QString &declaredType)
{
    static const QRegularExpression rx(u"^\\s*(\\w+)\\s*(?:\\(\\s*(\\d+)\\s*\\))?\\s*$"_s);
    const auto m = rx.match(stripIdentifier(declaredType));
    ValueRule rule;
    if (!m.hasMatch())
        return rule;
    const QString base = m.captured(1).toLower();
    const int length = m.captured(2).toInt();
    if (m.captured(2).isEmpty()) {
        if (base == u"int" || base == u"integer" || base == u"smallint" || base == u"tinyint"
            || base == u"bigint" || base == u"bit")
            rule.kind = ValueRule::Number;
    } else if (length > 0) {
        if (base == u"char" || base == u"varchar")
            rule.kind = ValueRule::Bytes;
        else if (base == u"nchar" || base == u"nvarchar")
            rule.kind = ValueRule::Characters;
        rule.length = length;
    }
    return rule;
}

QString TsqlTranslator::valueCheck(const QString &expr, const QString &declaredType)
{
    const ValueRule rule = valueRule(declaredType);
    switch (rule.kind) {
    case ValueRule::Number:
        // Integer affinity has already made a number of '12'; the server stores '' as 0.
        return u"typeof(%1) <> 'text' OR trim(%1) = ''"_s.arg(expr);
    case ValueRule::Characters:
        // The server drops trailing blanks that do not fit without complaint.
        return u"length(rtrim(%1)) <= %2"_s.arg(expr).arg(rule.length);
    case ValueRule::Bytes: {
        // Bytes of code page 936: one per ASCII character, two per other character. Built-in
        // SQL knows the characters n, the UTF-8 bytes u and the count d of '·' (frequent in
        // names): n + d + (u - n - d + 1) / 2. Exact for ASCII, for characters of three UTF-8
        // bytes (every Chinese character and full-width sign of the code page), for '·' and for
        // one other character of two UTF-8 bytes; with more of these (accented Latin, Greek,
        // Cyrillic) each counts one and a half. For text of the code page the count never exceeds
        // the server's, so nothing it stores is refused; it never exceeds u either, which SQLite
        // knows without reading the text: most values pass on that alone.
        const QString r = u"rtrim("_s + expr + u')';
        const QString dots = u"(length(%1) - length(replace(%1, '·', '')))"_s.arg(r);
        return u"length(CAST(%4 AS BLOB)) <= %3 OR length(%1) + %2 + (length(CAST(%1 AS BLOB)) "
               "- length(%1) - %2 + 1) / 2 <= %3"_s.arg(r, dots)
                   .arg(rule.length)
                   .arg(expr);
    }
    case ValueRule::None:
        break;
    }
    return {};
}

QString TsqlTranslator::valueConstraint(const QString &table,
                                        const QString &column,
                                        const QString &declaredType)
{
    const QString check = valueCheck(quoteIdentifier(column), declaredType);
    if (check.isEmpty() || table.isEmpty())
        return {};
    return u"CONSTRAINT "_s + quoteIdentifier(u"vorlane:"_s + table + u':' + column) + u" CHECK ("_s
           + check + u')';
}

bool TsqlTranslator::failedValueConstraint(const QString &message, QString *table, QString *column)
{
    static const QRegularExpression rx(u"CHECK constraint failed: vorlane:([^:\\s]+):([^\\s]+)"_s);
    const auto m = rx.match(message);
    if (!m.hasMatch())
        return false;
    *table = m.captured(1);
    *column = m.captured(2);
    return true;
}

QString TsqlTranslator::newGuidExpression()
{
    // Version 4 layout; no sub-query, so it is also valid as a column DEFAULT.
    return u"(hex(randomblob(4))||'-'||hex(randomblob(2))||'-4'||substr(hex(randomblob(2)),2)"
           "||'-'||substr('89AB',1+(abs(random())%4),1)||substr(hex(randomblob(2)),2)||'-'"
           "||hex(randomblob(6)))"_s;
}

} // namespace vorlane::db
