#pragma once

// The tokens of an SGF text, with the byte offsets where each stands, so that a save can
// write the loaded text back around them unchanged. A pure function over bytes: nothing is
// decoded or transcoded, and a reader takes what it needs as the tokens come, without
// holding a tree of a file that may run to millions of nodes.

#include <QByteArray>

// How the bytes inside values are read. A double-byte character may end in the bytes of "\\"
// or "]", which are then text; only the declared (or detected) character set says so.
enum class Charset {
    // Shift-JIS, the dialect's own: lead bytes 0x81..0x9F and 0xE0..0xFC.
    ShiftJis,
    // GBK and Big5: lead bytes 0x81..0xFE.
    DoubleByte,
    // UTF-8, Latin-1, EUC: no character holds an ASCII byte.
    SingleByte,
};

// The character set the CA property declares. Without one: UTF-8 when the text is valid
// UTF-8; else the reading under which every value closes where the SGF around it says it
// must, the detector's guess breaking ties, and the dialect's Shift-JIS where all readings
// agree. inDoubt when the readings disagree and none fits.
struct CharsetChoice {
    Charset charset = Charset::ShiftJis;
    bool inDoubt = false;
};
CharsetChoice chooseCharset(const QByteArray& text);
Charset charsetOf(const QByteArray& text);

class SgfTokens {
public:
    virtual ~SgfTokens() = default;
    // "(", ")" and ";" at their offsets.
    virtual void open(qsizetype at) = 0;
    virtual void close(qsizetype at) = 0;
    virtual void node(qsizetype at) = 0;
    // A property identifier: its upper-case letters ("MULTIGOGM"; lower-case letters of old
    // files are left out), its first byte and one past its last.
    virtual void identifier(const QByteArray& ident, qsizetype begin, qsizetype end) = 0;
    // The bytes between "[" and "]", escapes included: [begin, end). A value that the text
    // ends inside comes with closed false and end at the end of the text.
    virtual void value(qsizetype begin, qsizetype end, bool closed) = 0;
};

// Reads the text as leniently as editors do: bytes outside the grammar are passed over.
// Returns false when a value ran to the end of the text.
bool tokenizeSgf(const QByteArray& text, Charset charset, SgfTokens& out);

// A value's bytes with its escapes taken out.
QByteArray unescaped(const QByteArray& text, qsizetype begin, qsizetype end);
