#include "app/qt/mainwindow.h"

#include "app/captions.h"
#include "app/controltable.h"
#include "app/qt/controlstyle.h"
#include "app/qt/fields.h"
#include "app/qt/framestyle.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringView>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tarnwick {

namespace {

QStringView stringView(std::u16string_view text)
{
    return { text.data(), static_cast<qsizetype>(text.size()) };
}

// Reads one of the program's own images in the format its name gives: without a format, or with
// format detection on, Qt loads and asks every image plugin whether it can read the file.
QPixmap readImage(const QString &path)
{
    QImageReader reader(path, path.mid(path.lastIndexOf(QLatin1Char('.')) + 1).toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The picture at its natural size; on high-density screens its double-resolution twin
// ("name@2x.jpg" beside "name.jpg") where there is one.
QPixmap loadPicture(const QString &path, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        QPixmap sharp = readImage(path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return readImage(path);
}

// The window's icon for a screen of the given scale: for each size a title bar, a task bar or
// a window switcher asks of a window (16 to 48 pixels, times the scale) the smallest image that
// is at least as large. Each image costs a PNG decode at start-up, so the large ones, which no
// window shows at ordinary scales, stay undecoded; the desktop's launchers and menus take the
// installed icon theme's images instead.
QIcon programIcon(qreal devicePixelRatio)
{
    static constexpr std::array imageSides { 16, 24, 32, 48, 128, 256 };
    QIcon icon;
    int added = 0;
    for (const int wanted : { 16, 24, 32, 48 }) {
        const auto side = static_cast<int>(std::ceil(wanted * devicePixelRatio));
        const auto *image = std::find_if(
            imageSides.begin(), imageSides.end(), [side](int s) { return s >= side; });
        const int chosen = image != imageSides.end() ? *image : imageSides.back();
        if (chosen > added) {
            icon.addPixmap(
                readImage(QStringLiteral(":/icons/hicolor/%1x%1/apps/tarnwick.png").arg(chosen)));
            added = chosen;
        }
    }
    return icon;
}

QWidget *makeControl(const ControlRow &row, QWidget *container, CaptionInBorderStyle *frameStyle)
{
    const QString text = fromUtf8(row.text);
    switch (row.kind) {
    case Kind::Frame: {
        auto *frame = new QGroupBox(text, container);
        CaptionInBorderStyle::applyTo(frame, frameStyle);
        return frame;
    }
    case Kind::Label: {
        auto *label = new QLabel(text, container);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::ResultLabel: {
        auto *label = new ResultLabel(container);
        label->setText(text);
        // Centred vertically: the large digits fill the label's height.
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        return label;
    }
    case Kind::TextField: {
        auto *field = new TextField(container);
        field->setText(text);
        return field;
    }
    case Kind::PushButton: {
        auto *button = new QPushButton(text, container);
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case Kind::OptionButton: {
        auto *option = new QRadioButton(text, container);
        option->setChecked(row.selected);
        return option;
    }
    case Kind::Picture: {
        auto *picture = new QLabel(container);
        picture->setPixmap(loadPicture(text, container->devicePixelRatioF()));
        return picture;
    }
    }
    return nullptr;
}

bool takesFocus(Kind kind)
{
    return kind == Kind::TextField || kind == Kind::PushButton || kind == Kind::OptionButton;
}

// The option group that the control belongs to, if it is an option button.
const QButtonGroup *optionGroup(const QWidget *control)
{
    const auto *option = qobject_cast<const QRadioButton *>(control);
    return option != nullptr ? option->group() : nullptr;
}

// Focuses the control, or for an option button its group's selected button.
void tabInto(QWidget *control, Qt::FocusReason reason)
{
    const QButtonGroup *group = optionGroup(control);
    QWidget *target
        = group != nullptr && group->checkedButton() != nullptr ? group->checkedButton() : control;
    target->setFocus(reason);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , platform_(this)
    , model_(platform_, *this)
{
    settling_.setSingleShot(true);
    connect(&settling_, &QTimer::timeout, this, [this] { model_.settled(); });
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(fromUtf8(formCaption));
    setWindowIcon(programIcon(devicePixelRatioF()));
    setFixedSize(pixels(formWidthTwips), pixels(formHeightTwips));
    setFont(songFont(10.5));

    createControls();
    reportUserActions();
    model_.form().setObserver(this);

    controls_.at(model_.form().id("Text1"))->setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow()
{
    model_.form().setObserver(nullptr);
}

void MainWindow::createControls()
{
    frameStyle_ = CaptionInBorderStyle::forApplicationStyle();
    controls_ = buildControls(this, [this](const ControlRow &row, QWidget *container) {
        return makeControl(row, container, frameStyle_.get());
    });
    nameForScreenReaders();

    // Qt's focus chain runs through the focusable controls in the table's tab order, so each
    // option group's buttons stand side by side in it.
    std::vector<std::pair<int, QWidget *>> focusable;
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        if (takesFocus(controlTable.at(index).kind))
            focusable.emplace_back(controlTable.at(index).tabIndex, controls_[index]);
    }
    std::sort(focusable.begin(), focusable.end(),
        [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t index = 1; index < focusable.size(); ++index)
        QWidget::setTabOrder(focusable[index - 1].second, focusable[index].second);
    firstTabStop_ = focusable.front().second;
}

// Edits, clicks and selections go to the model. An announced change runs its event inside the
// control's `changed` signal, from this slot, connected after the controls were made.
void MainWindow::reportUserActions()
{
    for (ControlId id = 0; id < controls_.size(); ++id) {
        QWidget *control = controls_[id];
        const auto runAnnounced = [this] {
            if (!announced_.empty())
                (*announced_.back())();
        };
        if (auto *field = qobject_cast<TextField *>(control)) {
            connect(field, &QLineEdit::textChanged, this,
                [this, id](const QString &text) { model_.edited(id, text.toStdU16String()); });
            connect(field, &TextField::changed, this, runAnnounced);
        } else if (auto *label = qobject_cast<ResultLabel *>(control)) {
            connect(label, &ResultLabel::changed, this, runAnnounced);
        } else if (auto *option = qobject_cast<QRadioButton *>(control)) {
            connect(option, &QRadioButton::toggled, this, [this, id](bool checked) {
                if (checked)
                    model_.selected(id);
            });
        } else if (auto *button = qobject_cast<QPushButton *>(control)) {
            connect(button, &QPushButton::clicked, this, [this, id] {
                const bool pinned = model_.pinnedOnTop();
                model_.pressed(id);
                if (model_.pinnedOnTop() != pinned)
                    emit pinnedOnTopChanged(model_.pinnedOnTop());
            });
        }
    }
}

void MainWindow::textSet(ControlId control, std::u16string_view text)
{
    QWidget *widget = controls_.at(control);
    const QStringView shown = stringView(text);
    if (auto *field = qobject_cast<QLineEdit *>(widget)) {
        // A user's edit arrives holding its text already: setting it again would lose the
        // cursor and the undo history.
        if (field->text() != shown)
            field->setText(shown.toString());
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        label->setText(shown.toString());
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        button->setText(shown.toString());
    } else if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
        frame->setTitle(shown.toString());
    }
}

void MainWindow::optionSelected(ControlId option)
{
    if (auto *button = qobject_cast<QRadioButton *>(controls_.at(option)))
        button->setChecked(true);
}

void MainWindow::announceChange(ControlId control, const ChangeEvent &event)
{
    QWidget *widget = controls_.at(control);
    auto *field = qobject_cast<TextField *>(widget);
    auto *label = qobject_cast<ResultLabel *>(widget);
    if (field == nullptr && label == nullptr)
        return;
    announced_.push_back(&event);
    if (field != nullptr)
        emit field->changed();
    else
        emit label->changed();
    announced_.pop_back();
}

void MainWindow::startSettling(std::chrono::milliseconds delay)
{
    settling_.start(delay);
}

// Qt 6.8 and later send the label's text as a polite announcement, which readers speak wherever
// they are. Earlier Qt has none: the label's name change is heard where the reader is.
void MainWindow::announce(ControlId label)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    auto *shown = qobject_cast<QLabel *>(controls_.at(label));
    if (shown == nullptr)
        return;
    QAccessibleAnnouncementEvent event(shown, shown->text());
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
#else
    Q_UNUSED(label)
#endif
}

// A field is named by the caption beside it, the second number and the banner by names of their
// own. A result label keeps Qt's own name for a label, its text, which Qt announces at each change
// (QLabel::setText raises QAccessible::NameChanged while no name is set), and is described by
// what its value is.
void MainWindow::nameForScreenReaders()
{
    for (std::size_t index = 0; index < controlTable.size(); ++index) {
        const ControlRow &row = controlTable.at(index);
        const std::u16string name = tarnwick::accessibleName(row);
        if (!namedByItsText(row) && !name.empty())
            controls_[index]->setAccessibleName(QString::fromStdU16String(name));
        const std::u16string description = tarnwick::accessibleDescription(row);
        if (!description.empty())
            controls_[index]->setAccessibleDescription(QString::fromStdU16String(description));
    }
}

// The result label that the button answers for ("重量：" its panel's weight, "=" the
// calculator's result), if the control is such a button.
ResultLabel *MainWindow::resultAnsweredBy(const QWidget *control) const
{
    const auto found = std::find(controls_.begin(), controls_.end(), control);
    if (found == controls_.end())
        return nullptr;
    const std::string_view result
        = tarnwick::resultAnsweredBy(controlTable.at(found - controls_.begin()).name);
    if (result.empty())
        return nullptr;
    return qobject_cast<ResultLabel *>(controls_.at(model_.form().id(result)));
}

// A context-menu request from the keyboard that no control took: on a button that answers for
// a result, the result label's menu.
void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    ResultLabel *result = event->reason() == QContextMenuEvent::Keyboard
        ? resultAnsweredBy(focusWidget())
        : nullptr;
    if (result == nullptr) {
        event->ignore();
        return;
    }
    result->openCopyMenu();
    event->accept();
}

// Shift+F10 asks the focused control for its context menu, as the context-menu key does.
void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_F10 || event->modifiers() != Qt::ShiftModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    QWidget *target = focusWidget() != nullptr ? focusWidget() : this;
    const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent request(
        QContextMenuEvent::Keyboard, at, target->mapToGlobal(at), event->modifiers());
    QCoreApplication::sendEvent(target, &request);
    event->accept();
}

// Tab follows the focus chain, and an option group is one stop, entered at its selected button.
bool MainWindow::focusNextPrevChild(bool next)
{
    QWidget *from = focusWidget();
    if (from == nullptr || !isAncestorOf(from)) {
        from = firstTabStop_;
        if (next) {
            tabInto(firstTabStop_, Qt::TabFocusReason);
            return true;
        }
    }
    const QButtonGroup *leaving = optionGroup(from);
    for (QWidget *candidate = from;;) {
        candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (candidate == from)
            return false;
        const bool isStop = candidate != this && isAncestorOf(candidate)
            && (candidate->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && candidate->isEnabled()
            && candidate->isVisibleTo(this);
        if (!isStop || (leaving != nullptr && optionGroup(candidate) == leaving))
            continue;
        tabInto(candidate, next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
}

void MainWindow::centerOnScreen()
{
    const QScreen *screen
        = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

} // namespace tarnwick
