#include "driver.h"
#include "web_page_text.h"

#include "app/main_window.h"
#include "app/program.h"
#include "maintenance/restore_dialog.h"
#include "platform/ado.h"
#include "platform/app_dir.h"
#include "platform/automation.h"
#include "platform/clock.h"
#include "platform/data_dir.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/status_bar.h"
#include "records/entry_boxes.h"
#include "records/module_storage.h"
#include "records/record_window.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/message.h"
#include "skin/engine/manager/skin_manager.h"
#include "skin/engine/menus/menu_bar.h"

#include "office_readback.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimeZone>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>
#include <functional>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace drive {

namespace {

// A script's pattern, which must match the whole text.
QRegularExpression wholePattern(const QString& pattern,
                                QRegularExpression::PatternOptions options = {}) {
    return QRegularExpression(QStringLiteral("^(?:%1)$").arg(pattern), options);
}

QString textOfWidget(const QWidget* widget) {
    if (const auto* memo = qobject_cast<const records::MemoBox*>(widget))
        return memo->text();
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return line->text();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget))
        return memo->toPlainText();
    if (const auto* rich = qobject_cast<const QTextEdit*>(widget))
        return rich->toPlainText();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget))
        return spin->text();
    throw DriveFailure("the widget " + widget->objectName().toStdString() + " holds no text");
}

// The widget that takes typed keys: a combo box's line edit, else itself.
QWidget* keyTarget(QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        return combo->lineEdit();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        return spin->findChild<QLineEdit*>();
    return widget;
}

void bringToFront(QWidget* window) {
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QApplication::processEvents();
}

void typeCharacter(QWidget* target, const QString& character) {
    const QChar c = character.at(0);
    Qt::Key key = Qt::Key_unknown;
    if (character.size() == 1 && c.unicode() < 128 && c.isLetterOrNumber())
        key = static_cast<Qt::Key>(c.toUpper().unicode());
    else if (character == QLatin1String(" "))
        key = Qt::Key_Space;
    QTest::sendKeyEvent(QTest::Press, target, key, character, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, target, key, character, Qt::NoModifier);
}

int answerCode(const QString& word) {
    const QString answer = word.toLower();
    if (answer == QLatin1String("yes"))
        return platform::IdYes;
    if (answer == QLatin1String("no"))
        return platform::IdNo;
    if (answer == QLatin1String("ok"))
        return platform::IdOk;
    if (answer == QLatin1String("cancel"))
        return platform::IdCancel;
    throw DriveFailure("unknown answer " + word.toStdString());
}

int toInt(const QString& word) {
    bool ok = false;
    const int value = word.toInt(&ok);
    if (!ok)
        throw DriveFailure("not a whole number: " + word.toStdString());
    return value;
}

// A path of a script: relative paths lie in the data folder, which is the
// program's folder in the portable layout the tests copy.
QString scriptPath(const QString& path) {
    if (QDir::isAbsolutePath(path))
        return path;
    return platform::dataPath(path);
}

// The program's folder written into expected texts as {app} and the data
// folder as {data}, so that scripts need not know where their copy of the
// program lies.
QString withAppDir(QString text) {
    const auto withoutSeparator = [](QString folder) {
        if (folder.endsWith(QLatin1Char('/')))
            folder.chop(1);
        return folder;
    };
    return text.replace(QStringLiteral("{app}"), withoutSeparator(platform::appDir()))
        .replace(QStringLiteral("{data}"), withoutSeparator(platform::dataDir()));
}

// "B12" -> {12, 2}.
std::pair<int, int> cellPosition(const QString& reference) {
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference.at(i).isLetter(); ++i)
        column = column * 26 + (reference.at(i).toUpper().unicode() - 'A' + 1);
    return {reference.mid(i).toInt(), column};
}

// A stored cell as a script writes it: texts as they are, numbers after "#",
// date-times after "@" in the regional form.
// The restore dialog that is open, or null.
maintenance::RestoreDialog* openRestoreDialog() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<maintenance::RestoreDialog*>(top);
            dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

maintenance::RestoreDialog* needRestoreDialog() {
    if (auto* dialog = openRestoreDialog())
        return dialog;
    throw DriveFailure("no restore dialog is open");
}

// Sets the immutable attribute, which even root cannot write through; where
// there is none, takes the write permissions away. run-drive.sh clears both.
bool makeReadOnly(const QString& path) {
#ifdef __linux__
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd >= 0) {
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags |= FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        if (done)
            return true;
    }
#endif
    const QFile::Permissions write =
        QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    return QFile::setPermissions(path, QFile::permissions(path) & ~write);
}

QString cellText(const officereadback::SheetCell& cell) {
    if (!cell.type.isEmpty() && cell.type != QLatin1String("n"))
        return cell.value;
    if (cell.format.contains(QLatin1String("yy"))) {
        const double serial = cell.value.toDouble();
        const auto days = static_cast<qint64>(serial);
        const auto seconds = static_cast<int>(std::lround((serial - days) * 86400));
        const QDateTime moment =
            QDateTime(QDate(1899, 12, 30).addDays(days), QTime(0, 0), Qt::UTC).addSecs(seconds);
        return QLatin1Char('@') + moment.toString(QStringLiteral("yyyy-M-d H:mm:ss"));
    }
    return QLatin1Char('#') + cell.value;
}

} // namespace

void expectEqual(const QString& what, const QString& expected, const QString& seen) {
    if (expected != seen)
        throw DriveFailure(QStringLiteral("%1\n  expected: \"%2\"\n  seen:     \"%3\"")
                               .arg(what, expected, seen)
                               .toStdString());
}

Driver::Driver(app::Program& program) : mProgram(program) {
    platform::setMessageBoxAnswerer(
        [this](const QString& text, const QString& caption, unsigned flags) {
            return answerBox(text, caption, flags);
        });
    platform::setBeepWatcher([this](unsigned) { ++mBeeps; });
    // Programs and web pages the program would start are noted, not started.
    platform::setProgramStarter([this](const QString& program) { mStarted << program; });
    platform::setUrlOpener([this](const QString& url) { mStarted << url; });
    platform::setSaveDialogAnswerer(
        [this](const QString& offered) { return answerSaveDialog(offered); });
}

