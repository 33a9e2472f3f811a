#include "app/tform1.h"

#include "app/candidatemenu.h"
#include "app/picturepaste.h"
#include "app/qtui.h"
#include "board/cellname.h"
#include "board/conversions.h"
#include "board/lifecycle.h"
#include "board/record.h"
#include "board/texts.h"
#include "checks/missingnumbers.h"
#include "checks/search.h"
#include "entry/cellentry.h"
#include "entry/keyboard.h"
#include "sgf/lock.h"
#include "sgf/open.h"
#include "sgf/save.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

namespace {

QColor colourOf(Rgb rgb)
{
    return QColor::fromRgb(rgb);
}

QFont fontOf(const FontStyle& style, const QFont& windowFont)
{
    if (style.face.isEmpty())
        return windowFont;
    QFont font(style.face);
    font.setPixelSize(style.pixelHeight);
    font.setBold(style.bold);
    return font;
}

// Windows draws the text of a disabled edit in this grey, which reads on a black stone and
// on a white one alike.
constexpr Rgb DisabledText = 0xFF808080;

// Every colour group, so that a disabled control keeps its colours.
void setColours(QWidget* w, QPalette::ColorRole background, Rgb back, QPalette::ColorRole foreground, Rgb fore)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::All, background, colourOf(back));
    pal.setColor(QPalette::All, foreground, colourOf(fore));
    w->setPalette(pal);
}

// A cell keeps its stone's background when disabled, but its number is drawn grey: a loaded
// black move or a handicap label holds black text on black.
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
    FormCreate(form_);
    showModel();
}

TForm1::~TForm1()
{
    FormDestroy(form_);
}

QLineEdit* TForm1::cell(int x, int y) const
{
    return cells_.value((y - 1) * 19 + (x - 1));
}

void TForm1::build()
{
    setWindowTitle(form_.caption);
    setFont(fontOf(layout_.windowFont, font()));
    resize(layout_.clientSize);
    move(0, 0);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);

    cells_.resize(361);
    QList<const ControlDef*> tabbed;
    for (const ControlDef& def : layout_.controls) {
        QWidget* w = makeControl(def);
        if (!w)
            continue;
        w->setObjectName(def.name);
        w->setGeometry(def.geometry);
        controls_.insert(def.name, w);
        if (def.tabStop)
            tabbed.append(&def);
    }
    std::stable_sort(tabbed.begin(), tabbed.end(),
                     [](const ControlDef* a, const ControlDef* b) { return a->tabOrder < b->tabOrder; });
    for (int i = 1; i < tabbed.size(); ++i) {
        QWidget* prev = controls_.value(tabbed[i - 1]->name);
        QWidget* next = controls_.value(tabbed[i]->name);
        // The group is reached through its buttons.
        if (qobject_cast<QGroupBox*>(prev))
            prev = radio_->button(1);
        if (qobject_cast<QGroupBox*>(next))
            next = radio_->button(0);
        setTabOrder(prev, next);
    }
    setTabOrder(radio_->button(0), radio_->button(1));

    souTesuu_ = typedControl<QLineEdit>("SouTesuu");
    txtPuls_ = typedControl<QLineEdit>("txtPuls");
    txtKensaku_ = typedControl<QLineEdit>("txtKensaku");
    gameInfo_ = typedControl<QLineEdit>("GameInfo");
    sankouZu_ = typedControl<QLineEdit>("SankouZu");
    controlMei_ = typedControl<QLineEdit>("ControlMei");
    lblHyoudai_ = typedControl<QLabel>("lblHyoudai");
    lblNyuuryokuSumi_ = typedControl<QLabel>("lblNyuuryokuSumi");
    lblOkiisi_ = typedControl<QLabel>("lblOkiisi");
    radioGroup_ = typedControl<QGroupBox>("RadioGroup1");
}

// A control the layout lacks, or of another kind, is a fault of the program itself.
template <typename T>
T* TForm1::typedControl(const char* name) const
{
    T* w = qobject_cast<T*>(controls_.value(QLatin1String(name)));
    if (!w)
        qFatal("the window has no control %s of the expected kind", name);
    return w;
}

