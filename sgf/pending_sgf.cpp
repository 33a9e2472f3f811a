// Placeholders until the handlers are written; delete each as it is implemented.
#include "sgf/lock.h"
#include "sgf/open.h"
#include "sgf/ordering.h"
#include "sgf/save.h"
void Hozon(Form&, Ui&) {}
void cmdSaveClick(Form&, Ui&) {}
