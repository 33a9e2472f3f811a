#include "app/candidatemenu.h"

#include "app/longwork.h"
#include "app/tform1.h"
#include "board/messages.h"
#include "board/texts.h"
#include "rules/candidatefill.h"

#include <QMenu>
#include <QShortcut>
#include <QTableView>

namespace {

void fill(TForm1& w)
{
    runOnCopy(w, texts::SearchingPlaces, [](Form& f, Notices&, const StopFlag& stop) { fillCandidatePlaces(f, &stop); });
}

} // namespace

QMenu* candidateMenu(TForm1& w, int row, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QObject::connect(menu->addAction(texts::CandidateMenu), &QAction::triggered, &w, [&w] { fill(w); });
    if (row < 1)
        return menu;
    QList<PlaceChoice> choices;
    w.dispatch([] {});
    if (!w.form().stringGrid2.at(0, row).isEmpty()) {
        const Form record = w.form();
        runBeside(w, texts::SearchingPlaces, [&](const StopFlag& stop) { choices = candidatePlaces(record, row, &stop); });
    }
    if (!choices.isEmpty())
        menu->addSeparator();
    for (const PlaceChoice& choice : choices) {
        QAction* a = menu->addAction(messages::placeWithPoint(choice.place, choice.x, choice.y));
        QObject::connect(a, &QAction::triggered, &w,
                         [&w, row, choice] { w.dispatch([&] { choosePlace(w.form(), row, choice); }); });
    }
    return menu;
}

void bindCandidatePlaces(TForm1& w)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F5), &w);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &w, [&w] { fill(w); });

    QTableView* grid = w.stringGrid2();
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, &w, [&w, grid](const QPoint& at) {
        QMenu* menu = candidateMenu(w, grid->rowAt(at.y()), grid);
        menu->exec(grid->viewport()->mapToGlobal(at));
        delete menu;
    });
}