QWidget* TForm1::makeControl(const ControlDef& def)
{
    const QFont font = fontOf(def.font, this->font());
    QWidget* w = nullptr;
    switch (def.type) {
    case ControlType::Cell: {
        auto* edit = new QLineEdit(this);
        edit->setFocusPolicy(Qt::StrongFocus);
        // A dropped text would pass by the entry and exit handling; a picture dropped on a cell
        // goes on to the window.
        edit->setAcceptDrops(false);
        setCellColours(edit, def.background, def.font.colour);
        edit->installEventFilter(this);
        const auto pos = cellOfName(def.name);
        const int index = (pos->y - 1) * 19 + (pos->x - 1);
        cells_[index] = edit;
        cellIndex_.insert(edit, index);
        w = edit;
        break;
    }
    case ControlType::Label: {
        auto* label = new QLabel(def.text, this);
        label->setTextFormat(Qt::PlainText);
        w = label;
        break;
    }
    case ControlType::Edit: {
        auto* edit = new QLineEdit(def.text, this);
        edit->setFocusPolicy(def.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        w = edit;
        break;
    }
    case ControlType::Button:
    case ControlType::Toggle: {
        auto* button = new QPushButton(def.text, this);
        if (def.type == ControlType::Toggle) {
            button->setCheckable(true);
            button->setChecked(true);
            button->setFocusPolicy(Qt::NoFocus);
        } else {
            // Enter on a focused button presses it.
            button->setAutoDefault(true);
            button->setFocusPolicy(def.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        }
        w = button;
        break;
    }
    case ControlType::RadioGroup:
        makeRadioGroup(def);
        w = controls_.value(def.name);
        controls_.remove(def.name);
        break;
    case ControlType::Memo: {
        memo_ = new QPlainTextEdit(this);
        memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo_->setFocusPolicy(Qt::ClickFocus);
        memo_->setPlainText(def.text);
        w = memo_;
        break;
    }
    case ControlType::Grid:
        w = makeGrid(def);
        break;
    }
    w->setFont(font);
    if (def.type != ControlType::Cell) {
        if (def.font.colour != colours::Black)
            setForeground(w, def.font.colour);
        if (def.hasBackground)
            setColours(w, QPalette::Base, def.background, QPalette::Text, def.font.colour);
    }
    w->setVisible(def.visible);
    return w;
}

void TForm1::makeRadioGroup(const ControlDef& def)
{
    auto* group = new QGroupBox(def.text, this);
    radio_ = new QButtonGroup(group);
    const QStringList items{texts::Black, texts::White};
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], group);
        item->setGeometry(8 + i * 40, 16, 36, 20);
        radio_->addButton(item, i);
    }
    radio_->button(0)->setChecked(true);
    controls_.insert(def.name, group);
}

