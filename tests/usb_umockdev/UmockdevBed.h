#pragma once

#include <functional>
#include <string>

// A umockdev test bed (fake sysfs, /dev and uevents for this process) behind
// a small interface, so the tests need no glib headers next to Qt's.
class UmockdevBed {
public:
    UmockdevBed();
    ~UmockdevBed();
    UmockdevBed(const UmockdevBed&) = delete;
    UmockdevBed& operator=(const UmockdevBed&) = delete;

    // Adds devices from umockdev's text description; false with error set.
    bool AddFromString(const std::string& description, std::string& error);
    // Replays an ioctl tree (text) on the device node devPath.
    bool LoadIoctl(const std::string& devPath, const std::string& ioctlText, std::string& error);
    // Emulates the device node devPath as a device with bulk endpoints: the
    // bytes of each bulk OUT transfer go to answer, and what it returns is
    // what the next bulk IN transfer receives. Unlike a replayed ioctl tree,
    // every such device keeps its own transfers, so several can be open and
    // used in turn.
    using Answer = std::function<std::string(const std::string& out)>;
    bool AttachBulkDevice(const std::string& devPath, Answer answer, std::string& error);
    void Uevent(const std::string& sysPath, const char* action);
    void Remove(const std::string& sysPath);
    std::string Root() const;

private:
    struct Impl;
    Impl* m_impl;
};
