#include "sales/export_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace sales {

ExportProgress::ExportProgress(const QString& text, int maximum, int delayMs, QWidget* parent)
    : QDialog(parent), mLabel(new QLabel(text)), mBar(new QProgressBar), mDelayMs(delayMs) {
    setObjectName(QStringLiteral("ExportProgress"));
    // The skin takes it for one of the platform's dialogs.
    setProperty("skinClass", QStringLiteral("#32770"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    mLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(mLabel);
    mBar->setRange(0, std::max(1, maximum));
    mBar->setValue(0);
    mBar->setMinimumWidth(240);
    layout->addWidget(mBar);
    mSinceStart.start();
}

void ExportProgress::setValue(int value) {
    mBar->setValue(value);
    if (!isVisible() && mSinceStart.elapsed() >= mDelayMs && value < mBar->maximum())
        show();
    // A modal window in a busy walk: it is drawn while the walk goes on.
    if (isVisible())
        QCoreApplication::processEvents();
}

void ExportProgress::setText(const QString& text) {
    mLabel->setText(text);
}

QString ExportProgress::text() const {
    return mLabel->text();
}

int ExportProgress::maximum() const {
    return mBar->maximum();
}

int ExportProgress::value() const {
    return mBar->value();
}

} // namespace sales
