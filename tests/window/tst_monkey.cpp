// A monkey at the window: tens of thousands of random key presses, pastes, input-method
// commits and clicks on one window, each followed by the checks of what the window may show
// and of how its changes ran. The run is fixed by a seed that it prints; the environment
// variables TARNWICK_MONKEY_SEED and TARNWICK_MONKEY_ACTIONS replay another run or lengthen it.

#include "app/controltable.h"
#include "windowtest.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QUrl>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

using namespace windowtest;
using tarnwick::ResultLabel;
using tarnwick::TextField;

namespace {

constexpr std::uint64_t defaultSeed = 20240917;
constexpr qint64 defaultActions = 25000;

// The deepest nesting of changes: a field (or the round bar's momentary five decimals), its
// weight, the calculator's first operand, the calculator's result. A change one level deeper
// means some text did not settle on its first recomputation.
constexpr int depthBound = 4;
// A reset, the largest single action, empties 14 fields, each with its short cascade: about
// 60 changes at most.
constexpr int changesBound = 200;
// Inside a cascade that has run this far there is no coming back: stop at once, naming it.
constexpr int runawayChanges = 100000;
constexpr int runawayDepth = 1000;
// An action this slow is a fault, not a speed question. Qt lays out and paints a field's whole
// line at each change, about half a second for a megabyte here: while such a text is about,
// an action may take longer.
constexpr qint64 slowActionMs = 5000;
constexpr qint64 slowLongTextActionMs = 30000;
constexpr qsizetype longText = 1 << 16;
constexpr auto hangLimit = std::chrono::seconds(60); // no return by then: stop the run

constexpr int megabyte = 1 << 20;

const QString pinCaption = QStringLiteral("置顶");
const QString unpinCaption = QStringLiteral("不置顶");

bool matchesWhole(const QRegularExpression &pattern, const QString &text)
{
    return pattern.match(text).hasMatch();
}

// A weight as shown at rest: the initial "0.00", a shortest number with up to two decimals
// below 1e15, the exponent form from 1e15 on (15 significant digits at most), or the fault.
bool isWeightText(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(0\.00|-?(0|[1-9]\d{0,14})(\.\d?[1-9])?|-?[1-9](\.\d{0,13}[1-9])?E\+(1[5-9]|[2-9]\d|[1-9]\d\d)|超出范围)$)"));
    return text != QStringLiteral("-0") && matchesWhole(pattern, text);
}

// The round bar's button shows five decimals until the label's own change brings it to two.
bool isFiveDecimalWeightText(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^-?(0|[1-9]\d{0,14})(\.\d{0,4}[1-9])?$)"));
    return text != QStringLiteral("-0") && (isWeightText(text) || matchesWhole(pattern, text));
}

bool isCalculatorText(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(-?(0|[1-9]\d*)\.\d\d|除数不能为0|不能开0次方|无效运算|超出范围)$)"));
    return text != QStringLiteral("-0.00") && matchesWhole(pattern, text);
}

