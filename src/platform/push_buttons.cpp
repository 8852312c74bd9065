#include "platform/push_buttons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace platform {

namespace {

class EnterPressesFocusedButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        // A button with the auto-default role (every button of a dialog)
        // takes Enter itself.
        if (!button || button->autoDefault() || !button->isEnabled())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

} // namespace

void pressFocusedButtonsOnEnter() {
    QCoreApplication* application = QCoreApplication::instance();
    const char* installed = "marvantoEnterPressesButtons";
    if (!application || application->property(installed).toBool())
        return;
    application->setProperty(installed, true);
    application->installEventFilter(new EnterPressesFocusedButton(application));
}

} // namespace platform
