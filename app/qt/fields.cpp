#include "app/qt/fields.h"

#include <limits>

namespace tarnwick {

TextField::TextField(QWidget *parent)
    : QLineEdit(parent)
{
    // A text field has no length limit.
    setMaxLength(std::numeric_limits<int>::max());
}

ResultLabel::ResultLabel(QWidget *parent)
    : QLabel(parent)
{ }

} // namespace tarnwick
