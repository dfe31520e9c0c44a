#pragma once

#include <functional>
#include <set>
#include <thread>

struct udev;
struct udev_monitor;

// A thread that watches udev's tty events and reports CH341 ports by number:
// arrival as the port number, removal of a reported or remembered port as its
// negative. Ports that exist when it starts are remembered (not reported), so
// that their removal is.
class Ch341Monitor {
public:
    using Report = std::function<void(int)>;

    ~Ch341Monitor();

    // False when udev cannot be monitored on this machine.
    bool Start(Report report);
    void Stop();
    bool Running() const { return m_thread.joinable(); }

private:
    void Remember();
    void ThreadMain();
    void HandleEvent();

    Report m_report;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    int m_stopEvent = -1;
    std::set<int> m_ports; // CH341 ports known to exist; monitor thread only once it runs
    std::thread m_thread;
};
