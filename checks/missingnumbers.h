#pragma once

class Ui;
struct Form;

// Lists in StringGrid2 every number up to the total that the board and StringGrid1 lack.
void Button1Click(Form& f, Ui& ui);
// Empties StringGrid2 after a confirmation.
void Button2Click(Form& f, Ui& ui);
