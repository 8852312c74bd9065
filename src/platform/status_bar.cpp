#include "platform/status_bar.h"

#include <QLabel>

namespace platform {

PanelStatusBar::PanelStatusBar(const QList<int>& widths, QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (qsizetype i = 0; i < widths.size(); ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextInteractionFlags(Qt::NoTextInteraction);
        // Panels show user text (a count, a typed date) as it is, never as markup.
        panel->setTextFormat(Qt::PlainText);
        const bool last = i == widths.size() - 1;
        if (!last || widths[i] > 0) {
            panel->setFixedWidth(widths[i]);
            addWidget(panel, 0);
        } else {
            addWidget(panel, 1);
        }
        mPanels.append(panel);
    }
}

QString PanelStatusBar::panelText(int panel) const {
    return mPanels.at(panel)->text();
}

void PanelStatusBar::setPanelText(int panel, const QString& text) {
    mPanels.at(panel)->setText(text);
}

int PanelStatusBar::panelWidth(int panel) const {
    return mPanels.at(panel)->width();
}

} // namespace platform