Driver::~Driver() {
    platform::setMessageBoxAnswerer({});
    platform::setBeepWatcher({});
    platform::setProgramStarter({});
    platform::setUrlOpener({});
    platform::setSaveDialogAnswerer({});
}

int Driver::answerBox(const QString& text, const QString& caption, unsigned flags) {
    mBoxes.append({text, caption, flags});
    const bool yesNo = (flags & 0xF) == platform::mb::YesNo;
    if (!mAnswers.empty()) {
        const int answer = answerCode(mAnswers.front());
        mAnswers.pop_front();
        if (yesNo)
            return answer == platform::IdYes ? platform::IdYes : platform::IdNo;
        return platform::IdOk;
    }
    // Nobody said: the default button.
    return yesNo ? platform::IdNo : platform::IdOk;
}

QWidget* Driver::window(const QString& windowClass) const {
    QWidget* found = mProgram.window(windowClass);
    // Dialogs of the program (RestoreDialog) by their object name.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!found && top->isVisible() && top->objectName() == windowClass)
            found = top;
    }
    if (!found)
        throw DriveFailure("no window " + windowClass.toStdString());
    return found;
}

QWidget* Driver::widget(const QString& target) const {
    const auto [windowClass, name] = splitTarget(target);
    QWidget* top = window(windowClass);
    if (name.isEmpty())
        return top;
    QWidget* found = top->findChild<QWidget*>(name);
    if (!found)
        throw DriveFailure("no widget " + target.toStdString());
    return found;
}

void Driver::need(const Action& action, int words) const {
    if (action.words.size() < words)
        throw DriveFailure(
            QStringLiteral("%1 needs %2 words").arg(action.verb).arg(words).toStdString());
}

void Driver::play(const Action& action) {
    using Step = std::function<void(Driver&, const Action&)>;
    static const QHash<QString, Step> steps = {
        {"show", &Driver::show},
        {"type", &Driver::type},
        {"pick", &Driver::pick},
        {"click", &Driver::click},
        {"menu", &Driver::menu},
        {"grid-click", &Driver::gridClick},
        {"dblclick", &Driver::doubleClick},
        {"wheel", &Driver::wheel},
        {"answer", &Driver::answer},
        {"answer-file", &Driver::answerFile},
        {"expect-offered-file", &Driver::expectOfferedFile},
        {"tab", &Driver::tab},
        {"expect-boxes", [](Driver& d, const Action& a) { d.expectBoxes(a, false); }},
        {"expect-boxes-match", [](Driver& d, const Action& a) { d.expectBoxes(a, true); }},
        {"expect-file", [](Driver& d, const Action& a) { d.expectFile(a, true); }},
        {"expect-no-file", [](Driver& d, const Action& a) { d.expectFile(a, false); }},
        {"expect-file-text", &Driver::expectFileText},
        {"sql-expect", &Driver::sqlExpect},
        {"unregister", &Driver::unregisterClass},
        {"record-calls", &Driver::recordCalls},
        {"expect-calls", &Driver::expectCalls},
        {"expect-sheet", &Driver::expectSheet},
        {"expect-table", &Driver::expectTable},
        {"expect-box", [](Driver& d, const Action& a) { d.expectBox(a, false); }},
        {"expect-box-match", [](Driver& d, const Action& a) { d.expectBox(a, true); }},
        {"expect-no-box", &Driver::expectNoBox},
        {"expect-status", &Driver::expectStatus},
        {"expect-text", &Driver::expectText},
        {"expect-rows", &Driver::expectRows},
        {"expect-cell", &Driver::expectCell},
        {"expect-beeps", &Driver::expectBeeps},
        {"expect-title", &Driver::expectTitle},
        {"expect-visible", [](Driver& d, const Action& a) { d.expectVisible(a, true); }},
        {"expect-hidden", [](Driver& d, const Action& a) { d.expectVisible(a, false); }},
        {"wait", &Driver::wait},
        {"clock", &Driver::clock},
        {"sql", &Driver::sql},
        {"shot", &Driver::shot},
        {"close", &Driver::close},
        {"header-click", &Driver::headerClick},
        {"expect-started", &Driver::expectStarted},
        {"key", &Driver::key},
        {"expect-cell-match", &Driver::expectCellMatch},
        {"expect-current", &Driver::expectCurrent},
        {"expect-width", &Driver::expectWidth},
        {"set", &Driver::set},
        {"lock", &Driver::lock},
        {"unlock", &Driver::unlock},
        {"expect-quit-on-close", &Driver::expectQuitOnClose},
        {"expect-same-file", &Driver::expectSameFile},
        {"expect-start-within", &Driver::expectStartWithin},
        {"expect-restore-list", &Driver::expectRestoreList},
        {"restore-pick", &Driver::restorePick},
        {"restore-confirm", [](Driver& d, const Action& a) { d.restoreButton(a, true); }},
        {"restore-cancel", [](Driver& d, const Action& a) { d.restoreButton(a, false); }},
        {"expect-restore-closed", &Driver::expectRestoreClosed},
        {"damage-file", &Driver::damageFile},
        {"remove-file", &Driver::removeFile},
        {"protect", &Driver::protect},
        {"frame-click", [](Driver& d, const Action& a) { d.frameClick(a, false); }},
        {"frame-dblclick", [](Driver& d, const Action& a) { d.frameClick(a, true); }},
        {"bar-menu", &Driver::barMenu},
        {"open-menu", &Driver::openMenu},
        {"shot-menus", &Driver::shotMenus},
        {"scroll", &Driver::scroll},
        {"expect-web-engine", &Driver::expectWebEngine},
        {"expect-page-text", &Driver::expectPageText},
        {"expect-skinned", &Driver::expectSkinned},
        {"run", &Driver::run},
        {"repeat", &Driver::repeat},
    };
    const auto step = steps.constFind(action.verb);
    if (step == steps.constEnd())
        throw DriveFailure("unknown action " + action.verb.toStdString());
    (*step)(*this, action);
    QApplication::processEvents();
}

void Driver::run(const Action& action) {
    need(action, 1);
    QProcess shell;
    shell.setProcessChannelMode(QProcess::ForwardedChannels);
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), action.words[0]});
    if (!shell.waitForFinished(600000) || shell.exitStatus() != QProcess::NormalExit ||
        shell.exitCode() != 0)
        throw DriveFailure("the command failed (exit " + std::to_string(shell.exitCode()) + ")");
}

