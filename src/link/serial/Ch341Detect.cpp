#include "link/serial/Ch341Detect.h"

#include <cstring>
#include <libudev.h>

namespace {

bool Equal(const char* a, const char* b)
{
    return a && b && std::strcmp(a, b) == 0;
}

bool IsCh341Ids(const char* vendor, const char* product)
{
    return Equal(vendor, "1a86") && (Equal(product, "7523") || Equal(product, "5523"));
}

bool IsCh341Driver(const char* driver)
{
    return Equal(driver, "ch341") || Equal(driver, "ch341-uart");
}

} // namespace

bool IsCh341Device(udev_device* tty)
{
    for (udev_device* d = tty; d; d = udev_device_get_parent(d)) {
        if (IsCh341Driver(udev_device_get_driver(d)))
            return true;
        if (Equal(udev_device_get_subsystem(d), "usb") && Equal(udev_device_get_devtype(d), "usb_device"))
            return IsCh341Ids(udev_device_get_sysattr_value(d, "idVendor"), udev_device_get_sysattr_value(d, "idProduct"));
    }
    return false;
}

bool IsCh341Sysname(udev* context, const char* sysname)
{
    if (!context)
        return false;
    udev_device* tty = udev_device_new_from_subsystem_sysname(context, "tty", sysname);
    if (!tty)
        return false;
    const bool result = IsCh341Device(tty);
    udev_device_unref(tty);
    return result;
}
