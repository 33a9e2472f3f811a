#pragma once

class Ui;
struct Form;

void FileHiraku(Form& f, Ui& ui);
void cmdOpenClick(Form& f, Ui& ui);
