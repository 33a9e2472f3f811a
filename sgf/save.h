#pragma once

#include "sgf/files.h"

class Ui;
struct Form;

// Save: after a confirmation, orders and checks the moves, then writes a fresh, rebuilt or
// spliced file, moving the earlier one to its backup name. write puts the file's bytes on
// disk; tests pass one that fails.
void Hozon(Form& f, Ui& ui, const WriteBytes& write = writeAllBytes);
// The Save button: Hozon.
void cmdSaveClick(Form& f, Ui& ui);
