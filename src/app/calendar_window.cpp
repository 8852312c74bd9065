#include "app/calendar_window.h"

#include <QDir>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace app {

CalendarWindow::CalendarWindow(const QString& appDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      mPagePath(QDir::cleanPath(QDir(appDir).absoluteFilePath(pageFileName()))) {
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("万年历"));
    resize(760, 540);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void CalendarWindow::makeView() {
    if (mView)
        return;
    mView = new QWebEngineView(this);
    mView->setObjectName(QStringLiteral("WebBrowser1"));
    layout()->addWidget(mView);
    // A missing page is the browser's affair: it shows its own error page;
    // a load in this engine cannot fail at the call.
    mView->setUrl(QUrl::fromLocalFile(mPagePath));
}

QWebEngineView* CalendarWindow::view() {
    makeView();
    return mView;
}

QString CalendarWindow::pageFileName() {
    return QStringLiteral("wannianli.htm");
}

void CalendarWindow::showCalendar() {
    show();
    raise();
    activateWindow();
}

void CalendarWindow::showEvent(QShowEvent* event) {
    makeView();
    if (!mCentred) {
        mCentred = true;
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(event);
}

} // namespace app
