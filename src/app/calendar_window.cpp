#include "app/calendar_window.h"

#include "platform/web_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace app {

CalendarWindow::CalendarWindow(const QString& appDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      mPagePath(QDir::cleanPath(QDir(appDir).absoluteFilePath(pageFileName()))), mAppDir(appDir) {
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("万年历"));
    resize(760, 540);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void CalendarWindow::makeView() {
    if (mView || mFailure)
        return;
    // A missing page is the browser's affair: it shows its own error page;
    // a load in this engine cannot fail at the call.
    const platform::WebBrowser browser =
        platform::createWebBrowser(mAppDir, QUrl::fromLocalFile(mPagePath), this);
    if (browser.view) {
        mView = browser.view;
        mView->setObjectName(QStringLiteral("WebBrowser1"));
        layout()->addWidget(mView);
        // Made while the window shows, a child would stay hidden otherwise.
        mView->show();
        return;
    }
    const QString text =
        QFileInfo::exists(browser.modulePath)
            ? QStringLiteral("万年历无法显示：网页浏览组件 %1 无法载入。\n\n%2")
                  .arg(QDir::toNativeSeparators(browser.modulePath), browser.error)
            : QStringLiteral("万年历无法显示：找不到网页浏览组件 %1，请重新安装本程序。")
                  .arg(QDir::toNativeSeparators(browser.modulePath));
    mFailure = new QLabel(text, this);
    mFailure->setObjectName(QStringLiteral("WebBrowserMissing"));
    mFailure->setTextFormat(Qt::PlainText);
    mFailure->setAlignment(Qt::AlignCenter);
    mFailure->setWordWrap(true);
    mFailure->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mFailure->setMargin(24);
    layout()->addWidget(mFailure);
    mFailure->show();
}

QWidget* CalendarWindow::view() {
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