// A text short enough for a message, with its length where it is long.
QString shortened(const QString &text)
{
    QString shown = text.left(24);
    shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    shown.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    if (text.size() > shown.size())
        shown += QStringLiteral("…(%1 chars)").arg(text.size());
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

// How deeply the `changed` signals of the window's fields and labels nest. Qt calls the slots
// of a signal in the order in which they were connected: a slot connected before the window
// wires its panels runs as a change begins, one connected after the window is built runs as
// it ends, and the changes in progress are those begun and not yet ended. The window gives
// every field and label its font as it creates it, before any panel is wired, so an
// application-wide event filter that sees a control's first event connects the opening slot
// then. (probeBracketsEachChange checks that the two slots do bracket a cascade.)
class ChangeProbe : public QObject
{
public:
    // Called as each change begins, with the change it is nested in (null: none).
    std::function<void(QWidget *control, QWidget *within)> onChange;
    // Named when a runaway cascade stops the run.
    QByteArray context;

    std::unique_ptr<tarnwick::MainWindow> openWindow()
    {
        qApp->installEventFilter(this);
        auto window = std::make_unique<tarnwick::MainWindow>();
        qApp->removeEventFilter(this);
        for (auto *field : window->findChildren<TextField *>())
            connect(field, &TextField::changed, this, [this, field] { end(field); });
        for (auto *label : window->findChildren<ResultLabel *>())
            connect(label, &ResultLabel::changed, this, [this, label] { end(label); });
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("the window was not exposed");
        restart();
        return window;
    }

    [[nodiscard]] qsizetype attached() const { return attached_.size(); }
    [[nodiscard]] int depth() const { return static_cast<int>(open_.size()); }
    [[nodiscard]] int maxDepth() const { return maxDepth_; }
    [[nodiscard]] int changes() const { return changes_; }
    [[nodiscard]] const QString &fault() const { return fault_; }

    void restart()
    {
        open_.clear();
        maxDepth_ = 0;
        changes_ = 0;
        fault_.clear();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        Q_UNUSED(event);
        if (attached_.contains(watched))
            return false;
        if (auto *field = qobject_cast<TextField *>(watched)) {
            attached_.insert(field);
            connect(field, &TextField::changed, this, [this, field] { begin(field); });
        } else if (auto *label = qobject_cast<ResultLabel *>(watched)) {
            attached_.insert(label);
            connect(label, &ResultLabel::changed, this, [this, label] { begin(label); });
        }
        return false;
    }

private:
    void begin(QWidget *control)
    {
        QWidget *within = open_.empty() ? nullptr : open_.back();
        open_.push_back(control);
        ++changes_;
        maxDepth_ = std::max(maxDepth_, depth());
        if (changes_ > runawayChanges || depth() > runawayDepth)
            qFatal("%s: runaway cascade (%d changes, %d deep, now %s)", context.constData(),
                changes_, depth(), qPrintable(control->objectName()));
        if (onChange)
            onChange(control, within);
    }

    void end(QWidget *control)
    {
        if (open_.empty() || open_.back() != control) {
            if (fault_.isEmpty())
                fault_ = QStringLiteral("the change of %1 ended out of order")
                             .arg(control->objectName());
            return;
        }
        open_.pop_back();
    }

    QSet<QObject *> attached_;
    std::vector<QWidget *> open_;
    int maxDepth_ = 0;
    int changes_ = 0;
    QString fault_;
};

// Stops the run, naming the action, when an action has not returned within the limit: a hang
// then fails with its action instead of running into the test runner's time-out.
class Watchdog
{
public:
    explicit Watchdog(std::chrono::seconds limit)
        : limit_(limit)
        , thread_([this] { watch(); })
    { }
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

    ~Watchdog()
    {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void arm(const QByteArray &action)
    {
        const std::lock_guard lock(mutex_);
        action_ = action;
        started_ = std::chrono::steady_clock::now();
        busy_ = true;
    }

    void disarm()
    {
        const std::lock_guard lock(mutex_);
        busy_ = false;
    }

private:
    void watch()
    {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            wake_.wait_for(lock, std::chrono::seconds(1), [this] { return stop_; });
            if (busy_ && std::chrono::steady_clock::now() - started_ > limit_) {
                std::fprintf(stderr, "FAIL! %s: no return within %lld s\n", action_.constData(),
                    static_cast<long long>(limit_.count()));
                std::fflush(stderr);
                std::abort();
            }
        }
    }

    std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool busy_ = false;
    QByteArray action_;
    std::chrono::steady_clock::time_point started_;
    std::thread thread_; // last: starts once everything it reads is set up
};

// Takes the place of the browser: counts the addresses the window hands over.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    int requests = 0;
    QList<QUrl> unexpected; // every address that is not https

public Q_SLOTS:
    void open(const QUrl &url)
    {
        ++requests;
        if (url.scheme() != QStringLiteral("https"))
            unexpected.append(url);
    }
};

// The same random numbers on every platform: mt19937_64 is fully specified, and so is the
// modulo below (its tiny bias does not matter here).
class Dice
{
public:
    explicit Dice(std::uint64_t seed)
        : engine_(seed)
    { }

    int below(int count) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(count)); }
    int between(int low, int high) { return low + below(high - low + 1); }

    template <class List>
    const auto &pick(const List &list)
    {
        return list[static_cast<std::size_t>(below(static_cast<int>(std::size(list))))];
    }

private:
    std::mt19937_64 engine_;
};

struct Chord
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

