#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

// Thrown where a handler converts a text that the operator could leave as a non-number.
// The window reports it in the general error box and carries on with the state reached.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& text);
    QString text() const { return text_; }
    // "'abc' is not a valid integer value."
    QString message() const;

private:
    QString text_;
};

// The one text-to-integer conversion of the program: leading blanks, an optional sign, then
// decimal digits or a hexadecimal number after "$", "x", "X", "0x" or "0X"; nothing after the
// number; signed 32-bit range.
std::optional<int> tryToInteger(const QString& text);
bool isInteger(const QString& text);
// As tryToInteger, but throws ConversionError where the text is no integer.
int toInteger(const QString& text);

// Removes every character of code 32 or below from both ends.
QString trimControl(const QString& text);

// Lower-case letters to upper case (full-width ones included), one character for one.
QString toUpperCase(const QString& text);
// Full-width forms to their half-width forms: ASCII, the ideographic space, katakana (voiced
// marks split off).
QString toHalfWidth(const QString& text);
// Upper case first, then half width, as every typed cell text and list place is compared.
QString widthAndCase(const QString& text);

// SGF letter "a".."s" to "1".."19", and back. Nothing for any other text.
std::optional<QString> Ato1(const QString& letter);
std::optional<QString> ItitoA(const QString& number);
// The same on numbers, for the code that already has them.
QChar letterOf(int n);
