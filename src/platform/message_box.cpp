#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

MessageBoxAnswerer& answerer() {
    static MessageBoxAnswerer instance;
    return instance;
}

BeepWatcher& beepWatcher() {
    static BeepWatcher instance;
    return instance;
}

QMessageBox::Icon iconFor(unsigned flags) {
    switch (flags & 0xF0) {
    case mb::IconError:
        return QMessageBox::Critical;
    case mb::IconQuestion:
        return QMessageBox::Question;
    case mb::IconWarning:
        return QMessageBox::Warning;
    case mb::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int showRealBox(const QString& text, const QString& caption, unsigned flags) {
    QMessageBox box(iconFor(flags), caption, text);
    // Messages carry user text and database errors: shown as written, never
    // read as markup.
    box.setTextFormat(Qt::PlainText);
    QList<QPair<QAbstractButton*, int>> buttons;
    if ((flags & 0xF) == mb::YesNo) {
        buttons.append({box.addButton(QMessageBox::Yes), IdYes});
        buttons.append({box.addButton(QMessageBox::No), IdNo});
    } else {
        buttons.append({box.addButton(QMessageBox::Ok), IdOk});
    }
    // A default button past the last one falls on the last one.
    const int wanted = static_cast<int>((flags & 0xF00) >> 8);
    const int index = std::min<int>(wanted, static_cast<int>(buttons.size()) - 1);
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons[index].first));
    if (flags & mb::Topmost)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    for (const auto& [button, result] : buttons) {
        if (box.clickedButton() == button)
            return result;
    }
    return (flags & 0xF) == mb::YesNo ? IdNo : IdCancel;
}

} // namespace

QString applicationTitle() {
    const QString title = QApplication::applicationName();
    return title.isEmpty() ? QStringLiteral("Marvanto") : title;
}

int messageBox(const QString& text, const QString& caption, unsigned flags) {
    if (answerer())
        return answerer()(text, caption, flags);
    return showRealBox(text, caption, flags);
}

void showMessage(const QString& text) {
    messageBox(text, applicationTitle(), mb::Ok);
}

bool confirm(const QString& text) {
    return messageBox(text, QStringLiteral("警告"), mb::Confirm) == IdYes;
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void showErrorBox(const QString& message) {
    messageBox(errorBoxText(message), applicationTitle(), mb::IconError);
}

void showErrorBox(const std::exception& error) {
    showErrorBox(QString::fromUtf8(error.what()));
}

void runGuardedByErrorBox(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        showErrorBox(error);
    }
}

void setMessageBoxAnswerer(MessageBoxAnswerer newAnswerer) {
    answerer() = std::move(newAnswerer);
}

void messageBeep(unsigned type) {
    if (beepWatcher())
        beepWatcher()(type);
    QApplication::beep();
}

void setBeepWatcher(BeepWatcher watcher) {
    beepWatcher() = std::move(watcher);
}

} // namespace platform
