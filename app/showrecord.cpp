#include "app/tform1.h"

#include "app/colouring.h"
#include "app/movelistmodel.h"
#include "app/picturewindow.h"
#include "board/cellname.h"
#include "board/limits.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <tuple>

// Showing the record: each control is touched only where the record differs from what it
// shows, since this runs after every event.

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
    showGrid(grid1_, model1_);
    showGrid(grid2_, model2_);
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
    for (auto [edit, value, shown] : {std::tuple{gameInfo_, &form_.gameInfo, &shownGameInfo_},
                                      std::tuple{sankouZu_, &form_.sankouZu, &shownSankouZu_}}) {
        // The edit keeps no more characters than its maximum length; converting the whole of
        // a 50 MB header on every event would stall the window. Only that part is compared.
        const QByteArrayView kept(value->constData(), std::min<qsizetype>(value->size(), edit->maxLength()));
        if (headersShown_ && kept == QByteArrayView(*shown))
            continue;
        *shown = kept.toByteArray();
        edit->setText(QString::fromLocal8Bit(*shown));
    }
    headersShown_ = true;
    if (controlMei_->text() != form_.controlMei)
        controlMei_->setText(form_.controlMei);
    if (QAbstractButton* b = radio_->button(int(form_.radioGroup1)); b && !b->isChecked())
        b->setChecked(true);
    // As on Windows, Tab enters the group at its checked button only; the arrows move within it.
    for (QAbstractButton* b : radio_->buttons())
        b->setFocusPolicy(b->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    showLog();
    showReadingMarks();
}

void TForm1::showReadingMarks()
{
    if (marks_)
        marks_->setMarks(form_.unsurePoints);
    if (!picture_)
        return;
    // New or Open leaves no reading: its picture goes with it.
    if (!form_.fromPicture) {
        picture_->deleteLater();
        picture_ = nullptr;
        return;
    }
    std::optional<std::pair<int, int>> focus;
    if (const auto p = cellOfName(form_.controlMei))
        focus = std::pair{p->x, p->y};
    picture_->setMarks(form_.unsurePoints, focus);
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

void TForm1::showGrid(QTableView* grid, MoveListModel* model)
{
    model->refresh();
    const MoveList& list = model->list();
    if (grid->isEnabled() != list.enabled)
        grid->setEnabled(list.enabled);
    if (grid->palette().color(QPalette::Active, QPalette::Base) != colourOf(list.background))
        setColours(grid, QPalette::Base, list.background, QPalette::Text, colours::Black);
    if (const QModelIndex current = grid->currentIndex();
        current.row() != list.currentRow || current.column() != list.currentColumn)
        grid->setCurrentIndex(model->index(list.currentRow, list.currentColumn));
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