void Driver::repeat(const Action& action) {
    need(action, 2);
    bool number = false;
    const int count = action.words[0].toInt(&number);
    if (!number || count < 0)
        throw DriveFailure("not a count: " + action.words[0].toStdString());
    for (int i = 1; i <= count; ++i) {
        QString line = action.words[1];
        line.replace(QStringLiteral("{i}"), QString::number(i));
        try {
            for (const Action& step : parseScript(line))
                play(step);
        } catch (const ScriptError& error) {
            throw DriveFailure(std::string("bad line to repeat: ") + error.what());
        }
    }
}

void Driver::answer(const Action& action) {
    need(action, 1);
    answerCode(action.words[0]);
    mAnswers.push_back(action.words[0]);
}

void Driver::answerFile(const Action& action) {
    need(action, 1);
    mFileAnswers.push_back(action.words[0]);
}

void Driver::wait(const Action& action) {
    need(action, 1);
    QTest::qWait(toInt(action.words[0]));
}

// ---------------------------------------------------------------- actions

void Driver::show(const Action& action) {
    need(action, 1);
    const QString windowClass = action.words[0];
    QWidget* target = window(windowClass);
    if (target != mProgram.mainWindow()) {
        // Through the launcher button of the main window, as a person would.
        QAbstractButton* launcher = nullptr;
        for (auto* button : mProgram.mainWindow()->findChildren<QAbstractButton*>()) {
            if (button->property("windowClass").toString() == windowClass)
                launcher = button;
        }
        if (launcher && launcher->isVisible())
            QTest::mouseClick(launcher, Qt::LeftButton);
        else
            mProgram.showWindow(windowClass);
    } else {
        mProgram.showWindow(windowClass);
    }
    bringToFront(target);
    if (!target->isVisible())
        throw DriveFailure("the window " + windowClass.toStdString() + " did not show");
}

void Driver::type(const Action& action) {
    need(action, 2);
    QWidget* box = widget(action.words[0]);
    bringToFront(box->window());
    QWidget* target = keyTarget(box);
    target->setFocus(Qt::OtherFocusReason);
    // Replace the text: select all, delete.
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    const QString text = action.words[1];
    for (const uint codePoint : text.toUcs4()) {
        if (codePoint == '\n') {
            QTest::keyClick(target, Qt::Key_Return);
            continue;
        }
        const char32_t c = static_cast<char32_t>(codePoint);
        typeCharacter(target, QString::fromUcs4(&c, 1));
    }
}

void Driver::pick(const Action& action) {
    need(action, 2);
    auto* combo = qobject_cast<QComboBox*>(widget(action.words[0]));
    if (!combo)
        throw DriveFailure(action.words[0].toStdString() + " is not a drop-down box");
    const int entry = toInt(action.words[1]);
    if (entry < 0 || entry >= combo->count())
        throw DriveFailure(QStringLiteral("%1 has %2 entries, no entry %3")
                               .arg(action.words[0])
                               .arg(combo->count())
                               .arg(entry)
                               .toStdString());
    combo->setFocus(Qt::OtherFocusReason);
    combo->setCurrentIndex(entry);
}

void Driver::click(const Action& action) {
    need(action, 1);
    QWidget* target = widget(action.words[0]);
    // A button on a page that is not in front: bring its page forward first,
    // as a person would.
    for (QWidget* page = target; page; page = page->parentWidget()) {
        if (auto* pages = qobject_cast<QTabWidget*>(
                page->parentWidget() ? page->parentWidget()->parentWidget() : nullptr);
            pages && pages->indexOf(page) >= 0 && pages->currentWidget() != page)
            pages->setCurrentWidget(page);
    }
    if (!target->isVisible())
        throw DriveFailure(action.words[0].toStdString() + " is not visible");
    if (!target->isEnabled())
        throw DriveFailure(action.words[0].toStdString() + " is disabled");
    QTest::mouseClick(target, Qt::LeftButton);
}

void Driver::menu(const Action& action) {
    need(action, 2);
    QWidget* top = window(action.words[0]);
    const QStringList path = action.words[1].split(QLatin1Char('/'));
    QMenuBar* bar = top->findChild<QMenuBar*>();
    if (!bar)
        throw DriveFailure(action.words[0].toStdString() + " has no menu bar");
    QList<QAction*> actions = bar->actions();
    for (qsizetype i = 0; i < path.size(); ++i) {
        QAction* found = nullptr;
        for (QAction* candidate : actions) {
            if (candidate->text() == path[i])
                found = candidate;
        }
        if (!found)
            throw DriveFailure("no menu item \"" + path[i].toStdString() + "\"");
        if (i + 1 == path.size()) {
            found->trigger();
        } else {
            if (!found->menu())
                throw DriveFailure("\"" + path[i].toStdString() + "\" has no submenu");
            actions = found->menu()->actions();
        }
    }
}

