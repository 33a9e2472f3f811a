#pragma once

class Ui;
struct Form;

// Lists in StringGrid2 every number up to the total that the board and StringGrid1 lack.
void Button1Click(Form& f, Ui& ui);
// Empties StringGrid2 after a confirmation.
void Button2Click(Form& f, Ui& ui);
// The listing itself, without the command's boxes and focus: tidies both lists and writes the
// missing numbers up to the total. A total that is no integer ends it with ConversionError.
void listMissingNumbers(Form& f);
// The row of StringGrid2 that lists `move`, from 1; 0 when none does.
int listRowOf(const Form& f, int move);
