#pragma once

#include <QtGlobal>

// 0xAARRGGBB, as QRgb, without needing QtGui in the record.
using Rgb = quint32;

namespace colours {
constexpr Rgb Board = 0xFFE4AA5D;
constexpr Rgb Star = 0xFFFFFF00;
constexpr Rgb Black = 0xFF000000;
constexpr Rgb White = 0xFFFFFFFF;
constexpr Rgb Focus = 0xFF0000FF;
constexpr Rgb LockedList = 0xFFFFFF99;
constexpr Rgb Log = 0xFFFFFF99;
} // namespace colours
