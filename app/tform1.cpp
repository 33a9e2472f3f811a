#include "app/tform1.h"

#include "app/candidatemenu.h"
#include "app/movelistmodel.h"
#include "app/picturepaste.h"
#include "app/picturewindow.h"
#include "app/qtui.h"
#include "transcribe/readboard.h"
#include "board/cellname.h"
#include "board/conversions.h"
#include "board/go.h"
#include "board/lifecycle.h"
#include "board/texts.h"
#include "checks/missingnumbers.h"
#include "checks/search.h"
#include "entry/cellentry.h"
#include "entry/keyboard.h"
#include "entry/unsurepoints.h"
#include "sgf/lock.h"
#include "sgf/open.h"
#include "sgf/save.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <exception>

namespace {

// The window's own boxes, with the open dialog already answered.
class GivenFileUi : public Ui {
public:
    GivenFileUi(Ui& inner, const QString& path)
        : inner_(inner)
        , path_(path)
    {
    }
    Answer box(const QString& title, BoxKind kind, const QString& text, BoxButtons buttons) override
    {
        return inner_.box(title, kind, text, buttons);
    }
    std::optional<QString> openFileName() override { return path_; }
    std::optional<QString> saveFileName() override { return inner_.saveFileName(); }
    void setFocus(const QString& controlName) override { inner_.setFocus(controlName); }
    void focusNext() override { inner_.focusNext(); }
    void quit() override { inner_.quit(); }

private:
    Ui& inner_;
    QString path_;
};

bool modifierHeld(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    return mods != Qt::NoModifier || QGuiApplication::mouseButtons() != Qt::NoButton;
}

int virtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    default:
        return 0;
    }
}

// Focus that comes and goes with the window's activation (a modal box, another program)
// is no departure from a cell and no arrival.
bool isActivation(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

TForm1::TForm1(const BuildKind& kind, Ui* ui)
    : form_(kind)
    , layout_(windowLayout(kind))
{
    if (ui) {
        ui_ = ui;
    } else {
        ownUi_ = std::make_unique<QtUi>(*this);
        ui_ = ownUi_.get();
    }
    setObjectName(QStringLiteral("Form1"));
    build();
    bindHandlers();
    new PicturePaste(*this);
    bindCandidatePlaces(*this);
    marks_ = new BoardMarks(*this);
    bindPictureKeys(*this);
    FormCreate(form_);
    showModel();
}

TForm1::~TForm1()
{
    // The base class hides the controls after this one is gone; the focus leaving the total's
    // box then must not reach a handler of this window.
    disconnect(souTesuu_, nullptr, this, nullptr);
    disconnect(txtPuls_, nullptr, this, nullptr);
    FormDestroy(form_);
}

QLineEdit* TForm1::cell(int x, int y) const
{
    return cells_.value(go::pointOf(x, y));
}

void TForm1::bindHandlers()
{
    auto button = [this](const char* name) { return typedControl<QPushButton>(name); };
    auto bind = [this, button](const char* name, void (*handler)(Form&, Ui&)) {
        connect(button(name), &QPushButton::clicked, this, [this, handler] { dispatch([this, handler] { handler(form_, *ui_); }); });
    };
    bind("cmdNew", cmdNewClick);
    bind("cmdOpen", cmdOpenClick);
    bind("cmdSave", cmdSaveClick);
    bind("cmdShuuryou", cmdShuuryouClick);
    bind("Button1", Button1Click);
    bind("Button2", Button2Click);
    bind("cmdKensaku", cmdKensakuClick);

    lock_ = button("cmdLockKaizyo2");
    connect(lock_, &QPushButton::clicked, this, [this](bool pressed) {
        dispatch([this, pressed] {
            form_.lockPressed = pressed;
            cmdLockKaizyo2Click(form_);
        });
    });
    connect(radio_, &QButtonGroup::idClicked, this, [this](int id) {
        dispatch([this, id] {
            form_.radioGroup1 = go::FirstPlayer(id);
            RadioGroup1Click(form_);
        });
    });
    // A total typed over a read one: the missing numbers follow it at once.
    connect(souTesuu_, &QLineEdit::editingFinished, this, [this] {
        if (form_.fromPicture && !working_)
            dispatch([this] { followReading(form_); });
    });
    connect(txtPuls_, &QLineEdit::textChanged, this, [this] {
        if (!showing_)
            dispatch([this] { txtPulsChange(form_); });
    });
    for (auto [grid, model] : {std::pair{grid1_, model1_}, std::pair{grid2_, model2_}}) {
        connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [list = &model->list()](const QModelIndex& current) {
                    if (current.row() >= 1 && current.column() >= 1) {
                        list->currentRow = current.row();
                        list->currentColumn = current.column();
                    }
                });
    }
}

