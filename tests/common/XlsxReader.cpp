#include "XlsxReader.h"

#include <QFile>
#include <QStringList>
#include <QXmlStreamReader>

#include <unzip.h>

namespace vorlane::test {

namespace {

// One entry of a zip file, or an empty array when it is missing.
QByteArray readZipEntry(const QString &zipPath, const QString &entry)
{
    unzFile zip = unzOpen64(QFile::encodeName(zipPath).constData());
    if (!zip)
        return {};
    QByteArray data;
    if (unzLocateFile(zip, entry.toUtf8().constData(), 0) == UNZ_OK
        && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[16384];
        int read = 0;
        while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            data.append(buffer, read);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return data;
}

QStringList sharedStrings(const QString &path)
{
    QStringList strings;
    QXmlStreamReader xml(readZipEntry(path, QStringLiteral("xl/sharedStrings.xml")));
    QString current;
    bool inItem = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"si") {
            inItem = true;
            current.clear();
        } else if (xml.isStartElement() && xml.name() == u"t" && inItem) {
            current += xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == u"si") {
            strings << current;
            inItem = false;
        }
    }
    return strings;
}

} // namespace

QMap<QString, QString> readXlsxCells(const QString &path)
{
    QMap<QString, QString> cells;
    const QByteArray sheet = readZipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    if (sheet.isEmpty())
        return cells;
    const QStringList shared = sharedStrings(path);

    QXmlStreamReader xml(sheet);
    QString ref;
    QString type;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"c") {
            ref = xml.attributes().value(QLatin1String("r")).toString();
            type = xml.attributes().value(QLatin1String("t")).toString();
        } else if (xml.name() == u"v") {
            const QString value = xml.readElementText();
            cells.insert(ref, type == u"s" ? shared.value(value.toInt()) : value);
        } else if (xml.name() == u"t" && type == u"inlineStr") {
            cells[ref] += xml.readElementText();
        }
    }
    return cells;
}

QString cellRef(int row, int column)
{
    QString letters;
    int c = column + 1;
    while (c > 0) {
        const int rest = (c - 1) % 26;
        letters.prepend(QChar(u'A' + rest));
        c = (c - 1) / 26;
    }
    return letters + QString::number(row + 1);
}

} // namespace vorlane::test
