#pragma once

#include <QList>
#include <QString>

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
void fillCandidatePlaces(Form& f);

// The places the rules allow for one StringGrid2 row, whatever is typed there now.
QList<PlaceChoice> candidatePlaces(const Form& f, int row);
// Types one of them into the row, with a log line.
void choosePlace(Form& f, int row, const PlaceChoice& choice);
