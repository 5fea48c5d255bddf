// The statement level of the rewriter: batches, IF conditions, CREATE TABLE and ALTER TABLE.
#include "TsqlRewriter.h"

#include <QRegularExpression>

namespace vorlane::db::tsql {

using namespace Qt::StringLiterals;

namespace {

bool isBlankString(const Token &t)
{
    return t.type == Token::String && t.stringValue().trimmed().isEmpty();
}

} // namespace

// The end of a possibly qualified name starting at i (dbo.T, [dbo].[T]).
int Rewriter::nameEnd(int i, int e) const
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

QList<TranslatedStep> Rewriter::translate()
{
    QList<TranslatedStep> steps;
    for (const auto &[b, e] : splitBatch(t))
        steps += statement(b, e);
    return steps;
}

int Rewriter::tableNameBegin(int b, int open) const
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
    return name;
}

QString Rewriter::tableName(int b, int open) const
{
    const int name = tableNameBegin(b, open);
    return name >= 0 ? plainName(raw(name, open)) : QString();
}

QString Rewriter::column(int b, int e, const QString &table)
{
    const int name = nextSig(b, e);
    if (name < 0)
        return process(b, e).trimmed();
    const int tEnd = typeEnd(name + 1, e);
    Column c;
    c.table = table;
    c.name = &t[name];
    c.type = normalizedType(name + 1, tEnd);
    c.collated = false;
    for (int i = tEnd; i < e; ++i) {
        if (isWord(t[i], u"COLLATE"))
            c.collated = true;
    }
    c.rest = process(tEnd, e).trimmed();
    return columnDefinition(c);
}

// The inside of CREATE TABLE's parentheses; a table key clause that follows a column without a
// comma ("... NULL Primary Key(c)") is separated from it. `key` gets the primary key's columns.
QString
Rewriter::columnList(int b, int e, const QString &table, QList<QPair<QString, QString>> *key)
{
    QHash<QString, QString> types; // lower-case column name -> declared type
    QStringList keyNames;
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
            int primary = -1;
            for (int k = head; k < f && primary < 0; ++k) {
                const int next = isWord(t[k], u"PRIMARY") ? nextSig(k + 1, f) : -1;
                if (next >= 0 && isWord(t[next], u"KEY"))
                    primary = next;
            }
            const QString name = stripIdentifier(t[head].text);
            if (!tableConstraint) {
                types.insert(name.toLower(), normalizedType(head + 1, typeEnd(head + 1, f)));
                if (primary >= 0)
                    keyNames << name;
            } else if (primary >= 0) {
                for (int k = primary + 1; k < f; ++k) {
                    if (isPunct(t[k], u"(")) {
                        for (const auto &[cb, ce] : splitCommas(k + 1, matching(k, f))) {
                            if (const int c = nextSig(cb, ce); c >= 0)
                                keyNames << stripIdentifier(t[c].text);
                        }
                        break;
                    }
                }
            }
            items << (tableConstraint ? process(s, f).trimmed() : column(s, f, table));
        }
    }
    for (const QString &name : std::as_const(keyNames))
        key->append({name, types.value(name.toLower())});
    return items.join(u", "_s);
}

QList<TranslatedStep> Rewriter::createTable(int b, int e)
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
        return {native(process(b, e).trimmed())};
    const QString table = tableName(b, open);
    QList<QPair<QString, QString>> key;
    const QString sql = process(b, open) + u'(' + columnList(open + 1, close, table, &key) + u')'
                        + process(close + 1, e);
    return QList<TranslatedStep>{native(sql.trimmed())} + columnsDefined(table)
           + keyDefined(table, key);
}

// ALTER TABLE head with each action, in one statement or, where the engine takes one action a
// statement, in one each.
QList<TranslatedStep> Rewriter::alterSteps(const QString &head, const QStringList &actions) const
{
    if (!m_traits.oneActionPerAlter)
        return {native(head + u' ' + actions.join(u", "_s))};
    QList<TranslatedStep> steps;
    for (const QString &action : actions)
        steps.append(native(head + u' ' + action));
    return steps;
}

