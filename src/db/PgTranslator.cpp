#include "PgTranslator.h"

#include "TsqlTokens.h"

#include <QHash>
#include <QRegularExpression>

namespace vorlane::db {

using namespace Qt::StringLiterals;
using namespace tsql;

namespace {

PgStep step(const QString &sql)
{
    PgStep s;
    s.sql = sql;
    return s;
}

// PostgreSQL folds unquoted names to lower case; quoted ones are kept as written. Every name the
// component writes is therefore given in lower case, bracketed or not.
QString pgName(const Token &tok)
{
    if (tok.type == Token::Bracketed || tok.type == Token::DQuoted)
        return quoteIdentifier(stripIdentifier(tok.text).toLower());
    return tok.text;
}

// to_char() pattern of a CONVERT style that formats a date as text.
QString dateStylePattern(int style)
{
    switch (style) {
    case 20:
    case 120:
        return u"YYYY-MM-DD HH24:MI:SS"_s;
    case 21:
    case 121:
        return u"YYYY-MM-DD HH24:MI:SS.MS"_s;
    case 126:
        return u"YYYY-MM-DD\"T\"HH24:MI:SS.MS"_s;
    case 23:
        return u"YYYY-MM-DD"_s;
    case 112:
        return u"YYYYMMDD"_s;
    case 102:
        return u"YYYY.MM.DD"_s;
    case 111:
        return u"YYYY/MM/DD"_s;
    case 101:
        return u"MM/DD/YYYY"_s;
    case 103:
        return u"DD/MM/YYYY"_s;
    case 104:
        return u"DD.MM.YYYY"_s;
    case 105:
        return u"DD-MM-YYYY"_s;
    case 110:
        return u"MM-DD-YYYY"_s;
    case 8:
    case 108:
        return u"HH24:MI:SS"_s;
    default:
        return {};
    }
}

bool isBlankString(const Token &t)
{
    return t.type == Token::String && t.stringValue().trimmed().isEmpty();
}

class PgRewriter
{
public:
    explicit PgRewriter(const QList<Token> &tokens)
        : t(tokens)
    {}

    QList<PgStep> statement(int b, int e);

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
    // The end of a possibly qualified name starting at i (dbo.T, [dbo].[T]).
    int nameEnd(int i, int e) const
    {
        int end = i + 1;
        for (;;) {
            const int dot = nextSig(end, e);
            if (dot < 0 || !isPunct(t[dot], u"."))
                return end;
            const int part = nextSig(dot + 1, e);
            if (part < 0)
                return end;
            end = part + 1;
        }
    }

    QString process(int b, int e) const;
    QString functionCall(const QString &name, int open, int close, bool *handled) const;
    QString convertCall(int open, int close) const;
    QString normalizedType(int b, int e) const;
    int typeEnd(int b, int e) const;
    QString columnDefinition(int b, int e) const;
    QString columnList(int b, int e) const;
    void markBlanks(int b, int e);
    QList<PgStep> createTable(int b, int e) const;
    QList<PgStep> alterTable(int b, int e) const;
    QList<PgStep> ifStatement(int b, int e);

    // COMMENT ON COLUMN steps that keep the T-SQL declared type of the columns just defined.
    QList<PgStep> declaredTypes(const QString &table) const;