// Editing keys for a text field: deleting, moving, selecting, undoing and the clipboard.
const std::array<Chord, 20> editChords { {
    { Qt::Key_Backspace, Qt::NoModifier },
    { Qt::Key_Backspace, Qt::NoModifier },
    { Qt::Key_Delete, Qt::NoModifier },
    { Qt::Key_Delete, Qt::NoModifier },
    { Qt::Key_Home, Qt::NoModifier },
    { Qt::Key_End, Qt::NoModifier },
    { Qt::Key_Left, Qt::NoModifier },
    { Qt::Key_Right, Qt::NoModifier },
    { Qt::Key_Home, Qt::ShiftModifier },
    { Qt::Key_End, Qt::ShiftModifier },
    { Qt::Key_Left, Qt::ShiftModifier },
    { Qt::Key_A, Qt::ControlModifier },
    { Qt::Key_A, Qt::ControlModifier },
    { Qt::Key_Z, Qt::ControlModifier },
    { Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier },
    { Qt::Key_X, Qt::ControlModifier },
    { Qt::Key_C, Qt::ControlModifier },
    { Qt::Key_Backspace, Qt::ControlModifier },
    { Qt::Key_Delete, Qt::ControlModifier },
    { Qt::Key_Left, Qt::ControlModifier },
} };

// Keys for whatever holds the focus: Tab walks, Space presses a focused button, the arrows
// move between option buttons.
const std::array<Chord, 10> focusChords { {
    { Qt::Key_Tab, Qt::NoModifier },
    { Qt::Key_Tab, Qt::NoModifier },
    { Qt::Key_Backtab, Qt::ShiftModifier },
    { Qt::Key_Space, Qt::NoModifier },
    { Qt::Key_Space, Qt::NoModifier },
    { Qt::Key_Up, Qt::NoModifier },
    { Qt::Key_Down, Qt::NoModifier },
    { Qt::Key_Right, Qt::NoModifier },
    { Qt::Key_Return, Qt::NoModifier },
    { Qt::Key_5, Qt::NoModifier },
} };

const QString typedSymbols = QStringLiteral("00112233445566778899..--+eeE abxz");

// Symbols that arrive by paste or input method: full-width forms, CJK punctuation and words.
const QStringList wideSymbols { "０", "１", "２", "３", "４", "５", "６", "７", "８", "９", "．",
    "。", "－", "＋", "ｅ", "Ｅ", "\u3000", "长", "宽", "厚", "钢", "管", "米", "毫", "，", "3",
    ".", "-", "e", " " };

// Texts that readers of numbers are known to stumble on.
const QStringList trickyTexts { "1e400", "-1e400", "-0", "-0.0", "1e-400", "-1e-400", "１２．５",
    "１２。５", "－３", "１ｅ３", "２０００", "一二三", "钢管长度", "长：2000", "２０００ｍｍ",
    "0.005", "-0.005", "0.004999999999", "0.015", "999999999999999.995", "1e15", "-1e15",
    "999999999999999", "9.99999999999999e14", "1.7976931348623157e308", "1.8e308", "4.9e-324",
    "2.2250738585072014e-308", "NaN", "nan", "inf", "-inf", "Infinity", "1e", "1e+", "1e-", "e5",
    ".", "-", "+", "+.5", "-.5", "5.", "  12  ", "\t7", "1\n2", "1,5", "1 000", "0x1A", "١٢٣",
    "🙂", "１２🙂", "", " ", "\u3000", "７.８５", "7.85", "1e999999999999999999999",
    "1e-99999999999999999999", "00000000000000000000000000001", "123456789012345678901234567890",
    "2000", "1000", "6", "0.5", "-8", "3", "0", "100", "1e300", "1e-300", "1e200", "7.85e3" };

// What an input method commits: words, full-width numbers, punctuation.
const QStringList committedTexts { "１２．５", "２０００", "１０００。", "６", "－５", "ｅ", "。",
    "．", "长度", "钢板", "宽", "一百", "１", "０", "５０", "３．１４１５９", "，", "\u3000",
    "１ｅ５" };

// Where a user acts.
enum class Move { Type, Clear, Edit, Paste, PasteAgain, Commit, Point, Press, Choose, Key };
constexpr std::array<const char *, 10> moveNames { "type", "clear", "edit", "paste", "paste again",
    "commit", "point", "press", "choose", "key" };

struct Action
{
    Move move = Move::Type;
    QWidget *target = nullptr; // the field, button or option; Key: what held the focus
    QString text; // typed, pasted or committed; Commit: the preedit shown first, if any
    QString preedit;
    Chord chord { Qt::Key_unknown, Qt::NoModifier };
    int at = 0; // Point: x; Commit: where the replacement starts, from the cursor
    int length = 0; // Point: 1 for a double click; Commit: how much it replaces
};

