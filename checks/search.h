#pragma once

class Ui;
struct Form;

// Finds the cell holding the text of txtKensaku, logs it and focuses it.
void cmdKensakuClick(Form& f, Ui& ui);
