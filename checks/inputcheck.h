#pragma once

struct Form;

// Logs every fault of the board; true when there was one.
bool NyuuryokuDataKakunin(Form& f);
