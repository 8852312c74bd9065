#include "skin/data/skin_manager_link.h"

namespace skin {

namespace {

std::unique_ptr<TSkinManagerLink>& manager() {
    static std::unique_ptr<TSkinManagerLink> instance;
    return instance;
}

std::function<std::unique_ptr<TSkinManagerLink>()>& factory() {
    static std::function<std::unique_ptr<TSkinManagerLink>()> make = [] {
        return std::make_unique<TRecordingSkinManager>();
    };
    return make;
}

} // namespace

TSkinManagerLink* skinManager() {
    return manager().get();
}

TSkinManagerLink* ensureSkinManager() {
    if (!manager())
        manager() = factory()();
    return manager().get();
}

void setSkinManagerFactory(std::function<std::unique_ptr<TSkinManagerLink>()> make) {
    factory() = std::move(make);
}

void destroySkinManager() {
    manager().reset();
}

} // namespace skin
