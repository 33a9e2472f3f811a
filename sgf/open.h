#pragma once

class Ui;
struct Form;

// Open: asks for keep or edit mode and a file, then lays its handicap stones and main line on
// a cleared board; moves on occupied points go to StringGrid1.
void FileHiraku(Form& f, Ui& ui);
// The Open button: FileHiraku.
void cmdOpenClick(Form& f, Ui& ui);
