// Windows-1252: Latin-1 except for 0x80..0x9F, where the code page places typographic characters.
#include "Cp1252.h"

namespace {
// Unicode of bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined (read back as themselves).
const char16_t kAltos[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
}  // namespace

QByteArray ACp1252(const QString& texto) {
    QByteArray r;
    r.reserve(texto.size());
    for (QChar c : texto) {
        char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u >= 0x80 && u <= 0x9F && kAltos[u - 0x80] == 0)) {
            r.append(static_cast<char>(u));
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i)
            if (kAltos[i] == u && u != 0) b = static_cast<char>(0x80 + i);
        r.append(b);
    }
    return r;
}

QString DeCp1252(const QByteArray& bytes) {
    QString r;
    r.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F && kAltos[b - 0x80] != 0)
            r.append(QChar(kAltos[b - 0x80]));
        else
            r.append(QChar(b));
    }
    return r;
}
