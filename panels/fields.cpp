#include "panels/fields.h"

#include <limits>
#include <string_view>

namespace tarnwick {

TextField::TextField(QWidget *parent)
    : QLineEdit(parent)
{
    // A text field has no length limit.
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text == shownText_)
            return;
        shownText_ = text;
        emit changed();
    });
}

ResultLabel::ResultLabel(QWidget *parent)
    : QLabel(parent)
{ }

void ResultLabel::showText(const QString &text)
{
    if (text == this->text())
        return;
    setText(text);
    emit changed();
}

QString displayText(const Display &display)
{
    if (const auto *number = std::get_if<std::string>(&display))
        return QString::fromStdString(*number);
    switch (std::get<Fault>(display)) {
    case Fault::OutOfRange:
        return QStringLiteral("超出范围");
    case Fault::DivisorZero:
        return QStringLiteral("除数不能为0");
    case Fault::RootDegreeZero:
        return QStringLiteral("不能开0次方");
    case Fault::NoRealResult:
        return QStringLiteral("无效运算");
    }
    return {};
}

double ReadNumber(const QLineEdit *field)
{
    const QByteArray utf8 = field->text().toUtf8();
    return readNumber(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

void ShowWeight(ResultLabel *label, double weight, int decimals)
{
    label->showText(displayText(showWeight(weight, decimals)));
}

} // namespace tarnwick
