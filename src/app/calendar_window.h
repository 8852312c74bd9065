#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace app {

// The perpetual calendar (TForm10): a resizable window with only a close box
// whose whole client area shows the calendar page beside the executable. The
// page is loaded once, when the view is made: when the window is first shown
// or its view is asked for. Loading and starting the web engine costs more
// than the rest of the program's start, so a start in which the calendar
// stays shut has nothing of it. Should the web browser
// module be missing or fail to load, the client area says so instead. Showing
// the window again keeps whatever the user left on it. Closing the window
// hides it.
class CalendarWindow : public QWidget {
    Q_OBJECT

public:
    // `appDir` is the executable's folder.
    explicit CalendarWindow(const QString& appDir, QWidget* parent = nullptr);

    // The file name of the calendar page.
    static QString pageFileName();

    // The full path of the page the window was navigated to.
    QString pagePath() const { return mPagePath; }

    // The web view, made and navigated to the page the first time it is asked
    // for; null when the web browser module could not be loaded.
    QWidget* view();

    // The message shown in place of the view, or null.
    QLabel* failure() const { return mFailure; }

    // Makes the view and navigates it to the page, once.
    void makeView();

    // Makes the window visible and brings it to the front.
    void showCalendar();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString mPagePath;
    QString mAppDir;
    QWidget* mView = nullptr;
    QLabel* mFailure = nullptr;
    bool mCentred = false;
};

} // namespace app
