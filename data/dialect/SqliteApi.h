#pragma once

// The SQLite interface the dialect's functions and its registration call.
// Linked into the program they call the SQLite library it links; built into
// the loadable extension (KULTBUH_SQLITE_EXTENSION) they call the routines of
// whichever SQLite loaded it, through the table it hands to the entry point,
// so the extension works in a shell or browser with a SQLite of its own.
#ifdef KULTBUH_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif
