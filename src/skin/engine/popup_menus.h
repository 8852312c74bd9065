#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>

#include <QMenu>

namespace skin {

class TSkinData;

// The wrapper of one popup menu window while it is open: it sits on the menu
// as an event filter, answers SM_ISSKINNED and keeps the menu's skin data.
// The skin manager makes it when a menu is about to show and frees it when
// the menu hides or goes; the drawing of the items comes with the menus'
// own painting.
class TWinSkinPopMenu : public QObject {
    Q_OBJECT
public:
    TWinSkinPopMenu(QMenu* menu, TSkinData* skinData);
    ~TWinSkinPopMenu() override;

    QMenu* menu() const { return mMenu; }
    TSkinData* skinData() const { return mSkinData; }
    // Set for menus wrapped while the manager's popup mark is set.
    bool Marked = false;
    // The cached picture of the menu's background (empty until painted).
    const QImage& Background() const { return mBackground; }

    // Gives the menu back its own handling.
    void Unwrap();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QMenu> mMenu;
    QPointer<TSkinData> mSkinData;
    QImage mBackground;
};

} // namespace skin
