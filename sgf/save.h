#pragma once

class Ui;
struct Form;

void Hozon(Form& f, Ui& ui);
void cmdSaveClick(Form& f, Ui& ui);
