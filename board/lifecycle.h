#pragma once

class Ui;
struct Form;

// Window events and the New and Quit commands. They touch only the record and the Ui.
// The window was built: empty log, list headers, no loaded lines, black first, lock hidden.
void FormCreate(Form& f);
// True when the window may close; false refuses the close.
bool FormClose(Form& f, Ui& ui);
// The window is going: the loaded and output lines are let go.
void FormDestroy(Form& f);
// New: after a confirmation, clears the record and logs it.
void cmdNewClick(Form& f, Ui& ui);
// The record cleared and titled as New leaves it, without New's question and log line.
void startNewRecord(Form& f);
// Quit: ends the program after a confirmation.
void cmdShuuryouClick(Form& f, Ui& ui);
