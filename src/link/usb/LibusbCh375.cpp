#include "link/usb/LibusbCh375.h"

#include <libusb.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// A referenced device of the CH375 list with its place on the bus.
struct Found {
    libusb_device* device;
    int bus;
    int address;
    std::uint16_t vendor;
    std::uint16_t product;
};

bool IsCh375(const libusb_device_descriptor& d)
{
    for (const auto& [vendor, product] : LibusbCh375::DeviceIds())
        if (d.idVendor == vendor && d.idProduct == product)
            return true;
    return false;
}

// The CH375 devices present, in (bus, address) order; each one referenced.
std::vector<Found> ListDevices(libusb_context* ctx)
{
    std::vector<Found> found;
    libusb_device** list = nullptr;
    const ssize_t n = libusb_get_device_list(ctx, &list);
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor d{};
        if (libusb_get_device_descriptor(list[i], &d) != LIBUSB_SUCCESS || !IsCh375(d))
            continue;
        found.push_back({libusb_ref_device(list[i]), libusb_get_bus_number(list[i]),
                         libusb_get_device_address(list[i]), d.idVendor, d.idProduct});
    }
    if (list)
        libusb_free_device_list(list, 1);
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.bus != b.bus ? a.bus < b.bus : a.address < b.address;
    });
    return found;
}

void Release(std::vector<Found>& found)
{
    for (auto& f : found)
        libusb_unref_device(f.device);
    found.clear();
}

} // namespace

const std::vector<LibusbHotplug::UsbId>& LibusbCh375::DeviceIds()
{
    static const std::vector<LibusbHotplug::UsbId> ids{{0x4348, 0x5537}, {0x1a86, 0x5537}};
    return ids;
}

LibusbCh375::~LibusbCh375()
{
    m_hotplug.Stop();
    for (unsigned long i = 0; i < m_slots.size(); ++i) {
        CH375CloseDevice(i);
        Forget(i);
    }
    if (m_ctx)
        libusb_exit(m_ctx);
}

bool LibusbCh375::EnsureContext()
{
    if (!m_initTried) {
        m_initTried = true;
        if (libusb_init(&m_ctx) != LIBUSB_SUCCESS)
            m_ctx = nullptr; // no USB here: every device is absent
    }
    return m_ctx != nullptr;
}

int LibusbCh375::CountDevices()
{
    if (!EnsureContext())
        return 0;
    auto found = ListDevices(m_ctx);
    const int n = static_cast<int>(found.size());
    Release(found);
    return n;
}

void LibusbCh375::Renumber()
{
    auto found = ListDevices(m_ctx);
    for (unsigned long i = 0; i < m_numbered.size(); ++i) {
        Numbered& numbered = m_numbered[i];
        if (!numbered.device)
            continue;
        const auto still = std::find_if(found.begin(), found.end(),
                                        [&](const Found& f) { return f.device == numbered.device; });
        numbered.plugged = still != found.end();
        if (numbered.plugged) {
            libusb_unref_device(still->device);
            found.erase(still);
        } else if (!m_slots[i].handle) {
            Forget(i);
        }
    }
    // What is left is new, still in (bus, address) order.
    auto next = m_numbered.begin();
    for (const Found& f : found) {
        next = std::find_if(next, m_numbered.end(), [](const Numbered& n) { return !n.device; });
        if (next == m_numbered.end()) {
            libusb_unref_device(f.device); // no index free: numbered once one is
            continue;
        }
        *next = Numbered{f.device, true, f.vendor, f.product};
    }
}

void LibusbCh375::Forget(unsigned long index)
{
    if (m_numbered[index].device)
        libusb_unref_device(m_numbered[index].device);
    m_numbered[index] = Numbered{};
}

LibusbCh375::Slot* LibusbCh375::OpenSlot(unsigned long index)
{
    if (index >= m_slots.size() || !m_slots[index].handle)
        return nullptr;
    return &m_slots[index];
}

bool LibusbCh375::FindEndpoints(Slot& slot)
{
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(libusb_get_device(slot.handle), &config) != LIBUSB_SUCCESS)
        return false;
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
        const libusb_interface_descriptor& alt = config->interface[0].altsetting[0];
        for (int e = 0; e < alt.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& ep = alt.endpoint[e];
            if ((ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK)
                continue;
            if ((ep.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN) {
                if (!slot.endpointIn) {
                    slot.endpointIn = ep.bEndpointAddress;
                    slot.packetIn = ep.wMaxPacketSize > 0 ? ep.wMaxPacketSize : 64;
                }
            } else if (!slot.endpointOut) {
                slot.endpointOut = ep.bEndpointAddress;
            }
        }
    }
    libusb_free_config_descriptor(config);
    return slot.endpointIn && slot.endpointOut;
}