QTableWidget* TForm1::makeGrid(const ControlDef& def)
{
    auto* grid = new QTableWidget(MoveList::Rows, 2, this);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setDefaultSectionSize(40);
    grid->horizontalHeader()->setMinimumSectionSize(10);
    grid->verticalHeader()->setMinimumSectionSize(10);
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setFocusPolicy(Qt::ClickFocus);
    grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                          | QAbstractItemView::EditKeyPressed);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    const QBrush fixed = palette().brush(QPalette::Button);
    for (int r = 0; r < MoveList::Rows; ++r) {
        for (int c = 0; c < 2; ++c) {
            auto* item = new QTableWidgetItem();
            if (r == 0 || c == 0) {
                // The header row and the move-number column are the program's to write.
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixed);
            }
            grid->setItem(r, c, item);
        }
    }
    grid->setCurrentCell(1, 1);
    grid->installEventFilter(this);
    if (def.name == QLatin1String("StringGrid1"))
        grid1_ = grid;
    else
        grid2_ = grid;
    return grid;
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
            form_.radioGroup1 = id;
            RadioGroup1Click(form_);
        });
    });
    connect(txtPuls_, &QLineEdit::textChanged, this, [this] {
        if (!showing_)
            dispatch([this] { txtPulsChange(form_); });
    });
    for (QTableWidget* grid : {grid1_, grid2_}) {
        connect(grid, &QTableWidget::currentCellChanged, this, [this, grid](int row, int column) {
            MoveList& list = grid == grid1_ ? form_.stringGrid1 : form_.stringGrid2;
            if (row >= 1 && column >= 1) {
                list.currentRow = row;
                list.currentColumn = column;
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
    for (QTableWidget* grid : {grid1_, grid2_}) {
        MoveList& list = grid == grid1_ ? form_.stringGrid1 : form_.stringGrid2;
        for (int r = 1; r < MoveList::Rows; ++r) {
            const QString typed = grid->item(r, 1)->text();
            if (typed != list.at(1, r))
                list.at(1, r) = typed;
        }
    }
    form_.souTesuu = souTesuu_->text();
    form_.txtPuls = txtPuls_->text();
    form_.txtKensaku = txtKensaku_->text();
}

void TForm1::commitListEditors()
{
    for (QTableWidget* grid : {grid1_, grid2_}) {
        const QModelIndex index = grid->currentIndex();
        QWidget* editor = grid->indexWidget(index);
        if (!editor)
            continue;
        QAbstractItemDelegate* delegate = grid->itemDelegateForIndex(index);
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TForm1::dispatch(const std::function<void()>& handler)
{
    // A place still in a list's editor is on screen: an accelerator or Enter on a button
    // reaches its command without taking the focus from the editor.
    commitListEditors();
    copyIn();
    try {
        handler();
    } catch (const ConversionError& e) {
        showModel();
        ui_->box(form_.kind->applicationTitle, BoxKind::Error, e.message(), BoxButtons::Ok);
    }
    showModel();
}

void TForm1::showModel()
{
    // A focus move made while showing (a cell disabled under the focus) runs handlers of its
    // own; show again once they are done.
    if (showing_) {
        showAgain_ = true;
        return;
    }
    showing_ = true;
    do {
        showAgain_ = false;
        showOnce();
    } while (showAgain_);
    showing_ = false;
}

void TForm1::showOnce()
{
    setWindowTitle(form_.caption);
    showCells();
    showGrid(grid1_, form_.stringGrid1);
    showGrid(grid2_, form_.stringGrid2);
    lblNyuuryokuSumi_->setVisible(form_.stringGrid1.shown);
    lblHyoudai_->setText(form_.lblHyoudai);
    // The title grows with a file name; the label is as wide as its text.
    lblHyoudai_->adjustSize();
    lblOkiisi_->setVisible(form_.lblOkiisiShown);
    lock_->setChecked(form_.lockPressed);
    lock_->setVisible(form_.lockShown);
    for (auto [edit, value] : {std::pair{souTesuu_, &form_.souTesuu}, std::pair{txtPuls_, &form_.txtPuls},
                               std::pair{txtKensaku_, &form_.txtKensaku}}) {
        if (edit->text() != *value)
            edit->setText(*value);
    }
    for (auto [edit, value] : {std::pair{gameInfo_, &form_.gameInfo}, std::pair{sankouZu_, &form_.sankouZu}}) {
        // The edit keeps no more characters than its maximum length; converting the whole of
        // a 50 MB header on every event would stall the window.
        edit->setText(QString::fromLocal8Bit(value->left(edit->maxLength())));
    }
    controlMei_->setText(form_.controlMei);
    if (QAbstractButton* b = radio_->button(form_.radioGroup1); b && !b->isChecked())
        b->setChecked(true);
    // As on Windows, Tab enters the group at its checked button only; the arrows move within it.
    for (QAbstractButton* b : radio_->buttons())
        b->setFocusPolicy(b->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    showLog();
}

void TForm1::showCells()
{
    for (int i = 0; i < cells_.size(); ++i) {
        const Cell& c = form_.cells[size_t(i)];
        QLineEdit* w = cells_[i];
        if (w->text() != c.text)
            w->setText(c.text);
        const QPalette& pal = w->palette();
        if (pal.color(QPalette::Active, QPalette::Base) != colourOf(c.background)
            || pal.color(QPalette::Active, QPalette::Text) != colourOf(c.textColour))
            setCellColours(w, c.background, c.textColour);
        if (w->isEnabled() != c.enabled)
            w->setEnabled(c.enabled);
    }
}

void TForm1::showGrid(QTableWidget* grid, const MoveList& list)
{
    for (int r = 0; r < MoveList::Rows; ++r) {
        for (int c = 0; c < 2; ++c) {
            QTableWidgetItem* item = grid->item(r, c);
            if (item->text() != list.at(c, r))
                item->setText(list.at(c, r));
        }
    }
    if (grid->isEnabled() != list.enabled)
        grid->setEnabled(list.enabled);
    if (grid->palette().color(QPalette::Active, QPalette::Base) != colourOf(list.background))
        setColours(grid, QPalette::Base, list.background, QPalette::Text, colours::Black);
    if (grid->currentRow() != list.currentRow || grid->currentColumn() != list.currentColumn)
        grid->setCurrentCell(list.currentRow, list.currentColumn);
    grid->setVisible(list.shown);
}

void TForm1::showLog()
{
    // The log is only ever appended to in the widget: the operator may have typed into it.
    if (form_.memoClears != shownLogClears_ || form_.memo.size() < shownLogLength_) {
        memo_->setPlainText(QString(form_.memo).replace(CrLf, QStringLiteral("\n")));
        shownLogClears_ = form_.memoClears;
    } else if (form_.memo.size() > shownLogLength_) {
        QTextCursor end = memo_->textCursor();
        end.movePosition(QTextCursor::End);
        end.insertText(form_.memo.mid(shownLogLength_).replace(CrLf, QStringLiteral("\n")));
        memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
    }
    shownLogLength_ = int(form_.memo.size());
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
    case QEvent::FocusIn:
        cellFocusIn(cellWidget, static_cast<QFocusEvent*>(event)->reason());
        return false;
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
    dispatch([&] { NyuuRyokuGo(form_, *ui_); });
}

bool TForm1::gridEvent(QTableWidget* grid, QEvent* event)
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
