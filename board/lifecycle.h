#pragma once

class Ui;
struct Form;

// Window events and the New and Quit commands. They touch only the record and the Ui.
void FormCreate(Form& f);
// True when the window may close; false refuses the close.
bool FormClose(Form& f, Ui& ui);
void FormDestroy(Form& f);
void cmdNewClick(Form& f, Ui& ui);
// The record cleared and titled as New leaves it, without New's question and log line.
void startNewRecord(Form& f);
void cmdShuuryouClick(Form& f, Ui& ui);