QString describe(const Action &action)
{
    const QString target
        = action.target != nullptr ? action.target->objectName() : QStringLiteral("nothing");
    const QString keys = QKeySequence(QKeyCombination(action.chord.modifiers, action.chord.key))
                             .toString(QKeySequence::PortableText);
    switch (action.move) {
    case Move::Type:
        return QStringLiteral("type %1 into %2").arg(shortened(action.text), target);
    case Move::Clear:
        return QStringLiteral("select all and delete in %1").arg(target);
    case Move::Edit:
        return QStringLiteral("press %1 in %2").arg(keys, target);
    case Move::Paste:
        return QStringLiteral("paste %1 into %2").arg(shortened(action.text), target);
    case Move::PasteAgain:
        return QStringLiteral("paste the clipboard %1 into %2").arg(shortened(action.text), target);
    case Move::Commit:
        return QStringLiteral("input method commits %1 into %2 (preedit %3, replacing %4 from %5)")
            .arg(shortened(action.text), target, shortened(action.preedit))
            .arg(action.length)
            .arg(action.at);
    case Move::Point:
        return QStringLiteral("%1 %2 at x=%3")
            .arg(action.length == 1 ? QStringLiteral("double-click") : QStringLiteral("click"),
                target)
            .arg(action.at);
    case Move::Press:
    case Move::Choose:
        return QStringLiteral("click %1").arg(target);
    case Move::Key:
        return QStringLiteral("press %1 with the focus on %2").arg(keys, target);
    }
    return {};
}

// Drives one window at random and checks it after every action.
class Monkey
{
public:
    Monkey(std::uint64_t seed, tarnwick::MainWindow *window, ChangeProbe *probe,
        const UrlRecorder *visits);

    // Performs the action of the given index; returns what went wrong, or nothing.
    QString step(qint64 index);

    [[nodiscard]] const QString &lastAction() const { return lastAction_; }
    [[nodiscard]] QString summary() const;

private:
    struct Before
    {
        std::vector<bool> options;
        int resets = 0;
        bool longText = false; // the action or a field held a long text, before or after
    };

    [[nodiscard]] bool holdsLongText() const
    {
        return std::any_of(fields_.begin(), fields_.end(),
            [](const TextField *field) { return field->text().size() > longText; });
    }

    Action nextAction();
    QString pastedText();
    QString megabyteText();
    void perform(const Action &action);
    void changeBegins(QWidget *control, QWidget *within);
    QString check(const Action &action, const Before &before, qint64 elapsedMs) const;
    QString checkReset(const Before &before) const;

    Dice dice_;
    std::uint64_t seed_;
    tarnwick::MainWindow *window_;
    ChangeProbe *probe_;
    const UrlRecorder *visits_;
    Watchdog watchdog_ { hangLimit };

    QList<TextField *> fields_;
    QList<QPushButton *> buttons_;
    QList<QRadioButton *> options_;
    QList<ResultLabel *> weights_;
    TextField *first_; // the calculator's first operand, which every new weight reaches
    ResultLabel *result_;
    QPushButton *roundBarButton_;
    QPushButton *pinButton_;
    QPushButton *resetButton_;

    // What happened during the action in progress.
    QWidget *userTarget_ = nullptr;
    QSet<QPushButton *> pressed_;
    QString problem_;

    int resets_ = 0;
    int pinClicks_ = 0;
    int pinSignals_ = 0;
    int visitClicks_ = 0;
    QString lastAction_;

    // For the summary.
    std::array<int, moveNames.size()> moves_ {};
    std::array<qint64, moveNames.size()> movesMs_ {};
    int megabytes_ = 0;
    int deepest_ = 0;
    int mostChanges_ = 0;
    std::array<qint64, 2> slowestMs_ {}; // without, with a long text about
    std::array<QString, 2> slowestAction_;
};

