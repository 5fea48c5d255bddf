#include "AnsiCodePage.h"

#include <QList>

#include <iconv.h>
#include <stdexcept>

namespace vorlane {

namespace {

class Cp936Encoder
{
public:
    Cp936Encoder()
    {
        m_cd = iconv_open("CP936", "UTF-32LE");
        if (m_cd == invalid())
            m_cd = iconv_open("GBK", "UTF-32LE");
        if (m_cd == invalid())
            throw std::runtime_error("no converter for code page 936 (CP936/GBK) in the C library");
    }
    ~Cp936Encoder() { iconv_close(m_cd); }
    Cp936Encoder(const Cp936Encoder &) = delete;
    Cp936Encoder &operator=(const Cp936Encoder &) = delete;

    QByteArray encode(char32_t codePoint)
    {
        char in[4] = {char(codePoint & 0xFF),
                      char((codePoint >> 8) & 0xFF),
                      char((codePoint >> 16) & 0xFF),
                      char((codePoint >> 24) & 0xFF)};
        char out[8];
        char *inPtr = in;
        char *outPtr = out;
        size_t inLeft = sizeof in;
        size_t outLeft = sizeof out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // stateless, but start clean anyway
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0)
            return QByteArrayLiteral("?");
        return QByteArray(out, int(outPtr - out));
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

    iconv_t m_cd;
};

} // namespace

QByteArray ansiBytesOf(char32_t codePoint)
{
    if (codePoint < 0x80)
        return QByteArray(1, char(codePoint));
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        return QByteArrayLiteral("?");
    thread_local Cp936Encoder encoder;
    return encoder.encode(codePoint);
}

QList<char32_t> codePointsOf(const QString &text)
{
    QList<char32_t> points;
    points.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            points.append(QChar::surrogateToUcs4(c, text.at(i + 1)));
            ++i;
        } else {
            points.append(c.unicode());
        }
    }
    return points;
}

} // namespace vorlane