QList<QWidget*> TForm1::tabChain() const
{
    QList<QWidget*> chain;
    QWidget* w = cell(1, 1);
    do {
        chain.append(w);
        w = w->nextInFocusChain();
    } while (w && w != cell(1, 1) && chain.size() < 2000);
    QList<QWidget*> stops;
    for (QWidget* c : chain) {
        if ((c->focusPolicy() & Qt::TabFocus) && c->window() == this && c != this)
            stops.append(c);
    }
    return stops;
}

void TForm1::copyIn()
{
    for (int i = 0; i < cells_.size(); ++i) {
        Cell& c = form_.cells[size_t(i)];
        const QString typed = cells_[i]->text();
        if (typed != c.text)
            c.text = typed;
    }
    form_.souTesuu = souTesuu_->text();
    form_.txtPuls = txtPuls_->text();
    form_.txtKensaku = txtKensaku_->text();
}

void TForm1::commitListEditors()
{
    for (QTableView* grid : {grid1_, grid2_}) {
        const QModelIndex index = grid->currentIndex();
        QWidget* editor = grid->indexWidget(index);
        if (!editor)
            continue;
        QAbstractItemDelegate* delegate = grid->itemDelegateForIndex(index);
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool TForm1::dispatch(const std::function<void()>& handler)
{
    // The worker's copy of the record is taken whole when it ends: a handler run now would be
    // lost, or would change what the worker reads.
    if (working_)
        return false;
    // A place still in a list's editor is on screen: an accelerator or Enter on a button
    // reaches its command without taking the focus from the editor.
    commitListEditors();
    copyIn();
    const auto fail = [this](const QString& text) {
        showModel();
        ui_->box(form_.kind->applicationTitle, BoxKind::Error, text, BoxButtons::Ok);
    };
    try {
        handler();
    } catch (const ConversionError& e) {
        fail(e.message());
    } catch (const std::exception& e) {
        fail(texts::HandlerFault + texts::ReasonLabel + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        fail(texts::HandlerFault);
    }
    showModel();
    return true;
}

void TForm1::openGiven(const QString& path)
{
    dispatch([this, path] {
        GivenFileUi given(*ui_, path);
        cmdOpenClick(form_, given);
    });
}

void TForm1::focusControl(const QString& name)
{
    QWidget* w = controls_.value(name);
    if (!w)
        return;
    if (w == radioGroup_)
        w = radio_->checkedButton();
    // A cell reached from the keyboard has its whole text selected, as by Tab.
    w->setFocus(cellIndex_.contains(w) ? Qt::TabFocusReason : Qt::OtherFocusReason);
}

void TForm1::setPicture(const QImage& straight, int pitch, const QString& source)
{
    delete picture_;
    picture_ = nullptr;
    if (straight.isNull() || !form_.fromPicture)
        return;
    picture_ = new PictureWindow(*this, straight, pitch, source);
    showReadingMarks();
    picture_->showBeside();
}

void TForm1::showPictureWindow()
{
    if (picture_ && form_.fromPicture)
        picture_->showBeside();
}

void TForm1::moveFocusNext()
{
    focusNextPrevChild(true);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (const int index = cellIndex_.value(watched, -1); index >= 0)
        return cellEvent(cells_[index], event);
    if (watched == grid1_ || watched == grid2_)
        return gridEvent(watched == grid1_ ? grid1_ : grid2_, event);
    return QWidget::eventFilter(watched, event);
}

bool TForm1::cellEvent(QLineEdit* cellWidget, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        cellFocusIn(cellWidget, reason);
        // Typing over a point in doubt replaces what was read, however the focus came back to
        // it: by a key, or with the activation from the picture or the progress window.
        if (reason != Qt::MouseFocusReason && isDoubt(cellWidget))
            cellWidget->selectAll();
        return false;
    }
    case QEvent::FocusOut:
        cellFocusOut(cellWidget, static_cast<QFocusEvent*>(event)->reason());
        return false;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = virtualKey(key->key());
        const QString name = cellWidget->objectName();
        if (code != 0 && code != vk::Return)
            dispatch([&] { EditKeyDown(form_, *ui_, name, code, modifierHeld(key)); });
        const QString typed = key->text();
        if (code == vk::Return || (typed.size() == 1 && typed[0] == QChar(13))) {
            if (cellWidget == enteredCell_ && isDoubt(cellWidget) && !modifierHeld(key)) {
                goToDoubt(true);
                return true;
            }
            bool swallowed = false;
            dispatch([&] { swallowed = Edit_KeyPress(form_, *ui_, QChar(13)); });
            return swallowed;
        }
        return false;
    }
    default:
        return false;
    }
}

