// Placeholders until the handlers are written; delete each as it is implemented.
#include "entry/cellentry.h"
#include "entry/handicap.h"
#include "entry/keyboard.h"
void Derutoki(Form&, const QString&) {}
void NyuuRyokuGo(Form&, Ui&) {}
bool Edit_KeyPress(Form&, Ui&, QChar) { return false; }
void txtPulsChange(Form&) {}
void RadioGroup1Click(Form&) {}
void IroKakunin(Form&) {}
void EditKeyDown(Form&, Ui&, const QString&, int, bool) {}
void StringGrid1KeyDown(Form&, int, bool) {}
void StringGrid2KeyDown(Form&, int, bool) {}
