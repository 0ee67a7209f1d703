#pragma once

#include <QString>

namespace kb::bench {

// What each record editor pays on opening, measured without widgets: its
// table object opened as a bound form opens it (something follows the
// current row), the first row's values, and the lookup list its combo box
// shows (the lookup table object opened the same way and every row's key and
// shown value read). Then moving to the last record, and the resident memory
// added by the bonus editor's two table objects. Each against plain SELECTs
// of the same rows. Then each real form with its widgets, offscreen, shown
// over a data module just loaded: what the user waits for. All of it on the
// database as generated and on a copy with gaps in every table's IDs.
// Prints figures and ratios; asserts nothing.
void benchEditors(const QString& file, int runs, bool large);

} // namespace kb::bench