Monkey::Monkey(
    std::uint64_t seed, tarnwick::MainWindow *window, ChangeProbe *probe, const UrlRecorder *visits)
    : dice_(seed)
    , seed_(seed)
    , window_(window)
    , probe_(probe)
    , visits_(visits)
    , first_(find<TextField>(window, "Text24"))
    , result_(find<ResultLabel>(window, "Label32"))
    , roundBarButton_(find<QPushButton>(window, "Command5"))
    , pinButton_(find<QPushButton>(window, "Command8"))
    , resetButton_(find<QPushButton>(window, "Command10"))
{
    for (const tarnwick::ControlRow &row : tarnwick::controlTable) {
        const QByteArray name(row.name.data(), static_cast<qsizetype>(row.name.size()));
        if (row.kind == tarnwick::Kind::TextField)
            fields_.append(find<TextField>(window, name.constData()));
        else if (row.kind == tarnwick::Kind::PushButton)
            buttons_.append(find<QPushButton>(window, name.constData()));
        else if (row.kind == tarnwick::Kind::OptionButton)
            options_.append(find<QRadioButton>(window, name.constData()));
    }
    for (const char *name : { "Label26", "Label27", "Label29", "Label30" })
        weights_.append(find<ResultLabel>(window, name));

    for (QPushButton *button : buttons_)
        QObject::connect(
            button, &QPushButton::pressed, probe, [this, button] { pressed_.insert(button); });
    QObject::connect(resetButton_, &QPushButton::clicked, probe, [this] { ++resets_; });
    QObject::connect(pinButton_, &QPushButton::clicked, probe, [this] { ++pinClicks_; });
    QObject::connect(
        window, &tarnwick::MainWindow::pinnedOnTopChanged, probe, [this] { ++pinSignals_; });
    QObject::connect(find<QPushButton>(window, "Command11"), &QPushButton::clicked, probe,
        [this] { ++visitClicks_; });
    probe->onChange = [this](QWidget *control, QWidget *within) { changeBegins(control, within); };
}

Action Monkey::nextAction()
{
    Action action;
    // A user who has pasted a megabyte soon clears it again.
    for (TextField *field : fields_) {
        if (field->text().size() > longText && dice_.below(3) == 0) {
            action.move = Move::Clear;
            action.target = field;
            return action;
        }
    }
    const int roll = dice_.below(100);
    if (roll < 27) {
        action.move = Move::Type;
        action.target = dice_.pick(fields_);
        for (int count = dice_.between(1, 6); count > 0; --count)
            action.text += typedSymbols.at(dice_.below(static_cast<int>(typedSymbols.size())));
    } else if (roll < 30) {
        action.move = Move::Clear;
        action.target = dice_.pick(fields_);
    } else if (roll < 50) {
        action.move = Move::Edit;
        action.target = dice_.pick(fields_);
        action.chord = dice_.pick(editChords);
    } else if (roll < 60) {
        action.move = Move::Paste;
        action.target = dice_.pick(fields_);
        action.text = pastedText();
    } else if (roll < 62) {
        action.move = Move::PasteAgain;
        action.target = dice_.pick(fields_);
        action.text = QGuiApplication::clipboard()->text();
    } else if (roll < 70) {
        action.move = Move::Commit;
        action.target = dice_.pick(fields_);
        action.text = dice_.pick(committedTexts);
        if (dice_.below(3) == 0)
            action.preedit = QStringLiteral("gang");
        if (dice_.below(4) == 0) {
            const int cursor = qobject_cast<QLineEdit *>(action.target)->cursorPosition();
            action.at = -dice_.between(0, std::min(cursor, 4));
            action.length = dice_.between(0, 3);
        }
    } else if (roll < 74) {
        action.move = Move::Point;
        action.target = dice_.pick(fields_);
        action.at = dice_.between(1, action.target->width() - 2);
        action.length = dice_.below(4) == 0 ? 1 : 0;
    } else if (roll < 86) {
        action.move = Move::Press;
        action.target = dice_.pick(buttons_);
    } else if (roll < 94) {
        action.move = Move::Choose;
        action.target = dice_.pick(options_);
    } else {
        action.move = Move::Key;
        action.target = window_->focusWidget();
        action.chord = dice_.pick(focusChords);
    }
    return action;
}

QString Monkey::pastedText()
{
    const int roll = dice_.below(1000);
    if (roll < 1) {
        ++megabytes_;
        return megabyteText();
    }
    if (roll < 40) {
        // A long run of digits, perhaps with a point and an exponent.
        QString digits;
        for (int count = dice_.between(300, 5000); count > 0; --count)
            digits += QChar(u'0' + dice_.below(10));
        if (dice_.below(2) == 0)
            digits.insert(dice_.below(static_cast<int>(digits.size())), QLatin1Char('.'));
        if (dice_.below(3) == 0)
            digits += QStringLiteral("e-%1").arg(dice_.between(0, 6000));
        return digits;
    }
    if (roll < 600)
        return dice_.pick(trickyTexts);
    QString text;
    for (int count = dice_.between(1, 12); count > 0; --count)
        text += dice_.pick(wideSymbols);
    return text;
}

