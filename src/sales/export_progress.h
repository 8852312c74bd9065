#pragma once

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

namespace sales {

// The export's progress window: its text over a progress bar, in a layout so
// that a skinned frame around it leaves both in view. It shows only once a
// walk has taken longer than its delay, and stays until it is destroyed.
class ExportProgress : public QDialog {
    Q_OBJECT
public:
    ExportProgress(const QString& text, int maximum, int delayMs, QWidget* parent);

    // The line over the bar.
    void setText(const QString& text);
    QString text() const;

    int maximum() const;

    // Rows done so far.
    void setValue(int value);
    int value() const;

private:
    QLabel* mLabel;
    QProgressBar* mBar;
    QElapsedTimer mSinceStart;
    int mDelayMs;
};

} // namespace sales
