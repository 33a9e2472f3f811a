// Placeholders until the handlers are written; delete each as it is implemented.
#include "checks/inputcheck.h"
#include "checks/missingnumbers.h"
#include "checks/search.h"
void Button1Click(Form&, Ui&) {}
void Button2Click(Form&, Ui&) {}
void cmdKensakuClick(Form&, Ui&) {}
