#pragma once

#include <QList>
#include <QString>

#include <deque>
#include <functional>

class QWidget;

namespace records {
class RecordWindow;
}

namespace app {

class MainWindow;

// The running program: creates the eleven windows in their fixed order, each
// running its creation step at once. The main window is made and shown
// first; the others follow in the event loop, one per turn.
class Program {
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    void start();
    // Makes the windows that start() left for the event loop, now.
    void finishStart();
    // The main window's skin stays inactive (a reference for start-up timing).
    void setSkinActive(bool active) { mSkinActive = active; }

    MainWindow* mainWindow() const { return mMain; }
    // A window by its class name (TForm1 ... TForm11), or null; one not yet
    // made is made first, with every window still to be made, in order.
    QWidget* window(const QString& windowClass);
    records::RecordWindow* recordWindow(const QString& windowClass);
    const QList<QWidget*>& windows() const { return mWindows; }

    // Makes a window visible and brings it to the front.
    void showWindow(const QString& windowClass);

    // After a restore: every record window lists its restored rows, as if
    // its 刷新 had been pressed, and keeps what its entry boxes hold.
    void refreshRecordWindows();

private:
    void connectMainWindow();
    void createSalesWindow();
    void createNextWindow();
    void scheduleNextWindow();
    void offerRestore();

    MainWindow* mMain = nullptr;
    bool mSkinActive = true;
    QList<QWidget*> mWindows;
    std::deque<std::function<void()>> mPending; // windows still to be made, in order
};

} // namespace app
