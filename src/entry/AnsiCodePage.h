#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vorlane {

// The system code page of the component's original platform, code page 936 (GBK), through the C
// library's converter. Name and memo lengths and the simple-spell are defined on its bytes.

// The bytes of one code point: 1 for ASCII, 2 for a Chinese character. A code point the code
// page cannot hold becomes "?", one byte, as the system conversion does.
QByteArray ansiBytesOf(char32_t codePoint);

// The code points of a text; a lone surrogate stands for itself.
QList<char32_t> codePointsOf(const QString &text);

} // namespace vorlane