QString Monkey::megabyteText()
{
    QString text;
    switch (dice_.below(4)) {
    case 0: // digits, with a point somewhere
        text.reserve(megabyte);
        for (int count = 0; count < megabyte; ++count)
            text += QChar(u'0' + dice_.below(10));
        text[dice_.below(megabyte)] = QLatin1Char('.');
        break;
    case 1: // blanks before a number
        text = QString(megabyte - 3, QLatin1Char(' ')) + QStringLiteral("7.5");
        break;
    case 2: // a point and zeros before a one: far below the smallest number
        text = QStringLiteral("0.") + QString(megabyte - 3, QLatin1Char('0')) + QLatin1Char('1');
        break;
    default: // full-width, CJK and ASCII symbols mixed
        text.reserve(megabyte);
        while (text.size() < megabyte)
            text += dice_.pick(wideSymbols);
        break;
    }
    return text;
}

void Monkey::perform(const Action &action)
{
    auto *field = qobject_cast<QLineEdit *>(action.target);
    switch (action.move) {
    case Move::Type:
        field->setFocus();
        QTest::keyClicks(field, action.text);
        break;
    case Move::Clear:
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        break;
    case Move::Edit:
        field->setFocus();
        QTest::keyClick(field, action.chord.key, action.chord.modifiers);
        break;
    case Move::Paste:
        QGuiApplication::clipboard()->setText(action.text);
        [[fallthrough]];
    case Move::PasteAgain:
        field->setFocus();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        break;
    case Move::Commit: {
        field->setFocus();
        if (!action.preedit.isEmpty()) {
            QInputMethodEvent preedit(action.preedit, {});
            QApplication::sendEvent(field, &preedit);
        }
        QInputMethodEvent commit;
        commit.setCommitString(action.text, action.at, action.length);
        QApplication::sendEvent(field, &commit);
        break;
    }
    case Move::Point: {
        const QPoint where(action.at, field->height() / 2);
        if (action.length == 1)
            QTest::mouseDClick(field, Qt::LeftButton, {}, where);
        else
            QTest::mouseClick(field, Qt::LeftButton, {}, where);
        break;
    }
    case Move::Press:
    case Move::Choose:
        QTest::mouseClick(action.target, Qt::LeftButton);
        break;
    case Move::Key:
        if (action.target != nullptr)
            QTest::keyClick(action.target, action.chord.key, action.chord.modifiers);
        break;
    }
}

// Runs as each change begins. A field changes on its own only by the user's action on it or
// by the reset (which empties it); nested in another change, only the calculator's first
// operand changes, inside a weight's change, to that weight's text. Labels show only their
// shapes, also for a moment; no weight label ever returns to its initial "0.00".
void Monkey::changeBegins(QWidget *control, QWidget *within)
{
    if (!problem_.isEmpty())
        return;
    const QString name = control->objectName();
    if (const auto *field = qobject_cast<const QLineEdit *>(control)) {
        const QString text = field->text();
        auto *weight = qobject_cast<ResultLabel *>(within);
        if (within == nullptr) {
            const bool byReset = pressed_.contains(resetButton_) && text.isEmpty();
            if (control != userTarget_ && !byReset)
                problem_ = QStringLiteral("%1 became %2 without the user acting on it")
                               .arg(name, shortened(text));
        } else if (control != first_ || !weights_.contains(weight)) {
            problem_ = QStringLiteral("%1 became %2 inside the change of %3")
                           .arg(name, shortened(text), within->objectName());
        } else if (text != weight->text() || !isWeightText(text)) {
            problem_
                = QStringLiteral("%1 became %2 while %3 shows %4")
                      .arg(name, shortened(text), within->objectName(), shortened(weight->text()));
        }
        return;
    }
    const QString text = qobject_cast<const QLabel *>(control)->text();
    if (control == result_) {
        if (!isCalculatorText(text))
            problem_ = QStringLiteral("%1 showed %2").arg(name, shortened(text));
        return;
    }
    const bool fiveDecimals = name == QStringLiteral("Label30")
        && pressed_.contains(roundBarButton_) && isFiveDecimalWeightText(text);
    if (text == QStringLiteral("0.00") || (!isWeightText(text) && !fiveDecimals))
        problem_ = QStringLiteral("%1 showed %2").arg(name, shortened(text));
}

