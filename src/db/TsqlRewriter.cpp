#include "TsqlRewriter.h"

#include <QRegularExpression>
#include <QSet>

namespace vorlane::db::tsql {

using namespace Qt::StringLiterals;

namespace {

// A LIKE pattern literal with the server's one-character bracket forms ("[_]", "[%]", "[[]") as
// the engines take it: the character escaped with "\", to be followed by ESCAPE '\'. A backslash
// stands for itself, as on the server (PostgreSQL takes it as its default escape otherwise).
// Empty when the pattern needs neither, or has a form the engines cannot express (a range or set
// such as "[a-z]").
QString likeBracketsEscaped(const QString &literal)
{
    const bool national = literal.startsWith(u'N') || literal.startsWith(u'n');
    QString pattern = literal.mid(national ? 2 : 1);
    pattern.chop(1);
    pattern.replace(u"''"_s, u"'"_s);
    if (!pattern.contains(u'[') && !pattern.contains(u'\\'))
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
    return u'\'' + out + u'\'';
}

// Words after which "name LIKE 'literal'" is a whole comparison: nothing binds the name to the
// left.
bool beginsComparison(const Token &tok)
{
    static const QSet<QString> words{
        u"WHERE"_s, u"AND"_s, u"OR"_s, u"NOT"_s, u"ON"_s, u"WHEN"_s, u"HAVING"_s};
    return tok.type == Token::Word && words.contains(upper(tok));
}

} // namespace

Rewriter::Rewriter(const QList<Token> &tokens, Traits traits)
    : t(tokens)
    , m_traits(std::move(traits))
{}

int Rewriter::nextSig(int i, int e) const
{
    for (; i < e; ++i) {
        if (t[i].significant())
            return i;
    }
    return -1;
}

int Rewriter::matching(int open, int e) const
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

QList<QPair<int, int>> Rewriter::splitCommas(int b, int e) const
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

QString Rewriter::raw(int b, int e) const
{
    QString s;
    for (int i = b; i < e; ++i)
        s += t[i].text;
    return s;
}

TranslatedStep Rewriter::native(const QString &sql)
{
    TranslatedStep step;
    step.sql = sql;
    return step;
}

QString Rewriter::joined(const QStringList &words)
{
    QStringList kept;
    for (const QString &w : words) {
        if (!w.isEmpty())
            kept << w;
    }
    return kept.join(u' ');
}

QString Rewriter::dateStyleLayout(int style)
{
    static const QHash<int, QString> layouts{
        {20, u"YYYY-MM-DD HH24:MI:SS"_s},
        {120, u"YYYY-MM-DD HH24:MI:SS"_s},
        {21, u"YYYY-MM-DD HH24:MI:SS.MS"_s},
        {121, u"YYYY-MM-DD HH24:MI:SS.MS"_s},
        {126, u"YYYY-MM-DD\"T\"HH24:MI:SS.MS"_s},
        {23, u"YYYY-MM-DD"_s},
        {112, u"YYYYMMDD"_s},
        {102, u"YYYY.MM.DD"_s},
        {111, u"YYYY/MM/DD"_s},
        {101, u"MM/DD/YYYY"_s},
        {103, u"DD/MM/YYYY"_s},
        {104, u"DD.MM.YYYY"_s},
        {105, u"DD-MM-YYYY"_s},
        {110, u"MM-DD-YYYY"_s},
        {8, u"HH24:MI:SS"_s},
        {108, u"HH24:MI:SS"_s},
    };
    return layouts.value(style);
}

QString Rewriter::process(int b, int e) const
{
    QString out;
    QString limit;
    bool inSelectList = false;
    int prevSig = -1; // index of the last significant token at this level
    // The last (possibly qualified) name at this level: its last token, where its text begins
    // and ends in `out`, and whether a comparison may begin with it.
    int nameTok = -1;
    qsizetype nameBegin = 0;
    qsizetype nameEnd = 0;
    bool nameLeads = false;
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
        const qsizetype start = out.size();
        if ((tok.type == Token::Word || tok.type == Token::Bracketed)
            && stripIdentifier(tok.text).compare(u"dbo", Qt::CaseInsensitive) == 0) {
            const int dot = nextSig(i + 1, e);
            if (dot >= 0 && isPunct(t[dot], u".")) {
                i = dot; // the default schema means nothing on the engines
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
            out += alias ? quoteIdentifier(tok.stringValue())
                         : m_blanks.value(i) + tok.sqliteString();
            break;
        }
        case Token::Bracketed:
        case Token::DQuoted:
            out += quotedName(tok, prevSig >= 0 && isWord(t[prevSig], u"AS"));
            break;
        case Token::Word: {
            const QString w = upper(tok);
            const int n = nextSig(i + 1, e);
            if (n >= 0 && isPunct(t[n], u"(")) {
                const int close = matching(n, e);
                const bool isDefault = m_traits.parenthesizedDefaults && prevSig >= 0
                                       && isWord(t[prevSig], u"DEFAULT");
                if (close > 0) {
                    bool handled = false;
                    QString call = functionCall(w, n, close, &handled);
                    if (!handled && isDefault)
                        call = tok.text + u'(' + process(n + 1, close) + u')';
                    if (handled || isDefault) {
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
                const int after = n >= 0 ? nextSig(n + 1, e) : -1;
                const bool literal = n >= 0 && t[n].type == Token::String
                                     && !(after >= 0 && isWord(t[after], u"ESCAPE"));
                const QString escaped = literal ? likeBracketsEscaped(t[n].text) : QString();
                const QString escape = escaped.isEmpty() ? QString() : u" ESCAPE '\\'"_s;
                // Nothing binds the literal to the right either.
                const bool whole
                    = after < 0 || isPunct(t[after], u")") || isPunct(t[after], u";")
                      || (t[after].type == Token::Word && !isWord(t[after], u"COLLATE"));
                if (literal && whole && nameLeads && nameTok == prevSig) {
                    const QString like = nameLike(out.mid(nameBegin, nameEnd - nameBegin),
                                                  escaped.isEmpty() ? t[n].sqliteString() : escaped,
                                                  escape);
                    if (!like.isEmpty()) {
                        out.truncate(nameBegin);
                        out += like;
                        i = n;
                        prevSig = n;
                        continue;
                    }
                }
                out += tok.text;
                if (i + 1 < e && t[i + 1].type == Token::String)
                    out += u' ';
                if (!escaped.isEmpty()) {
                    out += raw(i + 1, n) + escaped + escape;
                    i = n;
                    prevSig = n;
                    continue;
                }
            } else if (w == u"COLLATE" && n >= 0) {
                const std::optional<QString> name = collation(t[n]);
                if (name && name->isEmpty()) {
                    i = n;
                    continue;
                }
                out += tok.text;
                if (name) {
                    out += raw(i + 1, n) + *name;
                    i = n;
                }
            } else if ((w == u"ON" || w == u"TEXTIMAGE_ON") && n >= 0
                       && (isWord(t[n], u"PRIMARY")
                           || t[n].text.compare(u"[PRIMARY]", Qt::CaseInsensitive) == 0)) {
                const int k = nextSig(n + 1, e);
                if (t[n].type == Token::Bracketed || k < 0 || !isWord(t[k], u"KEY")) {
                    i = n; // filegroups are the server's
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
        if (tok.type == Token::Bracketed || tok.type == Token::DQuoted
            || (tok.type == Token::Word && !wordsBeforeValues().contains(upper(tok)))) {
            const bool qualified = nameTok >= 0 && prevSig >= 0 && isPunct(t[prevSig], u".")
                                   && nextSig(nameTok + 1, e) == prevSig;
            if (!qualified) {
                nameBegin = start;
                nameLeads = prevSig < 0 || beginsComparison(t[prevSig]);
            }
            nameTok = cur;
            nameEnd = out.size();
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
        return m_traits.isNull.arg(inner);
    if (name == u"LEN")
        return m_traits.length.arg(inner);
    if (name == u"GETDATE" && inner.trimmed().isEmpty())
        return m_traits.now;
    if (name == u"NEWID" && inner.trimmed().isEmpty())
        return m_traits.newGuid;
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
    static const QRegularExpression typeRx(u"^(\\w+)\\s*(?:\\((\\w+)(?:,(\\d+))?\\))?$"_s);
    const auto m = typeRx.match(normalizedType(tb, args[0].second).toLower());
    if (!m.hasMatch())
        return {};
    Conversion c;
    c.type = m.captured(1);
    c.length = m.captured(2);
    c.scale = m.captured(3);
    c.expr = process(args[1].first, args[1].second).trimmed();
    if (args.size() == 3) {
        bool ok = false;
        c.style = raw(args[2].first, args[2].second).trimmed().toInt(&ok);
        if (!ok)
            return {};
    }

    static const QSet<QString> textTypes{
        u"char"_s, u"varchar"_s, u"nchar"_s, u"nvarchar"_s, u"text"_s, u"ntext"_s};
    static const QSet<QString> intTypes{
        u"int"_s, u"bigint"_s, u"smallint"_s, u"tinyint"_s, u"integer"_s};
    const QString &base = c.type;
    if (textTypes.contains(base)) {
        c.target = Conversion::Text;
        if (c.style > 0) {
            c.dateLayout = dateStyleLayout(c.style);
            if (c.dateLayout.isEmpty())
                return {};
        }
    } else if (intTypes.contains(base)) {
        c.target = Conversion::Integer;
    } else if (base == u"bit") {
        c.target = Conversion::Bit;
    } else if (base == u"numeric" || base == u"decimal" || base == u"money"
               || base == u"smallmoney") {
        c.target = Conversion::Decimal;
    } else if (base == u"float" || base == u"real") {
        c.target = Conversion::Float;
    } else if (base == u"datetime" || base == u"smalldatetime" || base == u"date"
               || base == u"datetime2") {
        c.target = Conversion::DateTime;
        const int s = c.style;
        if (s >= 0 && s != 112 && s != 120 && s != 121 && s != 23 && s != 20 && s != 21 && s != 126)
            return {};
    } else {
        return {};
    }
    return conversion(c);
}

QString Rewriter::normalizedType(int b, int e) const
{
    QString out;
    bool inParens = false;
    for (int i = b; i < e; ++i) {
        const Token &tok = t[i];
        if (!tok.significant())
            continue;
        if (isPunct(tok, u"(")) {
            // "(max)" means no limit at all
            const int arg = nextSig(i + 1, e);
            const int close = arg >= 0 ? nextSig(arg + 1, e) : -1;
            if (m_traits.numericTypeArguments && close >= 0 && isWord(t[arg], u"MAX")
                && isPunct(t[close], u")")) {
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

int Rewriter::typeEnd(int b, int e) const
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

} // namespace vorlane::db::tsql
