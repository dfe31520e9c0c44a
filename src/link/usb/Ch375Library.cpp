#include "link/usb/Ch375Library.h"

#include "link/usb/LibusbCh375.h"

#include <atomic>

namespace {
std::atomic<Ch375Library*> g_selected{nullptr};

LibusbCh375& RealLibrary()
{
    static LibusbCh375 library;
    return library;
}
} // namespace

Ch375Library& GetCh375Library()
{
    Ch375Library* selected = g_selected.load();
    return selected ? *selected : RealLibrary();
}

void SetCh375Library(Ch375Library* library)
{
    g_selected.store(library);
}