void Driver::gridClick(const Action& action) {
    need(action, 3);
    QWidget* top = window(action.words[0]);
    QTableView* grid = gridOf(action.words[0]);
    const QModelIndex index = grid->model()->index(toInt(action.words[1]), toInt(action.words[2]));
    if (!index.isValid())
        throw DriveFailure(QStringLiteral("the grid has no cell %1, %2 (%3 rows)")
                               .arg(action.words[1], action.words[2])
                               .arg(grid->model()->rowCount())
                               .toStdString());
    bringToFront(top);
    grid->scrollTo(index);
    const QPoint at = grid->visualRect(index).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void Driver::doubleClick(const Action& action) {
    need(action, 1);
    QWidget* target = keyTarget(widget(action.words[0]));
    bringToFront(target->window());
    QTest::mouseDClick(target, Qt::LeftButton);
}

void Driver::wheel(const Action& action) {
    need(action, 2);
    QWidget* top = window(action.words[0]);
    QTableView* grid = gridOf(action.words[0]);
    bringToFront(top);
    grid->setFocus(Qt::OtherFocusReason);
    const QPoint at = grid->viewport()->rect().center();
    QWheelEvent event(at, grid->viewport()->mapToGlobal(at), QPoint(),
                      QPoint(0, toInt(action.words[1])), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &event);
}

void Driver::expectBox(const Action& action, bool pattern) {
    need(action, 1);
    if (mBoxes.isEmpty())
        throw DriveFailure("no message box was shown; expected \"" + action.words[0].toStdString() +
                           "\"");
    const Box last = mBoxes.last();
    mBoxes.clear();
    if (pattern) {
        const QRegularExpression expected = wholePattern(action.words[0]);
        if (!expected.match(last.text).hasMatch())
            throw DriveFailure(
                QStringLiteral("message box text\n  expected to match: %1\n  seen: \"%2\"")
                    .arg(action.words[0], last.text)
                    .toStdString());
    } else {
        expectEqual(QStringLiteral("message box text"), withAppDir(action.words[0]), last.text);
    }
    if (action.words.size() > 1)
        expectEqual(QStringLiteral("message box caption"), action.words[1], last.caption);
    if (action.words.size() > 2) {
        bool ok = false;
        const unsigned flags = action.words[2].toUInt(&ok, 0);
        if (!ok)
            throw DriveFailure("not a flags word: " + action.words[2].toStdString());
        expectEqual(QStringLiteral("message box flags"), QStringLiteral("0x%1").arg(flags, 0, 16),
                    QStringLiteral("0x%1").arg(last.flags, 0, 16));
    }
}

void Driver::expectNoBox(const Action&) {
    if (!mBoxes.isEmpty()) {
        const Box first = mBoxes.first();
        mBoxes.clear();
        throw DriveFailure("a message box was shown: \"" + first.text.toStdString() + "\"");
    }
}

void Driver::expectStatus(const Action& action) {
    need(action, 2);
    QWidget* top = window(action.words[0]);
    auto* bar = top->findChild<platform::PanelStatusBar*>(QStringLiteral("StatusBar1"));
    if (!bar)
        throw DriveFailure(action.words[0].toStdString() + " has no status bar");
    const int panel = action.words.size() > 2 ? toInt(action.words[2]) : 0;
    expectEqual(QStringLiteral("status panel %1").arg(panel), action.words[1],
                bar->panelText(panel));
}

void Driver::expectText(const Action& action) {
    need(action, 2);
    expectEqual(QStringLiteral("text of %1").arg(action.words[0]), withAppDir(action.words[1]),
                textOfWidget(widget(action.words[0])));
}

void Driver::expectRows(const Action& action) {
    need(action, 2);
    QTableView* grid = gridOf(action.words[0]);
    expectEqual(QStringLiteral("rows of the grid"), action.words[1],
                QString::number(grid->model()->rowCount()));
}

void Driver::expectCell(const Action& action) {
    need(action, 4);
    QTableView* grid = gridOf(action.words[0]);
    const QModelIndex index = grid->model()->index(toInt(action.words[1]), toInt(action.words[2]));
    if (!index.isValid())
        throw DriveFailure(QStringLiteral("the grid has no cell %1, %2")
                               .arg(action.words[1], action.words[2])
                               .toStdString());
    expectEqual(QStringLiteral("cell %1, %2").arg(action.words[1], action.words[2]),
                action.words[3], index.data(Qt::EditRole).toString());
}

void Driver::expectBeeps(const Action& action) {
    need(action, 1);
    const int seen = mBeeps;
    mBeeps = 0;
    expectEqual(QStringLiteral("beeps"), action.words[0], QString::number(seen));
}

void Driver::expectTitle(const Action& action) {
    need(action, 2);
    expectEqual(QStringLiteral("caption of %1").arg(action.words[0]), action.words[1],
                window(action.words[0])->windowTitle());
}

void Driver::expectVisible(const Action& action, bool visible) {
    need(action, 1);
    QWidget* target = widget(action.words[0]);
    if (target->isVisible() != visible)
        throw DriveFailure(action.words[0].toStdString() +
                           (visible ? " is hidden" : " is visible"));
}

void Driver::clock(const Action& action) {
    need(action, 2);
    const QDateTime local =
        QDateTime::fromString(action.words[0], QStringLiteral("yyyy-M-d H:mm:ss"));
    if (!local.isValid())
        throw DriveFailure("not a time: " + action.words[0].toStdString());
    const QString offset = action.words[1];
    static const QRegularExpression form(QStringLiteral(R"(^([+-])(\d\d):(\d\d)$)"));
    const auto match = form.match(offset);
    if (!match.hasMatch())
        throw DriveFailure("not a UTC offset: " + offset.toStdString());
    int seconds = match.captured(2).toInt() * 3600 + match.captured(3).toInt() * 60;
    if (match.captured(1) == QLatin1String("-"))
        seconds = -seconds;
    platform::Clock::pin(local, seconds);
}

std::unique_ptr<platform::AdoConnection> Driver::connectionTo(const QString& windowClass) const {
    records::RecordWindow* target = mProgram.recordWindow(windowClass);
    if (!target)
        throw DriveFailure(windowClass.toStdString() + " is not a record window");
    auto connection = std::make_unique<platform::AdoConnection>();
    records::configureConnection(*connection, target->descriptor().databaseFile);
    // The script reaches whatever the file holds, ours or not.
    connection->setRequiredColumns({}, {});
    return connection;
}

void Driver::sql(const Action& action) {
    need(action, 2);
    const auto connection = connectionTo(action.words[0]);
    try {
        connection->open();
        platform::AdoQuery query(*connection);
        query.setSql(action.words[1].toStdString());
        query.execSql();
    } catch (const platform::AdoError& error) {
        throw DriveFailure(std::string("the statement failed: ") + error.what());
    }
}

void Driver::lock(const Action& action) {
    need(action, 1);
    if (mLocks.contains(action.words[0]))
        throw DriveFailure(action.words[0].toStdString() + " is locked already");
    auto connection = connectionTo(action.words[0]);
    try {
        connection->open();
        platform::AdoQuery query(*connection);
        // A write transaction left open: others may still read.
        query.setSql("begin immediate");
        query.execSql();
    } catch (const platform::AdoError& error) {
        throw DriveFailure(std::string("cannot lock: ") + error.what());
    }
    mLocks[action.words[0]] = std::move(connection);
}

void Driver::unlock(const Action& action) {
    need(action, 1);
    const auto held = mLocks.find(action.words[0]);
    if (held == mLocks.end())
        throw DriveFailure(action.words[0].toStdString() + " is not locked");
    platform::AdoQuery query(*held->second);
    query.setSql("rollback");
    query.execSql();
    mLocks.erase(held);
}

// Closes the window from inside the event loop, as a person would, and
// holds when the program's event loop ends soon after. Meant as a script's
// last line: the program has quit.
void Driver::expectQuitOnClose(const Action& action) {
    need(action, 1);
    QWidget* target = window(action.words[0]);
    constexpr int TimedOut = 99;
    QTimer::singleShot(0, target, [target] { target->close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(TimedOut); });
    if (QApplication::exec() == TimedOut)
        throw DriveFailure("closing " + action.words[0].toStdString() + " did not end the program");
}

void Driver::shot(const Action& action) {
    need(action, 2);
    QWidget* target = widget(action.words[0]);
    if (target->isWindow()) {
        // The window as the user sees it in front: raised, active, its frame included.
        bringToFront(target);
        // A window the platform will not activate is taken as it is.
        const bool active = QTest::qWaitForWindowActive(target, 500);
        Q_UNUSED(active);
    }
    QApplication::processEvents();
    // On a real display take the pixels from the screen, so that views that
    // draw outside the widget tree (the web view) are in the picture too.
    QPixmap picture;
    if (QGuiApplication::platformName() == QLatin1String("xcb") && target->isWindow() &&
        target->screen())
        picture = target->screen()->grabWindow(target->winId());
    if (picture.isNull())
        picture = target->grab();
    if (!picture.save(action.words[1]))
        throw DriveFailure("cannot save " + action.words[1].toStdString());
}

namespace {

skin::TWinSkinForm& skinFormOf(QWidget* window, const QString& name) {
    skin::TSkinManage* manager = skin::TSkinManage::instance();
    skin::TWinSkinForm* form = manager ? manager->FindSkinForm(window) : nullptr;
    if (!form || !form->frameShown())
        throw DriveFailure("the window " + name.toStdString() + " has no skinned frame");
    return *form;
}

// Where a part of the frame is, in window coordinates.
QPoint framePoint(const skin::TWinSkinForm& form, const QString& part) {
    if (part == QLatin1String("caption")) {
        const QRect caption = form.captionLayout().caption;
        return QPoint(caption.center().x(), caption.center().y());
    }
    static const QHash<QString, QList<int>> actions = {{"close", {0}},
                                                       {"maximize", {1, 22}},
                                                       {"restore", {1, 22}},
                                                       {"minimize", {2, 23}},
                                                       {"icon", {3, 11}}};
    const auto wanted = actions.constFind(part);
    if (wanted == actions.constEnd())
        throw DriveFailure("no frame part \"" + part.toStdString() + "\"");
    const bool maximized = form.windowState() == skin::WindowMaximized;
    for (const auto& button : form.captionButtons()) {
        if (!button->visible || button->rect.isEmpty() || !wanted->contains(button->action()))
            continue;
        // Maximize and restore share an Action; the window's state tells them apart.
        if (button->action() == 1 && (part == QLatin1String("restore")) != maximized)
            continue;
        return button->rect.center();
    }
    throw DriveFailure("the caption shows no " + part.toStdString() + " button");
}

} // namespace

void Driver::frameClick(const Action& action, bool twice) {
    need(action, 2);
    QWidget* top = window(action.words[0]);
    bringToFront(top);
    const QPoint at = framePoint(skinFormOf(top, action.words[0]), action.words[1]);
    if (twice)
        QTest::mouseDClick(top, Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(top, Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

namespace {

// Presses the skinned bar's button with the caption; answers its drop-down,
// open, or null when the button is disabled or has none.
QMenu* pressBarButton(QWidget* top, const QString& name, const QString& caption) {
    bringToFront(top);
    skin::TWinSkinMenu* bar = skinFormOf(top, name).skinMenu();
    if (!bar)
        throw DriveFailure(name.toStdString() + " has no skinned menu bar");
    for (const auto& button : bar->buttons()) {
        if (button->caption != caption || !button->visible)
            continue;
        QTest::mouseClick(top, Qt::LeftButton, {}, button->rect.center());
        QApplication::processEvents();
        QMenu* menu = button->item ? button->item->menu() : nullptr;
        if (!menu || !button->enabled)
            return nullptr;
        if (!menu->isVisible() || bar->openMenu() != menu)
            throw DriveFailure("the menu \"" + caption.toStdString() + "\" did not open");
        return menu;
    }
    throw DriveFailure("no bar menu \"" + caption.toStdString() + "\"");
}

} // namespace

void Driver::barMenu(const Action& action) {
    need(action, 2);
    QMenu* menu = pressBarButton(window(action.words[0]), action.words[0], action.words[1]);
    if (!menu)
        return;
    if (action.words.size() < 3) {
        menu->hide();
        QApplication::processEvents();
        return;
    }
    for (QAction* item : menu->actions()) {
        if (item->text() == action.words[2]) {
            menu->setActiveAction(item);
            QTest::keyClick(menu, Qt::Key_Return);
            QApplication::processEvents();
            return;
        }
    }
    menu->hide();
    throw DriveFailure("no menu item \"" + action.words[2].toStdString() + "\"");
}

void Driver::openMenu(const Action& action) {
    need(action, 2);
    QWidget* top = window(action.words[0]);
    bringToFront(top);
    skin::TWinSkinForm& form = skinFormOf(top, action.words[0]);
    if (action.words[1] == QLatin1String("system")) {
        form.ShowSystemMenu(top->mapToGlobal(QPoint(8, 8)));
        QApplication::processEvents();
        QMenu* menu = form.systemMenu();
        if (!menu || !menu->isVisible())
            throw DriveFailure("the system menu of " + action.words[0].toStdString() +
                               " did not open");
        menu->setActiveAction(menu->actions().value(0));
        return;
    }
    QMenu* menu = pressBarButton(top, action.words[0], action.words[1]);
    if (!menu)
        throw DriveFailure("the menu \"" + action.words[1].toStdString() + "\" does not open");
    if (action.words.size() < 3) {
        menu->setActiveAction(menu->actions().value(0));
        return;
    }
    for (QAction* item : menu->actions()) {
        if (item->text() == action.words[2] && item->menu()) {
            menu->setActiveAction(item);
            QTest::keyClick(menu, Qt::Key_Right);
            QApplication::processEvents();
            if (!item->menu()->isVisible())
                throw DriveFailure("the submenu \"" + action.words[2].toStdString() +
                                   "\" did not open");
            return;
        }
    }
    throw DriveFailure("no submenu \"" + action.words[2].toStdString() + "\"");
}

void Driver::shotMenus(const Action& action) {
    need(action, 2);
    QWidget* top = window(action.words[0]);
    QApplication::processEvents();
    // The window and every open menu, each at its place on the screen.
    QList<QMenu*> menus;
    QRect area = top->frameGeometry();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<QMenu*>(w);
        if (menu && menu->isVisible()) {
            menus << menu;
            area |= menu->geometry();
        }
    }
    if (menus.isEmpty())
        throw DriveFailure("no menu is open");
    const qreal ratio = top->devicePixelRatioF();
    QPixmap picture(area.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(top->frameGeometry().topLeft() - area.topLeft(), top->grab());
    // Submenus open after their parents, so the later ones lie on top.
    std::sort(menus.begin(), menus.end(), [](QMenu* a, QMenu* b) {
        int da = 0, db = 0;
        for (QWidget* p = a->parentWidget(); qobject_cast<QMenu*>(p); p = p->parentWidget())
            ++da;
        for (QWidget* p = b->parentWidget(); qobject_cast<QMenu*>(p); p = p->parentWidget())
            ++db;
        return da < db;
    });
    for (QMenu* menu : menus)
        painter.drawPixmap(menu->geometry().topLeft() - area.topLeft(), menu->grab());
    painter.end();
    for (QMenu* menu : menus)
        menu->hide();
    QApplication::processEvents();
    if (!picture.save(action.words[1]))
        throw DriveFailure("cannot save " + action.words[1].toStdString());
}

void Driver::scroll(const Action& action) {
    need(action, 2);
    auto* area = qobject_cast<QAbstractScrollArea*>(widget(action.words[0]));
    if (!area)
        throw DriveFailure(action.words[0].toStdString() + " does not scroll");
    QScrollBar* bar = area->verticalScrollBar();
    bar->setValue(bar->minimum() +
                  (bar->maximum() - bar->minimum()) * action.words[1].toInt() / 100);
}

void Driver::expectSkinned(const Action& action) {
    need(action, 2);
    const qintptr seen = skin::sendMessage(window(action.words[0]), skin::SM_ISSKINNED, 0, 0);
    expectEqual("SM_ISSKINNED of " + action.words[0], action.words[1], QString::number(seen));
}

QTableView* Driver::gridOf(const QString& windowClass) const {
    auto* grid = window(windowClass)->findChild<QTableView*>(QStringLiteral("DBGrid1"));
    if (!grid)
        throw DriveFailure(windowClass.toStdString() + " has no grid");
    return grid;
}

void Driver::headerClick(const Action& action) {
    need(action, 2);
    QTableView* grid = gridOf(action.words[0]);
    bringToFront(grid->window());
    QHeaderView* header = grid->horizontalHeader();
    const int section = toInt(action.words[1]);
    if (section < 0 || section >= header->count())
        throw DriveFailure("the grid has no column " + action.words[1].toStdString());
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void Driver::expectStarted(const Action& action) {
    need(action, 1);
    const QStringList started = mStarted;
    mStarted.clear();
    expectEqual(QStringLiteral("programs and pages started"), action.words.join(QLatin1Char('|')),
                started.join(QLatin1Char('|')));
}

void Driver::key(const Action& action) {
    need(action, 2);
    QWidget* target = widget(action.words[0]);
    bringToFront(target->window());
    target->setFocus(Qt::OtherFocusReason);
    const QKeySequence sequence = QKeySequence::fromString(action.words[1]);
    if (sequence.isEmpty())
        throw DriveFailure("unknown key " + action.words[1].toStdString());
    const QKeyCombination combination = sequence[0];
    QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
}

namespace {

// Whether this process has the web engine's library mapped, and how many of
// its helper processes run as children of this one.
bool webEngineLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

int webEngineChildren() {
    int count = 0;
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (name) state ppid ...: the name may hold blanks, the ) ends it.
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        const QList<QByteArray> rest = text.mid(close + 2).split(' ');
        if (text.contains("(QtWebEngineProc") && rest.size() > 1 && rest[1] == self.toLatin1())
            ++count;
    }
    return count;
}

} // namespace

void Driver::expectWebEngine(const Action& action) {
    need(action, 1);
    const bool loaded = webEngineLoaded();
    const int children = webEngineChildren();
    if (action.words[0] == QLatin1String("absent")) {
        if (loaded || children > 0)
            throw DriveFailure(QStringLiteral("the web engine is there: library %1, %2 processes")
                                   .arg(loaded ? "loaded" : "not loaded")
                                   .arg(children)
                                   .toStdString());
    } else if (action.words[0] == QLatin1String("loaded")) {
        if (!loaded)
            throw DriveFailure("the web engine is not loaded");
    } else {
        throw DriveFailure("expect-web-engine takes absent or loaded");
    }
}

void Driver::expectPageText(const Action& action) {
    need(action, 2);
    QWidget* view = widget(action.words[0]);
    const QRegularExpression pattern =
        wholePattern(action.words[1], QRegularExpression::DotMatchesEverythingOption);
    const int ms = action.words.size() > 2 ? toInt(action.words[2]) : 20000;
    QLibrary module(QCoreApplication::applicationDirPath() +
                    QStringLiteral("/marvanto-drive-web.so"));
    const auto pageText = reinterpret_cast<PageTextFunction>(module.resolve(kPageTextSymbol));
    if (!pageText)
        throw DriveFailure("cannot read the page: " + module.errorString().toStdString());
    // Asks the page for its text until it matches: what it shows once its
    // scripts have run.
    QDeadlineTimer deadline(ms);
    QString seen;
    while (!deadline.hasExpired()) {
        // The answer is shared with the callback, which may come after the
        // wait has given up.
        struct Answer {
            QString text;
            bool answered = false;
        };
        const auto answer = std::make_shared<Answer>();
        pageText(
            view,
            [](const QString& text, void* context) {
                auto* kept = static_cast<std::shared_ptr<Answer>*>(context);
                (*kept)->text = text;
                (*kept)->answered = true;
                delete kept;
            },
            new std::shared_ptr<Answer>(answer));
        QDeadlineTimer wait(std::min<qint64>(deadline.remainingTime(), 5000));
        while (!answer->answered && !wait.hasExpired())
            QTest::qWait(20);
        seen = answer->text;
        if (pattern.match(seen).hasMatch())
            return;
        QTest::qWait(200);
    }
    throw DriveFailure(
        QStringLiteral("text of the page %3 (%4)\n  expected to match: %1\n  seen: \"%2\"")
            .arg(action.words[1], seen, view->property("url").toString(),
                 view->property("title").toString())
            .toStdString());
}

void Driver::expectCellMatch(const Action& action) {
    need(action, 4);
    QTableView* grid = gridOf(action.words[0]);
    const QModelIndex index = grid->model()->index(toInt(action.words[1]), toInt(action.words[2]));
    if (!index.isValid())
        throw DriveFailure("the grid has no such cell");
    const QRegularExpression pattern = wholePattern(action.words[3]);
    const QString seen = index.data(Qt::EditRole).toString();
    if (!pattern.match(seen).hasMatch())
        throw DriveFailure(QStringLiteral("cell %1, %2\n  expected to match: %3\n  seen: \"%4\"")
                               .arg(action.words[1], action.words[2], action.words[3], seen)
                               .toStdString());
}

void Driver::expectCurrent(const Action& action) {
    need(action, 2);
    expectEqual(QStringLiteral("current row of the grid"), action.words[1],
                QString::number(gridOf(action.words[0])->currentIndex().row()));
}

std::optional<QString> Driver::answerSaveDialog(const QString& offered) {
    mOfferedFile = offered;
    if (mFileAnswers.empty())
        return std::nullopt; // nobody said: Cancel
    const QString answer = mFileAnswers.front();
    mFileAnswers.pop_front();
    if (answer.isEmpty())
        return std::nullopt;
    return scriptPath(answer);
}

void Driver::expectOfferedFile(const Action& action) {
    need(action, 1);
    expectEqual(QStringLiteral("name the save dialog offered"),
                action.words[0].isEmpty() ? QString() : scriptPath(action.words[0]), mOfferedFile);
}

void Driver::tab(const Action& action) {
    need(action, 2);
    for (auto* pages : window(action.words[0])->findChildren<QTabWidget*>()) {
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->tabText(i) == action.words[1]) {
                pages->setCurrentIndex(i);
                return;
            }
        }
    }
    throw DriveFailure("no page \"" + action.words[1].toStdString() + "\"");
}

void Driver::expectBoxes(const Action& action, bool pattern) {
    QStringList seen;
    for (const Box& box : mBoxes)
        seen << box.text;
    mBoxes.clear();
    if (!pattern) {
        expectEqual(QStringLiteral("message boxes shown"), action.words.join(QLatin1Char('|')),
                    seen.join(QLatin1Char('|')));
        return;
    }
    bool matched = seen.size() == action.words.size();
    for (qsizetype i = 0; matched && i < seen.size(); ++i)
        matched = wholePattern(action.words[i]).match(seen[i]).hasMatch();
    if (!matched)
        throw DriveFailure(
            QStringLiteral("message boxes shown\n  expected to match: %1\n  seen: %2")
                .arg(action.words.join(QLatin1Char('|')), seen.join(QLatin1Char('|')))
                .toStdString());
}

void Driver::expectFile(const Action& action, bool exists) {
    need(action, 1);
    const QFileInfo file(scriptPath(action.words[0]));
    if (file.exists() != exists)
        throw DriveFailure(action.words[0].toStdString() +
                           (exists ? " does not exist" : " exists"));
}

void Driver::expectFileText(const Action& action) {
    need(action, 2);
    QFile file(scriptPath(action.words[0]));
    if (!file.open(QIODevice::ReadOnly))
        throw DriveFailure("cannot read " + action.words[0].toStdString());
    expectEqual(QStringLiteral("text of %1").arg(action.words[0]), action.words[1],
                QString::fromUtf8(file.readAll()));
}

void Driver::expectSameFile(const Action& action) {
    need(action, 2);
    QStringList hashes;
    for (const QString& name : {action.words[0], action.words[1]}) {
        QFile file(scriptPath(name));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
            throw DriveFailure("cannot read " + name.toStdString());
        hashes << QString::fromLatin1(hash.result().toHex());
    }
    expectEqual(QStringLiteral("SHA-256 of %1").arg(action.words[0]), hashes[1], hashes[0]);
}

void Driver::expectStartWithin(const Action& action) {
    need(action, 1);
    if (mStartUpMs < 0 || mStartUpMs > toInt(action.words[0]))
        throw DriveFailure(QStringLiteral("the start took %1 ms").arg(mStartUpMs).toStdString());
}

void Driver::sqlExpect(const Action& action) {
    need(action, 3);
    // A record window's module database (on the server in server mode), or
    // a database file.
    std::unique_ptr<platform::AdoConnection> connection;
    if (mProgram.recordWindow(action.words[0])) {
        connection = connectionTo(action.words[0]);
    } else {
        const QString path = scriptPath(action.words[0]);
        if (!QFileInfo::exists(path))
            throw DriveFailure("no database " + path.toStdString());
        connection = std::make_unique<platform::AdoConnection>();
        connection->setConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                                        path.toStdString());
    }
    QStringList rows;
    try {
        connection->open();
        platform::AdoQuery query(*connection);
        query.setSql(action.words[1].toStdString());
        query.open();
        for (query.first(); !query.eof(); query.next()) {
            QStringList fields;
            for (int field = 0; field < query.fieldCount(); ++field)
                fields << QString::fromStdString(std::string(query.field(field)));
            rows << fields.join(QLatin1Char('|'));
        }
    } catch (const platform::AdoError& error) {
        throw DriveFailure(std::string("the query failed: ") + error.what());
    }
    expectEqual(QStringLiteral("result"), action.words[2], rows.join(QLatin1Char('\n')));
}

