#pragma once

#include <QString>
#include <QWidget>

class QWebEngineView;

namespace app {

// The perpetual calendar (TForm10): a resizable window with only a close box
// whose whole client area shows the calendar page beside the executable. The
// page is loaded once, when the window is made; showing the window again keeps
// whatever the user left on it. Closing the window hides it.
class CalendarWindow : public QWidget {
    Q_OBJECT

public:
    // `appDir` is the executable's folder.
    explicit CalendarWindow(const QString& appDir, QWidget* parent = nullptr);

    // The file name of the calendar page.
    static QString pageFileName();

    // The full path of the page the window was navigated to.
    QString pagePath() const { return mPagePath; }

    QWebEngineView* view() const { return mView; }

    // Makes the window visible and brings it to the front.
    void showCalendar();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString mPagePath;
    QWebEngineView* mView = nullptr;
    bool mCentred = false;
};

} // namespace app
