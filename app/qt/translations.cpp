#include "app/qt/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tarnwick {

bool installQtTranslations(QCoreApplication &application)
{
    // The file by its name, which QTranslator tries first with ".qm" added; loading by locale
    // would try each of the locale's names in turn.
    auto *translator = new QTranslator(&application);
    if (!translator->load(
            QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace tarnwick
