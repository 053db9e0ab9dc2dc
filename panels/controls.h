#pragma once

#include <QWidget>
#include <string_view>

namespace tarnwick {

// The window's control of the given name and kind; a missing control is a defect of the
// control table, so it stops the program at once rather than later.
template <class T>
T *control(const QWidget *form, std::string_view name)
{
    const QString objectName
        = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    T *found = form->findChild<T *>(objectName);
    if (found == nullptr)
        qFatal("The window has no control %s of the expected kind", qPrintable(objectName));
    return found;
}

} // namespace tarnwick
