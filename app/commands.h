#pragma once

class Ui;
struct Form;

// Window events and the New and Quit commands. They touch only the record and the Ui.
void FormCreate(Form& f);
// True when the window may close; false refuses the close.
bool FormClose(Form& f, Ui& ui);
void FormDestroy(Form& f);
void cmdNewClick(Form& f, Ui& ui);
void cmdShuuryouClick(Form& f, Ui& ui);