    const QList<Token> &t;
    QHash<int, QString> m_blanks; // token index of a blank literal -> its marker
    mutable QList<QPair<QString, QString>> m_declared; // column, T-SQL type
};

QList<PgStep> PgRewriter::declaredTypes(const QString &table) const
{
    QList<PgStep> steps;
    for (const auto &[column, type] : std::as_const(m_declared)) {
        steps << step(u"COMMENT ON COLUMN "_s + quoteIdentifier(table.toLower()) + u'.'
                      + quoteIdentifier(column) + u" IS "_s + quoteLiteral(type.toLower()));
    }
    m_declared.clear();
    return steps;
}

QString PgRewriter::process(int b, int e) const
{
    QString out;
    QString limit;
    bool inSelectList = false;
    int prevSig = -1;
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
                i = dot; // the default schema is the search path's
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
            if (alias)
                out += quoteIdentifier(tok.stringValue());
            else
                out += m_blanks.value(i) + tok.sqliteString();
            break;
        }
        case Token::Bracketed:
        case Token::DQuoted:
            // an alias keeps its case: it is the caption of a result column
            out += prevSig >= 0 && isWord(t[prevSig], u"AS")
                       ? quoteIdentifier(stripIdentifier(tok.text))
                       : pgName(tok);
            break;
        case Token::Word: {
            const QString w = upper(tok);
            const int n = nextSig(i + 1, e);
            if (n >= 0 && isPunct(t[n], u"(")) {
                const int close = matching(n, e);
                if (close > 0) {
                    bool handled = false;
                    const QString call = functionCall(w, n, close, &handled);
                    if (handled) {
                        out += call;
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
                    const int v = nextSig(k + 1, e);
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
            } else if (w == u"COLLATE" && n >= 0
                       && (t[n].type == Token::Word || t[n].type == Token::Bracketed)) {
                // citext compares without case already; SQL Server's collation names mean
                // nothing here
                i = n;
                continue;
            } else if ((w == u"ON" || w == u"TEXTIMAGE_ON") && n >= 0
                       && (isWord(t[n], u"PRIMARY")
                           || t[n].text.compare(u"[PRIMARY]", Qt::CaseInsensitive) == 0)) {
                const int k = nextSig(n + 1, e);
                if (t[n].type == Token::Bracketed || k < 0 || !isWord(t[k], u"KEY")) {
                    i = n; // filegroups are SQL Server's
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

QString PgRewriter::functionCall(const QString &name, int open, int close, bool *handled) const
{
    *handled = true;
    const QString inner = process(open + 1, close);
    if (name == u"SUBSTRING")
        return u"substr("_s + inner + u')';
    if (name == u"ISNULL")
        return u"coalesce("_s + inner + u')';
    if (name == u"LEN") // len() does not count trailing blanks
        return u"char_length(rtrim(CAST(("_s + inner + u") AS text)))"_s;
    if (name == u"GETDATE" && inner.trimmed().isEmpty())
        return u"LOCALTIMESTAMP(3)"_s;
    if (name == u"NEWID" && inner.trimmed().isEmpty())
        return u"gen_random_uuid()"_s;
    if (name == u"CONVERT") {
        const QString c = convertCall(open, close);
        if (!c.isEmpty())
            return c;
    }
    *handled = false;
    return {};
}

// CONVERT(type, expr [, style]); an empty result means "not understood". Values go through text,
// so that text and numbers convert alike, as the server converts them.
QString PgRewriter::convertCall(int open, int close) const
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
    const QString asText = u"CAST(("_s + expr + u") AS text)"_s;
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
        QString result = asText;
        if (style > 0) {
            const QString pattern = dateStylePattern(style);
            if (pattern.isEmpty())
                return {};
            // The style applies to date values only; other values convert as they are.
            result = u"(CASE WHEN "_s + asText + u" ~ '^\\d{4}-\\d{2}-\\d{2}' THEN to_char(CAST("_s
                     + asText + u" AS timestamp), '"_s + pattern + u"') ELSE "_s + asText
                     + u" END)"_s;
        }
        bool ok = false;
        const int n = len.toInt(&ok);
        // CONVERT(char, x) is char(30)
        const int keep = ok && n > 0 ? n : (len.isEmpty() && base.endsWith(u"char") ? 30 : 0);
        if (keep > 0)
            result = u"left("_s + result + u", "_s + QString::number(keep) + u')';
        return u"CAST("_s + result + u" AS citext)"_s;
    }
    const QString blankOrNumber = u"(CASE WHEN btrim("_s + asText
                                  + u") = '' THEN 0 ELSE CAST(btrim("_s + asText
                                  + u") AS numeric) END)"_s;
    if (intTypes.contains(base))
        return u"CAST(trunc("_s + blankOrNumber + u") AS "_s
               + (base == u"bigint" ? u"bigint"_s : u"integer"_s) + u')';
    if (base == u"bit")
        return u"CAST((CASE WHEN ("_s + expr + u") IS NULL THEN NULL WHEN "_s + blankOrNumber
               + u" <> 0 THEN 1 ELSE 0 END) AS smallint)"_s;
    if (base == u"numeric" || base == u"decimal" || base == u"money" || base == u"smallmoney") {
        QString target = u"numeric"_s;
        if (base.endsWith(u"money"))
            target = u"numeric(19,4)"_s;
        else if (!len.isEmpty())
            target = u"numeric(%1,%2)"_s.arg(len, m.captured(3).isEmpty() ? u"0"_s : m.captured(3));
        return u"CAST(CAST(btrim("_s + asText + u") AS numeric) AS "_s + target + u')';
    }
    if (base == u"float" || base == u"real")
        return u"CAST("_s + blankOrNumber + u" AS double precision)"_s;
    if (base == u"datetime" || base == u"smalldatetime" || base == u"date"
        || base == u"datetime2") {
        const QString target = base == u"date" ? u"date"_s : u"timestamp(3)"_s;
        if (style == 112)
            return u"CAST(to_timestamp("_s + asText + u", 'YYYYMMDD') AS "_s + target + u')';
        if (style >= 0 && style != 120 && style != 121 && style != 23 && style != 20 && style != 21
            && style != 126)
            return {};
        return u"CAST("_s + asText + u" AS "_s + target + u')';
    }
    return {};
}

// Declared type text from tokens: brackets dropped, "[varchar] (30)" -> "varchar(30)".
QString PgRewriter::normalizedType(int b, int e) const
{
    QString out;
    bool inParens = false;
    for (int i = b; i < e; ++i) {
        const Token &tok = t[i];
        if (!tok.significant())
            continue;
        if (isPunct(tok, u"(")) {
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

int PgRewriter::typeEnd(int b, int e) const
{
    for (int i = b; i < e; ++i) {
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

QString PgRewriter::columnDefinition(int b, int e) const
{
    const int name = nextSig(b, e);
    if (name < 0)
        return process(b, e).trimmed();
    const int tEnd = typeEnd(name + 1, e);
    int length = 0;
    const QString declared = normalizedType(name + 1, tEnd);
    const QString type = PgTranslator::columnType(declared, &length);
    const QString column = stripIdentifier(t[name].text).toLower();
    if (!declared.isEmpty())
        m_declared.append({column, declared});
    QString out = quoteIdentifier(column);
    if (!type.isEmpty())
        out += u' ' + type;
    const QString rest = process(tEnd, e).trimmed();
    if (!rest.isEmpty())
        out += u' ' + rest;
    if (length > 0)
        out += u' ' + PgTranslator::lengthConstraint(column, length);
    return out;
}

// The inside of CREATE TABLE's parentheses; a table key clause that follows a column without a
// comma ("... NULL Primary Key(c)") is separated from it.
QString PgRewriter::columnList(int b, int e) const
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
            items << (tableConstraint ? process(s, f).trimmed() : columnDefinition(s, f));
        }
    }
    return items.join(u", "_s);
}

// Blank literals of INSERT T (c, ...) VALUES (...) and UPDATE T SET c = '' get a marker naming
// their column.
void PgRewriter::markBlanks(int b, int e)
{
    const int first = nextSig(b, e);
    if (first < 0)
        return;
    if (isWord(t[first], u"INSERT")) {
        int name = nextSig(first + 1, e);
        if (name >= 0 && isWord(t[name], u"INTO"))
            name = nextSig(name + 1, e);
        if (name < 0)
            return;
        const int end = nameEnd(name, e);
        const QString table = plainName(raw(name, end));
        const int open = nextSig(end, e);
        if (open < 0 || !isPunct(t[open], u"("))
            return;
        const int close = matching(open, e);
        const int values = close > 0 ? nextSig(close + 1, e) : -1;
        if (values < 0 || !isWord(t[values], u"VALUES"))
            return;
        QStringList columns;
        for (const auto &[s, f] : splitCommas(open + 1, close)) {
            const int c = nextSig(s, f);
            columns << (c >= 0 ? stripIdentifier(t[c].text) : QString());
        }
        for (int row = nextSig(values + 1, e); row >= 0 && isPunct(t[row], u"(");) {
            const int rowClose = matching(row, e);
            if (rowClose < 0)
                return;
            const auto parts = splitCommas(row + 1, rowClose);
            for (int k = 0; k < parts.size() && k < columns.size(); ++k) {
                const int v = nextSig(parts[k].first, parts[k].second);
                if (v >= 0 && isBlankString(t[v]) && nextSig(v + 1, parts[k].second) < 0)
                    m_blanks.insert(v, PgTranslator::blankMarker(table, columns[k]));
            }
            const int comma = nextSig(rowClose + 1, e);
            row = comma >= 0 && isPunct(t[comma], u",") ? nextSig(comma + 1, e) : -1;
        }
    } else if (isWord(t[first], u"UPDATE")) {
        const int name = nextSig(first + 1, e);
        if (name < 0)
            return;
        const int end = nameEnd(name, e);
        const QString table = plainName(raw(name, end));
        const int set = nextSig(end, e);
        if (set < 0 || !isWord(t[set], u"SET"))
            return;
        int stop = e;
        int depth = 0;
        for (int i = set + 1; i < e; ++i) {
            if (isPunct(t[i], u"("))
                ++depth;
            else if (isPunct(t[i], u")"))
                --depth;
            else if (depth == 0 && (isWord(t[i], u"WHERE") || isWord(t[i], u"FROM"))) {
                stop = i;
                break;
            }
        }
        for (const auto &[s, f] : splitCommas(set + 1, stop)) {
            const int c = nextSig(s, f);
            const int eq = c >= 0 ? nextSig(c + 1, f) : -1;
            const int v = eq >= 0 && isPunct(t[eq], u"=") ? nextSig(eq + 1, f) : -1;
            if (v >= 0 && isBlankString(t[v]) && nextSig(v + 1, f) < 0)
                m_blanks.insert(v, PgTranslator::blankMarker(table, stripIdentifier(t[c].text)));
        }
    }
}

QList<PgStep> PgRewriter::createTable(int b, int e) const
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
    if (close < 0)
        return {step(process(b, e).trimmed())};
    int name = -1;
    for (int i = b; i < open; ++i) {
        if (isWord(t[i], u"TABLE")) {
            name = nextSig(i + 1, open);
            break;
        }
    }
    if (name >= 0 && isWord(t[name], u"IF")) // IF NOT EXISTS
        name = nextSig(nextSig(nextSig(name + 1, open) + 1, open) + 1, open);
    m_declared.clear();
    QList<PgStep> steps{step(QString(process(b, open) + u'(' + columnList(open + 1, close) + u')'
                                     + process(close + 1, e))
                                 .trimmed())};
    if (name >= 0)
        steps += declaredTypes(plainName(raw(name, open)));
    return steps;
}

QList<PgStep> PgRewriter::alterTable(int b, int e) const
{
    const int alter = nextSig(b, e);
    const int table = nextSig(alter + 1, e);
    const int name = nextSig(table + 1, e);
    if (name < 0)
        return {step(process(b, e).trimmed())};
    const int end = nameEnd(name, e);
    const QString head = u"ALTER TABLE "_s + process(name, end).trimmed();
    const QString tablePlain = plainName(raw(name, end));
    m_declared.clear();
    const int action = nextSig(end, e);
    if (action < 0)
        return {step(process(b, e).trimmed())};

    if (isWord(t[action], u"ADD")) {
        int first = nextSig(action + 1, e);
        if (first >= 0 && isWord(t[first], u"COLUMN"))
            first = nextSig(first + 1, e);
        if (first < 0 || isWord(t[first], u"CONSTRAINT") || isWord(t[first], u"PRIMARY")
            || isWord(t[first], u"UNIQUE") || isWord(t[first], u"FOREIGN")
            || isWord(t[first], u"CHECK"))
            return {step(process(b, e).trimmed())};
        QStringList adds;
        for (const auto &[s, f] : splitCommas(first, e)) {
            if (nextSig(s, f) >= 0)
                adds << u"ADD COLUMN "_s + columnDefinition(s, f);
        }
        return QList<PgStep>{step(head + u' ' + adds.join(u", "_s))} + declaredTypes(tablePlain);
    }
    if (isWord(t[action], u"DROP")) {
        const int col = nextSig(action + 1, e);
        if (col >= 0 && isWord(t[col], u"COLUMN")) {
            QStringList drops;
            for (const auto &[s, f] : splitCommas(col + 1, e)) {
                const QString c = process(s, f).trimmed();
                if (!c.isEmpty())
                    drops << u"DROP COLUMN "_s + c;
            }
            return {step(head + u' ' + drops.join(u", "_s))};
        }
    }
    if (isWord(t[action], u"ALTER")) {
        const int kw = nextSig(action + 1, e);
        const int col = kw >= 0 && isWord(t[kw], u"COLUMN") ? nextSig(kw + 1, e) : -1;
        if (col >= 0) {
            const int tEnd = typeEnd(col + 1, e);
            const QString tsqlType = normalizedType(col + 1, tEnd);
            QString nullability;
            bool understood = !tsqlType.isEmpty();
            for (int i = tEnd; i < e && understood; ++i) {
                if (!t[i].significant())
                    continue;
                if (isWord(t[i], u"NOT")) {
                    const int nl = nextSig(i + 1, e);
                    understood = nl >= 0 && isWord(t[nl], u"NULL");
                    nullability = u"NOT NULL"_s;
                    i = nl;
                } else if (isWord(t[i], u"NULL")) {
                    nullability = u"NULL"_s;
                } else if (isWord(t[i], u"COLLATE")) {
                    i = nextSig(i + 1, e);
                    understood = i >= 0;
                } else if (!isPunct(t[i], u";")) {
                    understood = false;
                }
            }
            if (understood) {
                int length = 0;
                const QString type = PgTranslator::columnType(tsqlType, &length);
                const QString column = stripIdentifier(t[col].text).toLower();
                const QString c = quoteIdentifier(column);
                const QString asText = u"CAST("_s + c + u" AS text)"_s;
                // The server converts a blank text to 0 for a number column.
                const bool numeric = type == u"integer" || type == u"smallint" || type == u"bigint"
                                     || type.startsWith(u"numeric") || type == u"double precision"
                                     || type == u"real";
                const QString value = numeric
                                          ? u"(CASE WHEN btrim("_s + asText
                                                + u") = '' THEN '0' ELSE "_s + asText + u" END)"_s
                                          : asText;
                QStringList actions{
                    u"DROP CONSTRAINT IF EXISTS "_s
                        + quoteIdentifier(PgTranslator::lengthConstraintName(column)),
                    u"ALTER COLUMN "_s + c + u" TYPE "_s + type + u" USING CAST("_s + value
                        + u" AS "_s + type + u')'};
                if (nullability == u"NULL")
                    actions << u"ALTER COLUMN "_s + c + u" DROP NOT NULL"_s;
                else if (nullability == u"NOT NULL")
                    actions << u"ALTER COLUMN "_s + c + u" SET NOT NULL"_s;
                if (length > 0)
                    actions << u"ADD "_s + PgTranslator::lengthConstraint(column, length);
                m_declared.append({column, tsqlType});
                return QList<PgStep>{step(head + u' ' + actions.join(u", "_s))}
                       + declaredTypes(tablePlain);
            }
        }
    }
    return {step(process(b, e).trimmed())};
}

QList<PgStep> PgRewriter::ifStatement(int b, int e)
{
    const auto unchanged = [&] { return QList<PgStep>{step(raw(b, e).trimmed())}; };
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

    QList<PgStep> body = statement(close + 1, e);
    QString condition;
    if (sysobjects && !objectName.isEmpty()) {
        if (body.size() == 1) {
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
                QString created;
                for (const Token &tk : tokenize(cm.captured(1))) {
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
        condition
            = u"SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n"
              " ON n.oid = c.relnamespace WHERE n.nspname = current_schema() AND "_s
              + (userTable ? u"c.relkind IN ('r', 'p')"_s : u"c.relkind IN ('r', 'p', 'v', 'm')"_s)
              + u" AND c.relname = "_s + quoteLiteral(objectName.toLower());
    } else {
        condition = process(open + 1, close).trimmed();
    }
    for (PgStep &s : body) {
        s.condition = condition;
        s.conditionNegated = negated;
    }
    return body;
}

QList<PgStep> PgRewriter::statement(int b, int e)
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
    markBlanks(b, e);
    const QString sql = process(b, e).trimmed();
    if (sql.isEmpty())
        return {};
    return {step(sql)};
}

} // namespace

QList<PgStep> PgTranslator::translate(const QString &tsql)
{
    const QList<Token> tokens = tokenize(tsql);
    PgRewriter rw(tokens);
    QList<PgStep> steps;
    for (const auto &[b, e] : splitBatch(tokens))
        steps += rw.statement(b, e);
    return steps;
}

QString PgTranslator::columnType(const QString &tsqlType, int *length)
{
    if (length)
        *length = 0;
    static const QRegularExpression rx(
        u"^\\s*(\\w+(?:\\s+\\w+)?)\\s*(?:\\(\\s*(\\w+)\\s*(?:,\\s*(\\d+)\\s*)?\\))?\\s*$"_s);
    const auto m = rx.match(stripIdentifier(tsqlType));
    if (!m.hasMatch())
        return tsqlType;
    const QString base = m.captured(1).toLower();
    const QString size = m.captured(2);
    static const QSet<QString> text{u"char"_s,
                                    u"varchar"_s,
                                    u"nchar"_s,
                                    u"nvarchar"_s,
                                    u"character"_s,
                                    u"character varying"_s,
                                    u"text"_s,
                                    u"ntext"_s,
                                    u"sysname"_s,
                                    u"citext"_s};
    if (text.contains(base)) {
        bool ok = false;
        const int n = size.toInt(&ok);
        if (length && ok && n > 0 && base != u"text" && base != u"ntext")
            *length = n;
        else if (length && size.isEmpty() && (base == u"char" || base == u"nchar"))
            *length = 1;
        return u"citext"_s;
    }
    if (base == u"bit")
        return u"smallint"_s;
    if (base == u"int" || base == u"integer" || base == u"smallint" || base == u"tinyint")
        return u"integer"_s;
    if (base == u"bigint")
        return u"bigint"_s;
    if (base == u"float" || base == u"double precision")
        return u"double precision"_s;
    if (base == u"real")
        return u"real"_s;
    if (base == u"decimal" || base == u"numeric") {
        if (size.isEmpty())
            return u"numeric(18,0)"_s;
        return u"numeric(%1,%2)"_s.arg(size, m.captured(3).isEmpty() ? u"0"_s : m.captured(3));
    }
    if (base == u"money")
        return u"numeric(19,4)"_s;
    if (base == u"smallmoney")
        return u"numeric(10,4)"_s;
    if (base == u"datetime" || base == u"datetime2")
        return u"timestamp(3)"_s;
    if (base == u"smalldatetime")
        return u"timestamp(0)"_s;
    if (base == u"date" || base == u"time")
        return base;
    if (base == u"uniqueidentifier" || base == u"zquid")
        return u"uuid"_s;
    if (base == u"image" || base == u"varbinary" || base == u"binary")
        return u"bytea"_s;
    return tsqlType;
}

QString PgTranslator::lengthConstraintName(const QString &column)
{
    return u"vorlane_len_"_s + column.toLower();
}

QString PgTranslator::lengthConstraint(const QString &column, int length)
{
    return u"CONSTRAINT "_s + quoteIdentifier(lengthConstraintName(column))
           + u" CHECK (char_length("_s + quoteIdentifier(column.toLower()) + u") <= "_s
           + QString::number(length) + u')';
}

QString PgTranslator::blankMarker(const QString &table, const QString &column)
{
    return u"/*vorlane:blank:"_s + table.toLower() + u':' + column.toLower() + u"*/"_s;
}

bool PgTranslator::parseBlankMarker(const QString &comment, QString *table, QString *column)
{
    static const QRegularExpression rx(u"^/\\*vorlane:blank:(\\w+):(\\w+)\\*/$"_s);
    const auto m = rx.match(comment);
    if (!m.hasMatch())
        return false;
    *table = m.captured(1);
    *column = m.captured(2);
    return true;
}

} // namespace vorlane::db
