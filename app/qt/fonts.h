#pragma once

namespace tarnwick {

// On Linux, makes a small fontconfig configuration of the program's own current, before the
// QApplication exists: the system's font folders and caches, antialiasing, slight hinting and
// the default LCD filter, the generic family names; none of the system's or the user's other
// rules. Reading and parsing the system's dozens of configuration files would cost the window
// about a fifth of its start-up. A configuration the user names in FONTCONFIG_FILE or
// FONTCONFIG_PATH is used as it stands. Elsewhere it does nothing.
void prepareFontconfig();

} // namespace tarnwick
