#include "WorkbookCheck.h"

#include <QFile>

#include <zlib.h> // linked with libxlsxwriter

namespace vorlane {

namespace {

quint16 le16(const char *p)
{
    return quint16(uchar(p[0]) | uchar(p[1]) << 8);
}

quint32 le32(const char *p)
{
    return quint32(uchar(p[0])) | quint32(uchar(p[1])) << 8 | quint32(uchar(p[2])) << 16
           | quint32(uchar(p[3])) << 24;
}

} // namespace

QString verifyWorkbook(const QString &path, qint64 expectedRows)
{
    const QString broken = QStringLiteral("工作簿写入不完整");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const qint64 size = file.size();
    if (size < 22 || !file.seek(size - 22))
        return broken;
    // No archive comment is written, so the end record is the last 22 bytes.
    const QByteArray end = file.read(22);
    if (end.size() != 22 || !end.startsWith("PK\x05\x06"))
        return broken;
    const quint32 directorySize = le32(end.constData() + 12);
    const quint32 directoryOffset = le32(end.constData() + 16);
    if (qint64(directoryOffset) + directorySize + 22 != size || !file.seek(directoryOffset))
        return broken;
    const QByteArray directory = file.read(directorySize);
    if (directory.size() != qsizetype(directorySize))
        return broken;

    const QByteArray sheetName = QByteArrayLiteral("xl/worksheets/sheet1.xml");
    qsizetype at = 0;
    while (at + 46 <= directory.size()) {
        const char *entry = directory.constData() + at;
        if (QByteArray(entry, 4) != QByteArrayLiteral("PK\x01\x02"))
            return broken;
        const quint16 method = le16(entry + 10);
        const quint32 crc = le32(entry + 16);
        const quint32 packedSize = le32(entry + 20);
        const quint32 plainSize = le32(entry + 24);
        const quint16 nameLength = le16(entry + 28);
        const quint16 extraLength = le16(entry + 30);
        const quint16 commentLength = le16(entry + 32);
        const quint32 localOffset = le32(entry + 42);
        if (at + 46 + nameLength > directory.size())
            return broken;
        if (QByteArray(entry + 46, nameLength) != sheetName) {
            at += 46 + nameLength + extraLength + commentLength;
            continue;
        }

        if (!file.seek(localOffset))
            return broken;
        const QByteArray local = file.read(30);
        if (local.size() != 30 || !local.startsWith("PK\x03\x04"))
            return broken;
        if (!file.seek(localOffset + 30 + le16(local.constData() + 26)
                       + le16(local.constData() + 28)))
            return broken;

        z_stream stream{};
        if (method == 8 && inflateInit2(&stream, -MAX_WBITS) != Z_OK)
            return broken;
        uLong checksum = crc32(0, nullptr, 0);
        quint64 produced = 0;
        qint64 rows = 0;
        QByteArray carry;
        quint32 left = packedSize;
        bool ok = true;
        QByteArray plain(1 << 16, Qt::Uninitialized);
        auto consume = [&](const char *data, qsizetype length) {
            checksum = crc32(checksum, reinterpret_cast<const Bytef *>(data), uInt(length));
            produced += quint64(length);
            QByteArray window = carry + QByteArray::fromRawData(data, length);
            rows += window.count("<row ");
            carry = window.right(4);
        };
        while (ok && left > 0) {
            const QByteArray packed = file.read(std::min<quint32>(left, 1 << 16));
            if (packed.isEmpty()) {
                ok = false;
                break;
            }
            left -= quint32(packed.size());
            if (method == 0) {
                consume(packed.constData(), packed.size());
                continue;
            }
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
            stream.avail_in = uInt(packed.size());
            while (stream.avail_in > 0) {
                stream.next_out = reinterpret_cast<Bytef *>(plain.data());
                stream.avail_out = uInt(plain.size());
                const int status = inflate(&stream, Z_NO_FLUSH);
                if (status != Z_OK && status != Z_STREAM_END) {
                    ok = false;
                    break;
                }
                consume(plain.constData(), plain.size() - qsizetype(stream.avail_out));
                if (status == Z_STREAM_END)
                    break;
            }
        }
        if (method == 8)
            inflateEnd(&stream);
        if (!ok || checksum != crc || produced != plainSize || rows != expectedRows)
            return broken;
        return {};
    }
    return broken;
}

} // namespace vorlane