QString Monkey::step(qint64 index)
{
    const Action action = nextAction();
    lastAction_ = describe(action);
    ++moves_.at(static_cast<std::size_t>(action.move));

    Before before;
    for (const QRadioButton *option : options_)
        before.options.push_back(option->isChecked());
    before.resets = resets_;
    before.longText = action.text.size() > longText || holdsLongText();
    userTarget_
        = action.move == Move::Choose || action.move == Move::Press ? nullptr : action.target;
    pressed_.clear();
    problem_.clear();
    probe_->restart();
    probe_->context
        = QStringLiteral("seed %1, action %2: %3").arg(seed_).arg(index).arg(lastAction_).toUtf8();
    watchdog_.arm(probe_->context);

    QElapsedTimer timer;
    timer.start();
    perform(action);
    QCoreApplication::processEvents();
    const qint64 elapsedMs = timer.elapsed();
    watchdog_.disarm();

    before.longText = before.longText || holdsLongText();
    movesMs_.at(static_cast<std::size_t>(action.move)) += elapsedMs;
    deepest_ = std::max(deepest_, probe_->maxDepth());
    mostChanges_ = std::max(mostChanges_, probe_->changes());
    const std::size_t kind = before.longText ? 1 : 0;
    if (elapsedMs > slowestMs_.at(kind)) {
        slowestMs_.at(kind) = elapsedMs;
        slowestAction_.at(kind) = lastAction_;
    }
    return check(action, before, elapsedMs);
}

QString Monkey::check(const Action &action, const Before &before, qint64 elapsedMs) const
{
    if (!problem_.isEmpty())
        return problem_;
    if (!probe_->fault().isEmpty())
        return probe_->fault();
    if (probe_->depth() != 0)
        return QStringLiteral("%1 changes had not ended").arg(probe_->depth());
    if (probe_->maxDepth() > depthBound)
        return QStringLiteral("changes nested %1 deep").arg(probe_->maxDepth());
    if (probe_->changes() > changesBound)
        return QStringLiteral("%1 changes in one action").arg(probe_->changes());
    if (elapsedMs > (before.longText ? slowLongTextActionMs : slowActionMs))
        return QStringLiteral("the action took %1 ms").arg(elapsedMs);

    for (const ResultLabel *weight : weights_) {
        if (!isWeightText(weight->text()))
            return QStringLiteral("%1 shows %2")
                .arg(weight->objectName(), shortened(weight->text()));
    }
    if (!isCalculatorText(result_->text()))
        return QStringLiteral("Label32 shows %1").arg(shortened(result_->text()));

    const bool pinned = window_->property("PinnedOnTop").toBool();
    if (pinButton_->text() != (pinned ? unpinCaption : pinCaption))
        return QStringLiteral("the pin button reads \"%1\" with PinnedOnTop %2")
            .arg(pinButton_->text())
            .arg(pinned);
    if (pinned != (pinClicks_ % 2 == 1) || pinSignals_ != pinClicks_)
        return QStringLiteral("%1 pin clicks, %2 pin signals, PinnedOnTop %3")
            .arg(pinClicks_)
            .arg(pinSignals_)
            .arg(pinned);
    if (!window_->isVisible())
        return QStringLiteral("the window is hidden");

    if (visits_->requests != visitClicks_)
        return QStringLiteral("%1 web page requests for %2 clicks")
            .arg(visits_->requests)
            .arg(visitClicks_);
    if (!visits_->unexpected.isEmpty())
        return QStringLiteral("asked to open %1").arg(visits_->unexpected.constFirst().toString());

    for (const auto &group : { options_.mid(0, 6), options_.mid(6, 2) }) {
        if (std::count_if(group.begin(), group.end(),
                [](const QRadioButton *option) { return option->isChecked(); })
            != 1)
            return QStringLiteral("an option group has not exactly one selected button");
    }
    if (action.move == Move::Choose && !qobject_cast<QRadioButton *>(action.target)->isChecked())
        return QStringLiteral("the clicked option is not selected");

    if (resets_ != before.resets)
        return checkReset(before);
    return {};
}

// After a reset every field is empty, except that a weight recomputed on the way may have
// forwarded its "0" to the calculator's first operand; no weight is left but zero or the
// initial text, and the options are as they were.
QString Monkey::checkReset(const Before &before) const
{
    for (const TextField *field : fields_) {
        const bool allowed
            = field->text().isEmpty() || (field == first_ && field->text() == QStringLiteral("0"));
        if (!allowed)
            return QStringLiteral("after the reset %1 holds %2")
                .arg(field->objectName(), shortened(field->text()));
    }
    for (const ResultLabel *weight : weights_) {
        if (weight->text() != QStringLiteral("0") && weight->text() != QStringLiteral("0.00"))
            return QStringLiteral("after the reset %1 shows %2")
                .arg(weight->objectName(), shortened(weight->text()));
    }
    for (qsizetype i = 0; i < options_.size(); ++i) {
        if (options_.at(i)->isChecked() != before.options.at(static_cast<std::size_t>(i)))
            return QStringLiteral("the reset changed %1").arg(options_.at(i)->objectName());
    }
    return {};
}

