#pragma once

namespace kb {
class Connection;
}

namespace kb::bench {

// What each record editor pays on opening, measured without widgets: its
// table object opened as a bound form opens it (something follows the
// current row), the first row's values, and the lookup list its combo box
// shows (the lookup table object opened the same way and every row's key and
// shown value read). Then moving to the last record, and the resident memory
// added by the bonus editor's two table objects. Each against plain SELECTs
// of the same rows. Prints figures and ratios; asserts nothing.
void benchEditors(Connection& connection, int runs, bool large);

} // namespace kb::bench