void Driver::unregisterClass(const Action& action) {
    need(action, 1);
    if (!platform::Automation::unregisterClass(action.words[0]))
        throw DriveFailure("no automation class " + action.words[0].toStdString());
}

void Driver::recordCalls(const Action&) {
    mRecorder.reset();
    mRecorder = std::make_unique<platform::CallRecorder>();
}

void Driver::expectCalls(const Action& action) {
    need(action, 1);
    if (!mRecorder)
        throw DriveFailure("expect-calls needs record-calls first");
    const QStringList seen = mRecorder->lines();
    mRecorder->clear();
    expectEqual(QStringLiteral("automation calls"), withAppDir(action.words[0]),
                seen.join(QLatin1Char('\n')));
}

void Driver::expectSheet(const Action& action) {
    need(action, 2);
    QMap<QString, officereadback::SheetCell> cells;
    try {
        cells = officereadback::readSheetCells(scriptPath(action.words[0]));
    } catch (const std::exception& error) {
        throw DriveFailure(error.what());
    }
    int rows = 0;
    int columns = 0;
    for (const QString& reference : cells.keys()) {
        const auto [row, column] = cellPosition(reference);
        rows = std::max(rows, row);
        columns = std::max(columns, column);
    }
    QList<QStringList> texts(rows, QStringList(columns));
    for (auto cell = cells.cbegin(); cell != cells.cend(); ++cell) {
        const auto [row, column] = cellPosition(cell.key());
        texts[row - 1][column - 1] = cellText(cell.value());
    }
    QStringList lines;
    for (const QStringList& row : texts)
        lines << row.join(QLatin1Char('|'));
    expectEqual(QStringLiteral("cells of %1").arg(action.words[0]), action.words[1],
                lines.join(QLatin1Char('\n')));
}