bool TForm1::isDoubt(const QLineEdit* cellWidget) const
{
    const auto pos = cellOfName(cellWidget->objectName());
    return pos && form_.fromPicture && isUnsurePoint(form_, *pos);
}

void TForm1::goToDoubt(bool confirmed)
{
    // The cell is left before the next point is chosen: a number that now stands twice puts
    // its other cell in doubt, and that one must not be passed over.
    QLineEdit* cellWidget = focusWidget() == enteredCell_ ? enteredCell_ : nullptr;
    if (cellWidget) {
        enteredCell_ = nullptr;
        dispatch([this, confirmed] {
            leaveCell(form_, *ui_, confirmed);
            followReading(form_);
        });
    }
    dispatch([this, confirmed] {
        if (confirmed)
            goOnFromDoubt(form_, *ui_);
        else
            nextUnsurePoint(form_, *ui_);
    });
    // The focus stayed (the only point left in doubt is this one): it is entered again.
    if (cellWidget && focusWidget() == cellWidget && !enteredCell_) {
        cellFocusIn(cellWidget, Qt::OtherFocusReason);
        if (isDoubt(cellWidget))
            cellWidget->selectAll();
    }
}

void TForm1::cellFocusIn(QLineEdit* cellWidget, Qt::FocusReason reason)
{
    Q_UNUSED(reason);
    if (cellWidget == enteredCell_)
        return;
    if (enteredCell_) {
        // Focus came to this cell without the other one being left first.
        cellFocusOut(enteredCell_, Qt::OtherFocusReason);
    }
    enteredCell_ = cellWidget;
    const QString name = cellWidget->objectName();
    dispatch([&] { Derutoki(form_, name); });
}

void TForm1::cellFocusOut(QLineEdit* cellWidget, Qt::FocusReason reason)
{
    if (cellWidget != enteredCell_ || isActivation(reason))
        return;
    enteredCell_ = nullptr;
    dispatch([&] {
        NyuuRyokuGo(form_, *ui_);
        followReading(form_);
    });
}

bool TForm1::gridEvent(QTableView* grid, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (virtualKey(key->key()) != vk::Return)
        return false;
    const bool mods = modifierHeld(key);
    dispatch([&] {
        if (grid == grid1_)
            StringGrid1KeyDown(form_, vk::Return, mods);
        else
            StringGrid2KeyDown(form_, vk::Return, mods);
    });
    return !mods;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (quitAccepted_) {
        event->accept();
        return;
    }
    bool accept = false;
    dispatch([&] { accept = FormClose(form_, *ui_); });
    if (accept)
        event->accept();
    else
        event->ignore();
}
