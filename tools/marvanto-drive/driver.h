#pragma once

#include "script.h"

#include <QList>
#include <QString>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

class QTableView;
class QWidget;

namespace app {
class Program;
}

namespace platform {
class AdoConnection;
class CallRecorder;
} // namespace platform

namespace drive {

// A failed line: what was expected and what was seen.
class DriveFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Plays actions on the running program through real widget events. Message
// boxes are answered from the queue the script fills; each box shown is kept
// so the script can check it. Made before the program starts, so boxes shown
// at start-up are answered and kept too.
class Driver {
public:
    explicit Driver(app::Program& program);
    ~Driver();

    void play(const Action& action);

    // How long the program's start took, up to the main window shown.
    void setStartUpTime(qint64 milliseconds) { mStartUpMs = milliseconds; }

private:
    struct Box {
        QString text;
        QString caption;
        unsigned flags = 0;
    };

    int answerBox(const QString& text, const QString& caption, unsigned flags);

    QWidget* window(const QString& windowClass) const;
    QWidget* widget(const QString& target) const;
    void need(const Action& action, int words) const;

    void answer(const Action& action);
    void answerFile(const Action& action);
    void wait(const Action& action);
    void show(const Action& action);
    void type(const Action& action);
    void pick(const Action& action);
    void click(const Action& action);
    void menu(const Action& action);
    void gridClick(const Action& action);
    void doubleClick(const Action& action);
    void wheel(const Action& action);
    void expectBox(const Action& action, bool pattern);
    void expectNoBox(const Action& action);
    void expectStatus(const Action& action);
    void expectText(const Action& action);
    void expectRows(const Action& action);
    void expectCell(const Action& action);
    void expectBeeps(const Action& action);
    void expectTitle(const Action& action);
    void expectVisible(const Action& action, bool visible);
    void clock(const Action& action);
    void sql(const Action& action);
    void shot(const Action& action);
    void close(const Action& action);
    void key(const Action& action);
    // The web engine and the calendar's page:
    //   expect-web-engine absent|loaded       absent: neither its library in this
    //                                         process nor a helper process of it
    //   expect-page-text TForm10.WebBrowser1 "regex" [ms]
    //                                         selects the whole page (Ctrl+A) until
    //                                         the selected text matches (20 s)
    void expectWebEngine(const Action& action);
    void expectPageText(const Action& action);
    void expectStarted(const Action& action);
    void headerClick(const Action& action);
    void expectCellMatch(const Action& action);
    void expectCurrent(const Action& action);
    void expectWidth(const Action& action);
    void set(const Action& action);
    // Another connection to a window's module database:
    //   lock TForm2 / unlock TForm2    hold a write transaction open on it, end it
    //   expect-quit-on-close TForm1    close the window; the program must end
    // expect-box "text" "caption" 0x40234 also checks the box's flags.
    void lock(const Action& action);
    void unlock(const Action& action);
    void expectQuitOnClose(const Action& action);
    std::unique_ptr<platform::AdoConnection> connectionTo(const QString& windowClass) const;
    QTableView* gridOf(const QString& windowClass) const;
    // Files, databases and automation. Relative paths lie in the data folder
    // (the program's folder in the portable layout). In the expected texts of
    // expect-box, expect-text and expect-calls, {app} stands for the
    // program's folder and {data} for the data folder.
    //   tab TForm1 "数据维护"                 bring a page of the window forward
    //   expect-boxes "text" "text"...         every box shown since the last check
    //   expect-boxes-match "regex" "regex"... the same, each text matching its pattern
    //   expect-file PATH / expect-no-file PATH
    //   expect-file-text PATH "a\r\nb\r\n"    the file's bytes as UTF-8
    //   sql-expect TForm2|PATH "query" "a|b\nc|d"   rows by lines, fields by |
    //   unregister "Excel.Application"        as if the application were missing
    //   record-calls / expect-calls "line\nline"   automation calls since record-calls
    //   expect-sheet PATH "编号|商品\n#1|米"    cells: #number, @date-time, text
    //   expect-table PATH "|商品\n|米"          the document's one table
    //   expect-offered-file PATH              the name the last save dialog offered
    // A save dialog with no answer-file queued, or answered "", is cancelled.
    void tab(const Action& action);
    void expectBoxes(const Action& action, bool pattern);
    void expectFile(const Action& action, bool exists);
    void expectFileText(const Action& action);
    void sqlExpect(const Action& action);
    void unregisterClass(const Action& action);
    void recordCalls(const Action& action);
    void expectCalls(const Action& action);
    void expectSheet(const Action& action);
    void expectTable(const Action& action);
    void expectOfferedFile(const Action& action);
    std::optional<QString> answerSaveDialog(const QString& offered);
    //   expect-same-file PATH PATH            both files hold the same bytes (by hash)
    //   expect-start-within MS                the main window was shown within MS
    void expectSameFile(const Action& action);
    void expectStartWithin(const Action& action);
    // The restore dialog (opened by click TForm1.BitBtn_RestoreData) and the
    // files a restore is tried on.
    //   expect-restore-list "time|note|count\n..."   the dialog's rows, newest first
    //   restore-pick ROW                   click a row of the dialog's list (0 first)
    //   restore-confirm / restore-cancel   press 恢复 / 取消
    //   expect-restore-closed              no restore dialog is open
    //   damage-file PATH [OFFSET]          overwrite 512 bytes at OFFSET (default 0)
    //   remove-file PATH
    //   protect PATH                       make a folder and its files read-only,
    //                                      for root too (the immutable attribute)
    void expectRestoreList(const Action& action);
    void restorePick(const Action& action);
    void restoreButton(const Action& action, bool confirm);
    void expectRestoreClosed(const Action& action);
    void damageFile(const Action& action);
    void removeFile(const Action& action);
    void protect(const Action& action);
    // The skinned frame. A part is a caption button (close, maximize,
    // minimize, restore, icon) or the caption itself (its middle).
    //   frame-click TForm2 close              a click on a part of the frame
    //   frame-dblclick TForm2 icon            a double click there
    //   bar-menu TForm2 " 工 具 " ["计算器"]     press the skinned bar's button with this
    //                                         caption and check that its drop-down opened;
    //                                         then choose the item (Return on it) or close it
    //   expect-skinned TForm2 1               the window's answer to SM_ISSKINNED (0: none)
    //   open-menu TForm1 " 工 具 " ["特殊操作"]  open the bar menu and leave it open with its
    //                                         first item selected, or with the named item's
    //                                         submenu opened
    //   open-menu TForm1 system               open the skinned system menu at the icon
    //   shot-menus TForm1 file.png            the window and its open menus in one picture;
    //                                         the menus are closed afterwards
    //   scroll TForm5.DBGrid1 50              the vertical bar at that percent of its range
    void frameClick(const Action& action, bool twice);
    void barMenu(const Action& action);
    void openMenu(const Action& action);
    void shotMenus(const Action& action);
    void scroll(const Action& action);
    void expectSkinned(const Action& action);
    // Outside the program:
    //   run "shell command"            run it with /bin/sh; it must exit 0
    //   repeat N "action line"         play the line N times, {i} standing for 1..N
    void run(const Action& action);
    void repeat(const Action& action);

    app::Program& mProgram;
    std::deque<QString> mAnswers;
    QList<Box> mBoxes; // shown since the last expect-box, expect-boxes or expect-no-box
    std::deque<QString> mFileAnswers;
    QString mOfferedFile; // what the last save dialog offered
    std::unique_ptr<platform::CallRecorder> mRecorder;
    int mBeeps = 0;
    qint64 mStartUpMs = -1;
    QStringList mStarted; // programs and web addresses, in order
    std::map<QString, std::unique_ptr<platform::AdoConnection>> mLocks; // by window class
};

// Compares and throws DriveFailure with both texts.
void expectEqual(const QString& what, const QString& expected, const QString& seen);

} // namespace drive
