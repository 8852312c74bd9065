#include "app/program.h"

#include "app/main_window.h"
#include "platform/message_box.h"
#include "records/record_window.h"

#include <QApplication>

namespace app {

Program::Program() = default;

Program::~Program() {
    // Children first: the record windows are top-level widgets of their own.
    for (qsizetype i = mWindows.size() - 1; i >= 0; --i)
        delete mWindows[i];
}

void Program::start() {
    QApplication::setApplicationName(QStringLiteral("Marvanto"));
    QApplication::setApplicationDisplayName(QString());

    mMain = new MainWindow;
    mWindows.append(mMain);
    mMain->create();
    connectMainWindow();

    const records::ModuleDescriptor* recordModules[] = {
        &records::salesDescriptor(),       &records::purchaseDescriptor(),
        &records::notepadDescriptor(),     &records::remittanceDescriptor(),
        &records::staffLeaveDescriptor(),  &records::salaryDescriptor(),
        &records::addressBookDescriptor(), &records::electricityDescriptor(),
    };
    for (const records::ModuleDescriptor* descriptor : recordModules) {
        auto* window = new records::RecordWindow(*descriptor);
        mWindows.append(window);
        window->create();
    }

    // The calendar window comes with its page; until then an empty window.
    auto* calendar = new QWidget(nullptr, Qt::Window);
    calendar->setObjectName(QStringLiteral("TForm10"));
    calendar->setWindowTitle(QStringLiteral("万年历"));
    calendar->setAttribute(Qt::WA_QuitOnClose, false);
    calendar->resize(560, 480);
    mWindows.append(calendar);

    auto* memo = new records::RecordWindow(records::memoDescriptor());
    mWindows.append(memo);
    memo->create();

    mMain->show();
}

void Program::connectMainWindow() {
    QObject::connect(mMain, &MainWindow::showWindowRequested, mMain,
                     [this](const QString& windowClass) { showWindow(windowClass); });
}

QWidget* Program::window(const QString& windowClass) const {
    for (QWidget* window : mWindows) {
        if (window->objectName() == windowClass)
            return window;
    }
    return nullptr;
}

records::RecordWindow* Program::recordWindow(const QString& windowClass) const {
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
