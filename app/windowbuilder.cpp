#include "app/colouring.h"
#include "app/movelistmodel.h"
#include "app/tform1.h"

#include "board/cellname.h"
#include "board/go.h"
#include "board/texts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <algorithm>

namespace {

QFont fontOf(const FontStyle& style, const QFont& windowFont)
{
    if (style.face.isEmpty())
        return windowFont;
    QFont font(style.face);
    font.setPixelSize(style.pixelHeight);
    font.setBold(style.bold);
    return font;
}

} // namespace

void TForm1::build()
{
    setWindowTitle(form_.caption);
    setFont(fontOf(layout_.windowFont, font()));
    resize(layout_.clientSize);
    move(0, 0);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);

    cells_.resize(go::Points);
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
        const int index = go::pointOf(pos->x, pos->y);
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

QTableView* TForm1::makeGrid(const ControlDef& def)
{
    const bool first = def.name == QLatin1String("StringGrid1");
    auto* grid = new QTableView(this);
    // The header row and the move-number column are the program's to write.
    auto* model = new MoveListModel(first ? form_.stringGrid1 : form_.stringGrid2, palette().brush(QPalette::Button), grid);
    grid->setModel(model);
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
    grid->setCurrentIndex(model->index(1, 1));
    grid->installEventFilter(this);
    (first ? grid1_ : grid2_) = grid;
    (first ? model1_ : model2_) = model;
    return grid;
}
