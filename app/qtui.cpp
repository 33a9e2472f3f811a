#include "app/qtui.h"

#include "app/tform1.h"
#include "board/limits.h"
#include "board/texts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

QtUi::QtUi(TForm1& window)
    : window_(window)
{
}

namespace {

QMessageBox::Icon iconOf(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Warning:
        return QMessageBox::Warning;
    case BoxKind::Error:
        return QMessageBox::Critical;
    case BoxKind::Information:
        return QMessageBox::Information;
    case BoxKind::Confirm:
        break;
    }
    return QMessageBox::Question;
}

QString shown(const QString& text)
{
    return QString(text).replace(CrLf, QStringLiteral("\n"));
}

} // namespace

Answer QtUi::box(const QString& title, BoxKind kind, const QString& text, BoxButtons buttons)
{
    // The operator sees the record as the handler has left it so far.
    window_.showModel();
    QMessageBox box(iconOf(kind), title, shown(text), QMessageBox::NoButton, &window_);
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case BoxButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case BoxButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case BoxButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case BoxButtons::YesNoKeep:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    box.exec();
    // Give the keyboard back to the window, where the focus was headed when the box came.
    if (window_.isVisible())
        window_.activateWindow();
    // clickedButton() is the escape button when the box was closed without its buttons.
    const auto pressed = box.standardButton(box.clickedButton());
    switch (pressed) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return buttons == BoxButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString QtUi::dialogFilter()
{
    return texts::SgfFilter.section(QLatin1Char('|'), 0, 0);
}

std::optional<QString> QtUi::openFileName()
{
    window_.showModel();
    const QString path = QFileDialog::getOpenFileName(&window_, QString(), QString(), dialogFilter());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtUi::saveFileName()
{
    window_.showModel();
    const QString path = QFileDialog::getSaveFileName(&window_, QString(), QString(), dialogFilter(), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void QtUi::setFocus(const QString& controlName)
{
    window_.showModel();
    window_.focusControl(controlName);
}

void QtUi::focusNext()
{
    window_.showModel();
    window_.moveFocusNext();
}

void QtUi::quit()
{
    window_.acceptQuit();
    QCoreApplication::exit(0);
}