std::intptr_t LibusbCh375::CH375OpenDevice(unsigned long index)
{
    if (index >= m_slots.size() || !EnsureContext())
        return kInvalidHandle;
    // Always a fresh open: a handle kept from before may belong to a device
    // that has gone since. The handle in this slot is always that of the
    // device with this index, so no other device's handle is touched.
    CH375CloseDevice(index);
    Renumber();
    const Numbered& numbered = m_numbered[index];
    Slot slot;
    if (!numbered.device || libusb_open(numbered.device, &slot.handle) != LIBUSB_SUCCESS)
        return kInvalidHandle;
    slot.vendor = numbered.vendor;
    slot.product = numbered.product;
    if (libusb_kernel_driver_active(slot.handle, 0) == 1)
        slot.reattachDriver = libusb_detach_kernel_driver(slot.handle, 0) == LIBUSB_SUCCESS;
    if (!FindEndpoints(slot) || libusb_claim_interface(slot.handle, 0) != LIBUSB_SUCCESS) {
        if (slot.reattachDriver)
            libusb_attach_kernel_driver(slot.handle, 0);
        libusb_close(slot.handle);
        return kInvalidHandle;
    }
    m_slots[index] = slot;
    return static_cast<std::intptr_t>(index);
}

void LibusbCh375::CH375CloseDevice(unsigned long index)
{
    Slot* slot = OpenSlot(index);
    if (!slot)
        return;
    libusb_release_interface(slot->handle, 0);
    if (slot->reattachDriver)
        libusb_attach_kernel_driver(slot->handle, 0);
    libusb_close(slot->handle);
    *slot = Slot{};
    if (!m_numbered[index].plugged)
        Forget(index); // its device has left: the index is free now
}

bool LibusbCh375::CH375ResetDevice(unsigned long index)
{
    // Clearing the halts resynchronises the pipes without re-enumerating
    // the device, which a port reset would do (and fire hot-plug events).
    Slot* slot = OpenSlot(index);
    if (!slot)
        return false;
    const bool out = libusb_clear_halt(slot->handle, slot->endpointOut) == LIBUSB_SUCCESS;
    const bool in = libusb_clear_halt(slot->handle, slot->endpointIn) == LIBUSB_SUCCESS;
    return out && in;
}

unsigned long LibusbCh375::CH375GetDrvVersion()
{
    if (!EnsureContext())
        return 0;
    const libusb_version* v = libusb_get_version();
    return (static_cast<unsigned long>(v->major) << 24) | (static_cast<unsigned long>(v->minor) << 16)
           | (static_cast<unsigned long>(v->micro) & 0xFFFF);
}

unsigned long LibusbCh375::CH375GetUsbID(unsigned long index)
{
    Slot* slot = OpenSlot(index);
    if (!slot)
        return 0;
    return (static_cast<unsigned long>(slot->product) << 16) | slot->vendor;
}

bool LibusbCh375::CH375SetTimeoutEx(unsigned long index, unsigned long writeMs, unsigned long readMs,
                                    unsigned long, unsigned long)
{
    Slot* slot = OpenSlot(index);
    if (!slot)
        return false;
    slot->writeTimeoutMs = static_cast<unsigned int>(writeMs);
    slot->readTimeoutMs = static_cast<unsigned int>(readMs);
    return true;
}

bool LibusbCh375::CH375WriteData(unsigned long index, const void* buffer, unsigned long* length)
{
    Slot* slot = OpenSlot(index);
    if (!slot || !length || *length > 4096) {
        if (length)
            *length = 0;
        return false;
    }
    std::vector<unsigned char> data(static_cast<const unsigned char*>(buffer),
                                    static_cast<const unsigned char*>(buffer) + *length);
    int sent = 0;
    const int r = libusb_bulk_transfer(slot->handle, slot->endpointOut, data.data(),
                                       static_cast<int>(data.size()), &sent, slot->writeTimeoutMs);
    *length = static_cast<unsigned long>(sent);
    return r == LIBUSB_SUCCESS;
}

bool LibusbCh375::CH375ReadData(unsigned long index, void* buffer, unsigned long* length)
{
    Slot* slot = OpenSlot(index);
    if (!slot || !length || *length > 4096) {
        if (length)
            *length = 0;
        return false;
    }
    // Ask for whole packets: a reply longer than the caller wants must not
    // end in an overflow error; the surplus is dropped.
    const unsigned long wanted = *length;
    const int packets = static_cast<int>((wanted + slot->packetIn - 1) / slot->packetIn);
    std::vector<unsigned char> data(static_cast<size_t>(std::max(packets, 1) * slot->packetIn));
    int got = 0;
    const int r = libusb_bulk_transfer(slot->handle, slot->endpointIn, data.data(),
                                       static_cast<int>(data.size()), &got, slot->readTimeoutMs);
    const unsigned long n = std::min<unsigned long>(wanted, static_cast<unsigned long>(got));
    if (r == LIBUSB_SUCCESS && n > 0)
        std::memcpy(buffer, data.data(), n);
    *length = r == LIBUSB_SUCCESS ? n : 0;
    return r == LIBUSB_SUCCESS;
}

bool LibusbCh375::CH375SetDeviceNotify(unsigned long, const char*, NotifyRoutine routine)
{
    if (!routine) {
        m_hotplug.Stop();
        return true;
    }
    return m_hotplug.Start(DeviceIds(), std::move(routine));
}

bool LibusbCh375::CH375DevicePresent(unsigned long index)
{
    if (index >= m_numbered.size() || !EnsureContext())
        return false;
    Renumber();
    return m_numbered[index].plugged;
}