void Driver::expectTable(const Action& action) {
    need(action, 2);
    officereadback::DocumentBody body;
    try {
        body = officereadback::readDocumentBody(scriptPath(action.words[0]));
    } catch (const std::exception& error) {
        throw DriveFailure(error.what());
    }
    if (body.tables.size() != 1)
        throw DriveFailure(QStringLiteral("%1 holds %2 tables, not one")
                               .arg(action.words[0])
                               .arg(body.tables.size())
                               .toStdString());
    QStringList lines;
    for (const QStringList& row : body.tables.front())
        lines << row.join(QLatin1Char('|'));
    expectEqual(QStringLiteral("table of %1").arg(action.words[0]), action.words[1],
                lines.join(QLatin1Char('\n')));
}

void Driver::expectWidth(const Action& action) {
    need(action, 2);
    expectEqual(QStringLiteral("width of %1").arg(action.words[0]), action.words[1],
                QString::number(widget(action.words[0])->width()));
}

// A value chosen the way a mouse would choose it: a date from a date edit's
// calendar, a spin box's value.
void Driver::set(const Action& action) {
    need(action, 2);
    QWidget* target = widget(action.words[0]);
    const QString value = action.words[1];
    if (auto* date = qobject_cast<QDateEdit*>(target)) {
        const QDate chosen = QDate::fromString(value, QStringLiteral("yyyy-M-d"));
        if (!chosen.isValid())
            throw DriveFailure("not a date: " + value.toStdString());
        date->setDate(chosen);
    } else if (auto* spin = qobject_cast<QSpinBox*>(target)) {
        spin->setValue(toInt(value));
    } else {
        throw DriveFailure(action.words[0].toStdString() + " takes no value to set");
    }
}

