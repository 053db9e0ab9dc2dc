#pragma once

class QCoreApplication;

namespace tarnwick {

// Installs Qt's own Chinese translations (qtbase_zh_CN, from Qt's translations folder) in the
// application, whatever the system's language, so that what Qt itself shows (a field's context
// menu) reads in Chinese like the rest of the window. Call once, before the first widget.
// Returns whether they were found; without them Qt shows its English texts.
bool installQtTranslations(QCoreApplication &application);

} // namespace tarnwick
