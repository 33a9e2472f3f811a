#pragma once

#include "sgf/files.h"

class Ui;
struct Form;

// write puts the file's bytes on disk; tests pass one that fails.
void Hozon(Form& f, Ui& ui, const WriteBytes& write = writeAllBytes);
void cmdSaveClick(Form& f, Ui& ui);
