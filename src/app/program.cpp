#include "app/program.h"

#include "app/calendar_window.h"
#include "app/desktop_shortcut.h"
#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/publisher.h"
#include "maintenance/backup.h"
#include "maintenance/clear_all.h"
#include "maintenance/restore.h"
#include "maintenance/restore_dialog.h"
#include "platform/app_dir.h"
#include "platform/data_dir.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/push_buttons.h"
#include "platform/server_conf.h"
#include "platform/shell.h"
#include "records/address_book_window.h"
#include "records/purchase_window.h"
#include "records/record_window.h"
#include "sales/export.h"
#include "sales/sales_window.h"
#include "skin/engine/manager/skin_manager.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <memory>
#include <utility>

namespace app {

namespace {

// Runs `ready` once, when the watched window has been activated after its
// first picture, or a quarter second after the first picture at the latest;
// two seconds after it is made in any case (a window that is never painted,
// shown minimized say, must not leave the others unmade).
class MainWindowReady : public QObject {
public:
    MainWindowReady(QWidget* window, std::function<void()> ready)
        : QObject(window), mReady(std::move(ready)) {
        QTimer::singleShot(2000, this, [this] { fire(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !mPainted) {
            mPainted = true;
            QTimer::singleShot(250, this, [this] { fire(); });
        }
        if (event->type() == QEvent::WindowActivate && mPainted)
            QTimer::singleShot(0, this, [this] { fire(); });
        return false;
    }

private:
    void fire() {
        if (!mReady)
            return;
        const std::function<void()> ready = std::exchange(mReady, {});
        ready();
        deleteLater();
    }

    std::function<void()> mReady;
    bool mPainted = false;
};

} // namespace

Program::Program() = default;

Program::~Program() {
    // Children first: the record windows are top-level widgets of their own.
    for (qsizetype i = mWindows.size() - 1; i >= 0; --i)
        delete mWindows[i];
    // The windows' skin data has unregistered; the manager goes last.
    skin::destroySkinManager();
}

void Program::start() {
    QApplication::setApplicationName(QStringLiteral("Marvanto"));
    QApplication::setApplicationDisplayName(QString());
    // Names the menu entry whose icon a Wayland desktop shows for the windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("marvanto"));
    // The program's own save dialog, which wears the skin, never a desktop's.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    platform::pressFocusedButtonsOnEnter();
    // The program's icon for every window's caption, the task bar and the
    // window switcher; set before the skin data reads the application icon.
    QApplication::setWindowIcon(programIcon());
    // The main window's skin data makes the skin manager as it is read.
    skin::TSkinManage::installAsFactory();

    mMain = new MainWindow(nullptr, mSkinActive);
    mWindows.append(mMain);
    platform::runGuardedByErrorBox([this] {
        // At every start a shortcut to the program on the user's desktop;
        // its result does not matter.
        createShortcut(QApplication::applicationFilePath(), QStringLiteral("Marvanto"), QString(),
                       csidl::None);
        mMain->create();
    });
    connectMainWindow();
    // The data folder of an installed program is made and filled on first
    // start, before the record windows read their word lists and databases.
    // A folder that cannot be made is named here once, not by every window;
    // each later action that needs it tries again and names it again.
    platform::runGuardedByErrorBox([] { platform::prepareDataDir(); });
    // A server password that other users of this computer may read.
    if (const QString warning = platform::serverConfWarning(); !warning.isEmpty())
        platform::showMessage(warning);

    // The other windows in their order; each is created and filled before
    // the next one is made. They are made right after the main window is
    // shown, one per turn of the event loop, so that the main window is up
    // and answers at once; a window asked for before its turn is made then,
    // with all the others still to be made (window()).
    const auto recordWindow = [this](auto make) {
        return [this, make] {
            records::RecordWindow* window = make();
            mWindows.append(window);
            window->create();
        };
    };
    mPending = {
        [this] { createSalesWindow(); },
        recordWindow([] { return new records::PurchaseWindow; }),
        recordWindow([] { return new records::RecordWindow(records::notepadDescriptor()); }),
        recordWindow([] { return new records::RecordWindow(records::remittanceDescriptor()); }),
        recordWindow([] { return new records::RecordWindow(records::staffLeaveDescriptor()); }),
        recordWindow([] { return new records::RecordWindow(records::salaryDescriptor()); }),
        recordWindow([] { return new records::AddressBookWindow; }),
        recordWindow([] { return new records::RecordWindow(records::electricityDescriptor()); }),
        // The calendar starts the web engine when it is first shown, not
        // before: nothing of the engine costs a start in which the calendar
        // stays shut.
        [this] { mWindows.append(new CalendarWindow(platform::appDir())); },
        recordWindow([] { return new records::RecordWindow(records::memoDescriptor()); }),
    };
    mMain->show();
    // The other windows wait until the main window is drawn and active, so
    // that making them never holds up its first picture or its activation;
    // where no window manager activates it, a moment after the first picture.
    auto* begin = new MainWindowReady(mMain, [this] { scheduleNextWindow(); });
    mMain->installEventFilter(begin);
}

void Program::scheduleNextWindow() {
    if (!mPending.empty())
        QTimer::singleShot(0, mMain, [this] {
            createNextWindow();
            scheduleNextWindow();
        });
}

void Program::createNextWindow() {
    if (mPending.empty())
        return;
    const std::function<void()> make = std::move(mPending.front());
    mPending.pop_front();
    make();
}

void Program::finishStart() {
    while (!mPending.empty())
        createNextWindow();
}

void Program::createSalesWindow() {
    auto* salesWindow = new sales::SalesWindow;
    mWindows.append(salesWindow);
    salesWindow->create();
    QObject::connect(salesWindow, &sales::SalesWindow::calendarRequested, salesWindow,
                     [this] { showWindow(QStringLiteral("TForm10")); });
    // The export items of the sales window share one save dialog, which offers
    // the name chosen last.
    auto exportDialog = std::make_shared<platform::SaveDialog>();
    QObject::connect(salesWindow->excelAction(), &QAction::triggered, salesWindow,
                     [salesWindow, exportDialog] {
                         sales::exportToSpreadsheet(salesWindow->query(), salesWindow->grid(),
                                                    *exportDialog, salesWindow);
                     });
    QObject::connect(salesWindow->wordAction(), &QAction::triggered, salesWindow,
                     [salesWindow, exportDialog] {
                         sales::exportToDocument(salesWindow->query(), salesWindow->grid(),
                                                 *exportDialog, salesWindow);
                     });
}

void Program::connectMainWindow() {
    QObject::connect(mMain, &MainWindow::showWindowRequested, mMain,
                     [this](const QString& windowClass) { showWindow(windowClass); });
    QObject::connect(mMain, &MainWindow::calculatorRequested, mMain,
                     [] { platform::startCalculator(); });
    QObject::connect(mMain, &MainWindow::publisherPageRequested, mMain,
                     [this] { platform::openUrl(publisherPageUrl(mMain->versionText())); });
    QObject::connect(mMain, &MainWindow::contactRequested, mMain,
                     [] { platform::showMessage(contactText()); });
    QObject::connect(mMain, &MainWindow::backupRequested, mMain, [this] {
        platform::runGuardedByErrorBox(
            [this] { maintenance::backupDatabases(mMain->clockText(), *mMain->backupNote()); });
    });
    QObject::connect(mMain, &MainWindow::restoreRequested, mMain, [this] { offerRestore(); });
    QObject::connect(mMain, &MainWindow::clearAllRequested, mMain, [this](int item) {
        const maintenance::ClearAllItem& clearing = maintenance::clearAllItems().at(item);
        if (records::RecordWindow* target = recordWindow(clearing.windowClass))
            maintenance::clearAll(*target, clearing.confirmation);
    });
}

void Program::offerRestore() {
    auto* dialog =
        maintenance::openRestoreDialog(platform::dataPath(QStringLiteral("Backup")), mMain);
    if (!dialog)
        return;
    QObject::connect(dialog, &maintenance::RestoreDialog::restoreChosen, dialog,
                     [this, dialog](const maintenance::BackupEntry& backup) {
                         // No keeps the dialog open for another choice.
                         if (!maintenance::confirmRestore(backup))
                             return;
                         const maintenance::BackupEntry chosen = backup;
                         dialog->close();
                         maintenance::restoreBackup(chosen, mMain->clockText(),
                                                    [this] { refreshRecordWindows(); });
                     });
}

void Program::refreshRecordWindows() {
    for (QWidget* window : mWindows) {
        if (auto* records = qobject_cast<records::RecordWindow*>(window))
            platform::runGuardedByErrorBox([records] { records->refreshKeepingEntries(); });
    }
}

QWidget* Program::window(const QString& windowClass) {
    const auto made = [this, &windowClass]() -> QWidget* {
        for (QWidget* window : mWindows) {
            if (window->objectName() == windowClass)
                return window;
        }
        return nullptr;
    };
    if (QWidget* window = made(); window || mPending.empty())
        return window;
    finishStart();
    return made();
}

records::RecordWindow* Program::recordWindow(const QString& windowClass) {
    return qobject_cast<records::RecordWindow*>(window(windowClass));
}

void Program::showWindow(const QString& windowClass) {
    if (QWidget* target = window(windowClass)) {
        target->show();
        target->raise();
        target->activateWindow();
    }
}

} // namespace app
