#include "app/colouring.h"

#include <QWidget>

QColor colourOf(Rgb rgb)
{
    return QColor::fromRgb(rgb);
}

namespace {

// Windows draws the text of a disabled edit in this grey, which reads on a black stone and
// on a white one alike.
constexpr Rgb DisabledText = 0xFF808080;

} // namespace

void setColours(QWidget* w, QPalette::ColorRole background, Rgb back, QPalette::ColorRole foreground, Rgb fore)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::All, background, colourOf(back));
    pal.setColor(QPalette::All, foreground, colourOf(fore));
    w->setPalette(pal);
}

void setCellColours(QWidget* w, Rgb back, Rgb fore)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::All, QPalette::Base, colourOf(back));
    pal.setColor(QPalette::All, QPalette::Text, colourOf(fore));
    pal.setColor(QPalette::Disabled, QPalette::Text, colourOf(DisabledText));
    w->setPalette(pal);
}

void setForeground(QWidget* w, Rgb fore)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::All, QPalette::WindowText, colourOf(fore));
    pal.setColor(QPalette::All, QPalette::ButtonText, colourOf(fore));
    pal.setColor(QPalette::All, QPalette::Text, colourOf(fore));
    w->setPalette(pal);
}
