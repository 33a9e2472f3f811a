#pragma once

#include <QString>

class Ui;
struct Form;

// Virtual key codes as the handlers receive them.
namespace vk {
constexpr int Return = 13;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
} // namespace vk

// Arrow keys move the focus over the board, wrapping and passing over disabled cells.
// modifiers: whether Shift, Ctrl, Alt or a mouse button was held.
void EditKeyDown(Form& f, Ui& ui, const QString& focusedName, int key, bool modifiers);
// A key went down in StringGrid1 or StringGrid2: Enter moves the selection one row down.
void StringGrid1KeyDown(Form& f, int key, bool modifiers);
void StringGrid2KeyDown(Form& f, int key, bool modifiers);
