#pragma once

#include <QStatusBar>

class QLabel;

namespace platform {

// A status bar of text panels, each of a fixed width but the last, which
// reaches to the right edge.
class PanelStatusBar : public QStatusBar {
    Q_OBJECT
public:
    // widths: one entry per panel; 0 for the last means "the rest".
    explicit PanelStatusBar(const QList<int>& widths, QWidget* parent = nullptr);

    int panelCount() const { return static_cast<int>(mPanels.size()); }
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    int panelWidth(int panel) const;

private:
    QList<QLabel*> mPanels;
};

} // namespace platform