QList<TranslatedStep> Rewriter::alterTable(int b, int e)
{
    const int alter = nextSig(b, e);
    const int table = nextSig(alter + 1, e);
    const int name = nextSig(table + 1, e);
    if (name < 0)
        return {native(process(b, e).trimmed())};
    const int end = nameEnd(name, e);
    const QString head = u"ALTER TABLE "_s + process(name, end).trimmed();
    const QString tablePlain = plainName(raw(name, end));
    const int action = nextSig(end, e);
    if (action < 0)
        return {native(process(b, e).trimmed())};

    if (isWord(t[action], u"ADD")) {
        int first = nextSig(action + 1, e);
        if (first >= 0 && isWord(t[first], u"COLUMN"))
            first = nextSig(first + 1, e);
        if (first < 0 || isWord(t[first], u"CONSTRAINT") || isWord(t[first], u"PRIMARY")
            || isWord(t[first], u"UNIQUE") || isWord(t[first], u"FOREIGN")
            || isWord(t[first], u"CHECK"))
            return {native(process(b, e).trimmed())};
        QStringList adds;
        for (const auto &[s, f] : splitCommas(first, e)) {
            if (nextSig(s, f) >= 0)
                adds << u"ADD COLUMN "_s + column(s, f, tablePlain);
        }
        return alterSteps(head, adds) + columnsDefined(tablePlain);
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
            return alterSteps(head, drops);
        }
    }
    if (isWord(t[action], u"ALTER")) {
        const int kw = nextSig(action + 1, e);
        const int col = kw >= 0 && isWord(t[kw], u"COLUMN") ? nextSig(kw + 1, e) : -1;
        if (col >= 0) {
            const int tEnd = typeEnd(col + 1, e);
            const QString type = normalizedType(col + 1, tEnd);
            QString nullability;
            bool understood = !type.isEmpty();
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
                    i = nextSig(i + 1, e); // the column keeps its collation
                    understood = i >= 0;
                } else if (!isPunct(t[i], u";")) {
                    understood = false;
                }
            }
            if (understood)
                return alterColumn(head, tablePlain, t[col], type, nullability);
        }
    }
    return {native(process(b, e).trimmed())};
}

QList<TranslatedStep> Rewriter::ifStatement(int b, int e)
{
    const auto unchanged = [&] { return QList<TranslatedStep>{native(raw(b, e).trimmed())}; };
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

    QList<TranslatedStep> body = statement(close + 1, e);
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
        condition = tableExists(objectName, userTable);
    } else {
        condition = process(open + 1, close).trimmed();
    }
    for (TranslatedStep &s : body) {
        s.condition = condition;
        s.conditionNegated = negated;
    }
    return body;
}

// Blank literals of INSERT T (c, ...) VALUES (...) and UPDATE T SET c = '' get a marker naming
// their column.
void Rewriter::markBlanks(int b, int e)
{
    const int first = nextSig(b, e);
    const bool insert = first >= 0 && isWord(t[first], u"INSERT");
    if (!insert && !(first >= 0 && isWord(t[first], u"UPDATE")))
        return;
    int name = nextSig(first + 1, e);
    if (insert && name >= 0 && isWord(t[name], u"INTO"))
        name = nextSig(name + 1, e);
    if (name < 0)
        return;
    const int end = nameEnd(name, e);
    const QString table = plainName(raw(name, end));
    const int next = nextSig(end, e);
    if (insert) {
        if (next < 0 || !isPunct(t[next], u"("))
            return;
        const int close = matching(next, e);
        const int values = close > 0 ? nextSig(close + 1, e) : -1;
        if (values < 0 || !isWord(t[values], u"VALUES"))
            return;
        QStringList columns;
        for (const auto &[s, f] : splitCommas(next + 1, close)) {
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
                    m_blanks.insert(v, blankMarker(table, columns[k]));
            }
            const int comma = nextSig(rowClose + 1, e);
            row = comma >= 0 && isPunct(t[comma], u",") ? nextSig(comma + 1, e) : -1;
        }
        return;
    }
    if (next < 0 || !isWord(t[next], u"SET"))
        return;
    int stop = e;
    int depth = 0;
    for (int i = next + 1; i < e; ++i) {
        if (isPunct(t[i], u"("))
            ++depth;
        else if (isPunct(t[i], u")"))
            --depth;
        else if (depth == 0 && (isWord(t[i], u"WHERE") || isWord(t[i], u"FROM"))) {
            stop = i;
            break;
        }
    }
    for (const auto &[s, f] : splitCommas(next + 1, stop)) {
        const int c = nextSig(s, f);
        const int eq = c >= 0 ? nextSig(c + 1, f) : -1;
        const int v = eq >= 0 && isPunct(t[eq], u"=") ? nextSig(eq + 1, f) : -1;
        if (v >= 0 && isBlankString(t[v]) && nextSig(v + 1, f) < 0)
            m_blanks.insert(v, blankMarker(table, stripIdentifier(t[c].text)));
    }
}

QList<TranslatedStep> Rewriter::statement(int b, int e)
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
    if (m_traits.marksBlanks)
        markBlanks(b, e);
    const QString sql = process(b, e).trimmed();
    if (sql.isEmpty())
        return {};
    return {native(sql)};
}

} // namespace vorlane::db::tsql