void Driver::close(const Action& action) {
    need(action, 1);
    window(action.words[0])->close();
}

void Driver::expectRestoreList(const Action& action) {
    need(action, 1);
    const QTableWidget* list = needRestoreDialog()->list();
    QStringList rows;
    for (int row = 0; row < list->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column)
            cells << list->item(row, column)->text();
        rows << cells.join(QLatin1Char('|'));
    }
    expectEqual(QStringLiteral("backups listed"), action.words[0], rows.join(QLatin1Char('\n')));
}

void Driver::restorePick(const Action& action) {
    need(action, 1);
    maintenance::RestoreDialog* dialog = needRestoreDialog();
    QTableWidget* list = dialog->list();
    const int row = toInt(action.words[0]);
    if (row < 0 || row >= list->rowCount())
        throw DriveFailure("the restore dialog has no row " + action.words[0].toStdString());
    bringToFront(dialog);
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(index).center());
}

void Driver::restoreButton(const Action&, bool confirm) {
    maintenance::RestoreDialog* dialog = needRestoreDialog();
    QPushButton* button = confirm ? dialog->restoreButton() : dialog->cancelButton();
    if (!button->isEnabled())
        throw DriveFailure(button->text().toStdString() + " is disabled");
    bringToFront(dialog);
    QTest::mouseClick(button, Qt::LeftButton);
}

