#pragma once

// What every fuzz target shares: a check that stops the run where a property fails, so that
// libFuzzer keeps the input (or the replay names it), and a reader for structured inputs.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)

namespace fuzz {

inline QByteArray bytesOf(const unsigned char* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input split at its first "\n" into the main text and the rest.
struct TwoParts {
    QByteArray first;
    QByteArray rest;
};

inline TwoParts splitOnce(const QByteArray& bytes)
{
    const qsizetype at = bytes.indexOf('\n');
    if (at < 0)
        return {bytes, {}};
    return {bytes.left(at), bytes.mid(at + 1)};
}

// The bytes read two at a time as UTF-16 code units, so that lone surrogates come too.
inline QString utf16Of(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8)));
    return text;
}

} // namespace fuzz