QString Monkey::summary() const
{
    QStringList moves;
    for (std::size_t move = 0; move < moveNames.size(); ++move) {
        moves.append(QStringLiteral("%1 %2 (%3 ms)")
                         .arg(moves_.at(move))
                         .arg(QLatin1String(moveNames.at(move)))
                         .arg(movesMs_.at(move)));
    }
    return moves.join(QStringLiteral(", "))
        + QStringLiteral("; %1 megabyte pastes, %2 resets, %3 visits; deepest nesting %4, "
                         "most changes in one action %5; slowest action %6 ms: %7; slowest "
                         "with a long text about %8 ms: %9")
              .arg(megabytes_)
              .arg(resets_)
              .arg(visitClicks_)
              .arg(deepest_)
              .arg(mostChanges_)
              .arg(slowestMs_[0])
              .arg(slowestAction_[0])
              .arg(slowestMs_[1])
              .arg(slowestAction_[1]);
}

template <class Number>
bool fromEnvironment(const char *name, Number *value)
{
    if (!qEnvironmentVariableIsSet(name))
        return true;
    bool ok = false;
    *value = static_cast<Number>(qEnvironmentVariable(name).toULongLong(&ok));
    return ok;
}

} // namespace

class MonkeyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void probeBracketsEachChange();
    void monkey();
};

// A keystroke in the first plate's length with nothing else filled in: the field changes,
// within it the weight (now "0"), within that the calculator's first operand.
void MonkeyTest::probeBracketsEachChange()
{
    ChangeProbe probe;
    QStringList seen;
    probe.onChange = [&](QWidget *control, QWidget *within) {
        seen.append(QStringLiteral("%1@%2 in %3")
                        .arg(control->objectName())
                        .arg(probe.depth())
                        .arg(within != nullptr ? within->objectName() : QStringLiteral("-")));
    };
    const auto window = probe.openWindow();
    QCOMPARE(probe.attached(), 19);
    probe.context = "typing 1 into Text1";
    type(window.get(), "Text1", QStringLiteral("1"));
    const QStringList expected { "Text1@1 in -", "Label26@2 in Text1", "Text24@3 in Label26" };
    QCOMPARE(seen, expected);
    QCOMPARE(probe.depth(), 0);
    QCOMPARE(probe.maxDepth(), 3);
    QVERIFY(probe.fault().isEmpty());
}

void MonkeyTest::monkey()
{
    std::uint64_t seed = defaultSeed;
    qint64 count = defaultActions;
    QVERIFY2(fromEnvironment("TARNWICK_MONKEY_SEED", &seed), "TARNWICK_MONKEY_SEED is no number");
    QVERIFY2(
        fromEnvironment("TARNWICK_MONKEY_ACTIONS", &count), "TARNWICK_MONKEY_ACTIONS is no number");
    qInfo("monkey: seed %llu, %lld actions", static_cast<unsigned long long>(seed),
        static_cast<long long>(count));

    ChangeProbe probe;
    const auto window = probe.openWindow();
    QCOMPARE(probe.attached(), 19);

    UrlRecorder visits;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &visits, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &visits, "open");
    const auto unsetHandlers = qScopeGuard([] {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    });

    Monkey monkey(seed, window.get(), &probe, &visits);
    QElapsedTimer timer;
    timer.start();
    for (qint64 index = 0; index < count; ++index) {
        const QString problem = monkey.step(index);
        if (!problem.isEmpty()) {
            QFAIL(qPrintable(QStringLiteral("seed %1, action %2: %3: %4 (replay with "
                                            "TARNWICK_MONKEY_SEED=%1 TARNWICK_MONKEY_ACTIONS=%5)")
                                 .arg(seed)
                                 .arg(index)
                                 .arg(monkey.lastAction(), problem)
                                 .arg(index + 1)));
        }
    }
    qInfo("monkey: %lld actions in %lld ms; %s", static_cast<long long>(count),
        static_cast<long long>(timer.elapsed()), qPrintable(monkey.summary()));
}

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
