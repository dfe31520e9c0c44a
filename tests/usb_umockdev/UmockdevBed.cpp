#include "UmockdevBed.h"

#include <umockdev.h>

#include <fstream>

struct UmockdevBed::Impl {
    UMockdevTestbed* bed = nullptr;
    int files = 0;
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
    g_object_unref(m_impl->bed);
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
