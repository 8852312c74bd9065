#pragma once

#include <QMainWindow>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;

namespace platform {
class PanelStatusBar;
}

namespace skin {
class TSkinData;
}

namespace app {

// The main window TForm1: banner, the launcher page, the maintenance page, the
// about page, the menu bar, and the status bar with the clock.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `skinActive` is the skin data's stored Active (the program's own is on).
    explicit MainWindow(QWidget* parent = nullptr, bool skinActive = true);

    // The last creation step (after the desktop shortcut): the caption takes
    // the version.
    void create();

    // The version text, held in the about page's box Edit_Ver.
    QString versionText() const;
    // The clock text: the second status panel.
    QString clockText() const;
    platform::PanelStatusBar* statusPanels() const { return mStatus; }
    // The skin the window carries (its SkinStream is the program's own skin).
    skin::TSkinData* skinData() const { return mSkinData; }
    QPlainTextEdit* backupNote() const { return mBackupNote; }

    // The publisher text of the first status panel.
    static QString publisherText();

signals:
    void showWindowRequested(const QString& windowClass);
    void calculatorRequested();
    void publisherPageRequested();
    void contactRequested();
    void backupRequested();
    void restoreRequested();
    void clearAllRequested(int item); // 0..8 in menu order

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildLauncherPage();
    QWidget* buildMaintenancePage();
    QWidget* buildAboutPage();
    void buildMenus();
    void tick();

    QLabel* mBanner = nullptr;
    QTabWidget* mPages = nullptr;
    QLineEdit* mVersion = nullptr;
    QPlainTextEdit* mBackupNote = nullptr;
    platform::PanelStatusBar* mStatus = nullptr;
    QTimer* mClock = nullptr;
    skin::TSkinData* mSkinData = nullptr;
};

} // namespace app
