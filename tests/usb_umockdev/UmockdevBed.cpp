#include "UmockdevBed.h"

#include <umockdev.h>

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <deque>
#include <fstream>
#include <memory>
#include <vector>

namespace {

// One emulated bulk device. Its handler runs on the test bed's worker
// thread only, so the state needs no lock.
struct BulkDevice {
    UmockdevBed::Answer answer;
    std::string pendingIn;              // what the next bulk IN receives
    std::deque<UMockdevIoctlData*> done; // submitted URBs, completed, not yet reaped

    ~BulkDevice()
    {
        for (UMockdevIoctlData* urb : done)
            g_object_unref(urb);
    }

    // Completes a bulk URB at once; the kernel would fill in the same
    // fields when it finishes the transfer.
    bool Submit(UMockdevIoctlData* urbData)
    {
        auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
        if (urb->type != USBDEVFS_URB_TYPE_BULK || urb->buffer_length < 0)
            return false;
        UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(
            urbData, offsetof(usbdevfs_urb, buffer), static_cast<gsize>(urb->buffer_length), nullptr);
        if (!buffer)
            return false;
        urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
        if (urb->endpoint & 0x80) {
            const auto n = std::min<std::size_t>(pendingIn.size(), static_cast<std::size_t>(buffer->data_len));
            std::copy_n(pendingIn.data(), n, buffer->data);
            pendingIn.clear();
            urb->actual_length = static_cast<int>(n);
        } else {
            pendingIn = answer(std::string(reinterpret_cast<const char*>(buffer->data),
                                           static_cast<std::size_t>(buffer->data_len)));
            urb->actual_length = urb->buffer_length;
        }
        urb->status = 0;
        g_object_unref(buffer);
        done.push_back(static_cast<UMockdevIoctlData*>(g_object_ref(urbData)));
        return true;
    }

    // Hands the oldest completed URB back; EAGAIN when there is none.
    int Reap(UMockdevIoctlData* slot)
    {
        if (done.empty())
            return EAGAIN;
        UMockdevIoctlData* urb = done.front();
        done.pop_front();
        const bool ok = umockdev_ioctl_data_set_ptr(slot, 0, urb);
        g_object_unref(urb);
        return ok ? 0 : EFAULT;
    }

    int Handle(unsigned long request, UMockdevIoctlData* arg)
    {
        switch (request) {
        case USBDEVFS_CLAIMINTERFACE:
        case USBDEVFS_RELEASEINTERFACE:
        case USBDEVFS_CLEAR_HALT:
            return 0;
        case USBDEVFS_GETDRIVER:
            return ENODATA; // no kernel driver bound
        case USBDEVFS_SUBMITURB:
        case USBDEVFS_REAPURB:
        case USBDEVFS_REAPURBNDELAY: {
            const bool submit = request == USBDEVFS_SUBMITURB;
            UMockdevIoctlData* data =
                umockdev_ioctl_data_resolve(arg, 0, submit ? sizeof(usbdevfs_urb) : sizeof(void*), nullptr);
            if (!data)
                return EFAULT;
            const int error = submit ? (Submit(data) ? 0 : EINVAL) : Reap(data);
            g_object_unref(data);
            return error;
        }
        default:
            return ENOTTY;
        }
    }
};

gboolean OnBulkIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user)
{
    const int error = static_cast<BulkDevice*>(user)->Handle(umockdev_ioctl_client_get_request(client),
                                                             umockdev_ioctl_client_get_arg(client));
    umockdev_ioctl_client_complete(client, error ? -1 : 0, error);
    return TRUE;
}

} // namespace

struct UmockdevBed::Impl {
    UMockdevTestbed* bed = nullptr;
    int files = 0;
    std::vector<std::unique_ptr<BulkDevice>> bulkDevices;
};

namespace {
bool Check(gboolean ok, GError* err, std::string& error)
{
    if (!ok) {
        error = err ? err->message : "failed";
        if (err)
            g_error_free(err);
    }
    return ok;
}
} // namespace

UmockdevBed::UmockdevBed()
    : m_impl(new Impl)
{
    m_impl->bed = umockdev_testbed_new();
}

UmockdevBed::~UmockdevBed()
{
    g_object_unref(m_impl->bed); // first: its device handlers call into the bulk devices
    delete m_impl;
}

bool UmockdevBed::AddFromString(const std::string& description, std::string& error)
{
    GError* err = nullptr;
    return Check(umockdev_testbed_add_from_string(m_impl->bed, description.c_str(), &err), err, error);
}

bool UmockdevBed::LoadIoctl(const std::string& devPath, const std::string& ioctlText, std::string& error)
{
    const std::string path = Root() + "/ioctl" + std::to_string(m_impl->files++) + ".txt";
    std::ofstream(path) << ioctlText;
    GError* err = nullptr;
    return Check(umockdev_testbed_load_ioctl(m_impl->bed, devPath.c_str(), path.c_str(), &err), err, error);
}

bool UmockdevBed::AttachBulkDevice(const std::string& devPath, Answer answer, std::string& error)
{
    auto device = std::make_unique<BulkDevice>();
    device->answer = std::move(answer);
    UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(OnBulkIoctl), device.get());
    GError* err = nullptr;
    const bool ok = Check(umockdev_testbed_attach_ioctl(m_impl->bed, devPath.c_str(), handler, &err), err, error);
    g_object_unref(handler);
    if (ok)
        m_impl->bulkDevices.push_back(std::move(device));
    return ok;
}

void UmockdevBed::Uevent(const std::string& sysPath, const char* action)
{
    umockdev_testbed_uevent(m_impl->bed, sysPath.c_str(), action);
}

void UmockdevBed::Remove(const std::string& sysPath)
{
    umockdev_testbed_remove_device(m_impl->bed, sysPath.c_str());
}

std::string UmockdevBed::Root() const
{
    gchar* root = umockdev_testbed_get_root_dir(m_impl->bed);
    std::string s(root);
    g_free(root);
    return s;
}
