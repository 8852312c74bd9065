#pragma once

#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace skin {

class TSkinData;

// What the skin data component asks of the one process-wide skin manager. The
// skin engine's manager implements it; until one is installed, the component
// talks to a recorder that only remembers the requests.
class TSkinManagerLink {
public:
    // Requests carried out after a delay: start skinning, stop it, re-skin.
    enum Request { Start = 1, Stop = 2, Reskin = 3 };
    static constexpr int RequestDelay = 250; // milliseconds

    virtual ~TSkinManagerLink() = default;
    virtual void registerSkinData(TSkinData* data) = 0;
    virtual void unregisterSkinData(TSkinData* data) = 0;
    virtual void installHook() = 0;
    virtual void setCurrentSkinData(TSkinData* data) = 0;
    virtual void sendRequest(int request, int delayMs) = 0;
    virtual void markStarted() = 0;
    virtual bool started() const = 0;
    // Switches skinning on for a component that is not on the main form and
    // counts one more start.
    virtual void startForForm() = 0;
    // Skins the window at once.
    virtual void skinForm(QWidget* form) = 0;
    // Every skinned form that uses this component renews its skin objects.
    virtual void refreshForms(TSkinData* data) = 0;
};

// A manager that only writes down what it was asked, one line a call
// ("request 1 250", "install hook", ...).
class TRecordingSkinManager : public TSkinManagerLink {
public:
    void registerSkinData(TSkinData*) override { calls << QStringLiteral("register"); }
    void unregisterSkinData(TSkinData*) override { calls << QStringLiteral("unregister"); }
    void installHook() override { calls << QStringLiteral("install hook"); }
    void setCurrentSkinData(TSkinData*) override { calls << QStringLiteral("current"); }
    void sendRequest(int request, int delayMs) override {
        calls << QStringLiteral("request %1 %2").arg(request).arg(delayMs);
    }
    void markStarted() override {
        mStarted = true;
        calls << QStringLiteral("started");
    }
    bool started() const override { return mStarted; }
    void startForForm() override { calls << QStringLiteral("start for form"); }
    void skinForm(QWidget*) override { calls << QStringLiteral("skin form"); }
    void refreshForms(TSkinData*) override { calls << QStringLiteral("refresh forms"); }

    QStringList calls;

private:
    bool mStarted = false;
};

// The manager, or null before the first component needs one.
TSkinManagerLink* skinManager();
// The manager, made by the installed factory when there is none yet.
TSkinManagerLink* ensureSkinManager();
// The skin engine installs the factory of its manager. The default makes a
// TRecordingSkinManager.
void setSkinManagerFactory(std::function<std::unique_ptr<TSkinManagerLink>()> factory);
// Frees the manager (at the end of the program, and between tests).
void destroySkinManager();

} // namespace skin
