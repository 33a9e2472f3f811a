#pragma once

struct Form;

// Clears MoveTable and fills it from the board, StringGrid1 and StringGrid2, as the ordering
// does once the board has passed the input-data check. Rows and cells whose numbers have no
// entry in the table are passed over.
void fillMoveTable(Form& f);