void Driver::expectRestoreClosed(const Action&) {
    if (openRestoreDialog())
        throw DriveFailure("the restore dialog is still open");
}

void Driver::damageFile(const Action& action) {
    need(action, 1);
    QFile file(scriptPath(action.words[0]));
    const qint64 offset = action.words.size() > 1 ? toInt(action.words[1]) : 0;
    if (!file.exists() || !file.open(QIODevice::ReadWrite) || !file.seek(offset) ||
        file.write(QByteArray(512, '\x5A')) != 512)
        throw DriveFailure("cannot damage " + action.words[0].toStdString());
}

void Driver::removeFile(const Action& action) {
    need(action, 1);
    if (!QFile::remove(scriptPath(action.words[0])))
        throw DriveFailure("cannot remove " + action.words[0].toStdString());
}

void Driver::protect(const Action& action) {
    need(action, 1);
    const QString folder = scriptPath(action.words[0]);
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (!makeReadOnly(folder + QLatin1Char('/') + name))
            throw DriveFailure("cannot protect " + name.toStdString());
    }
    if (!makeReadOnly(folder))
        throw DriveFailure("cannot protect " + action.words[0].toStdString());
    // Proof that nothing can be written there, whoever runs the test.
    QFile probe(folder + QStringLiteral("/probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        throw DriveFailure(action.words[0].toStdString() + " stays writable on this machine");
    }
}

} // namespace drive
