// Texts that come from the user or the database are shown as written: a text
// that looks like markup is not drawn bold.

#include "platform/message_box.h"
#include "platform/status_bar.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString Markup = QStringLiteral("<b>1</b>");

} // namespace

TEST(PlainText, MessageBoxShowsMarkupAsTyped) {
    platform::setMessageBoxAnswerer({});
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    // The real box is modal: look at it from inside its event loop, then close it.
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* label = modal->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            shown = label->text();
            format = label->textFormat();
        }
        modal->close();
    });
    platform::showMessage(Markup);
    EXPECT_EQ(shown, Markup);
    EXPECT_EQ(format, Qt::PlainText);
}

TEST(PlainText, StatusPanelShowsMarkupAsTyped) {
    platform::PanelStatusBar bar({100, 0});
    bar.setPanelText(0, Markup);
    for (auto* panel : bar.findChildren<QLabel*>())
        EXPECT_EQ(panel->textFormat(), Qt::PlainText) << panel->objectName().toStdString();
    EXPECT_EQ(bar.panelText(0), Markup);
}
