#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <atomic>

struct Form;

// One place the rules allow for a listed missing move: the text to type and its point.
struct PlaceChoice {
    QString place;
    int x = 0;
    int y = 0;
};

// Writes the place of every StringGrid2 row whose place is empty and certain by the rules of
// Go, and logs each row filled, each row left open with its candidates, and every illegal move
// of the record. Nothing else changes.
// Once `stop` is set it ends early, leaving the record half done: the caller drops it.
void fillCandidatePlaces(Form& f, const std::atomic<bool>* stop = nullptr);

// The places the rules allow for one StringGrid2 row, whatever is typed there now.
QList<PlaceChoice> candidatePlaces(const Form& f, int row, const std::atomic<bool>* stop = nullptr);
// The same for every row whose place is empty, from one search.
QHash<int, QList<PlaceChoice>> candidatePlacesByRow(const Form& f, const std::atomic<bool>* stop = nullptr);
// Types one of them into the row, with a log line.
void choosePlace(Form& f, int row, const PlaceChoice& choice);
