#include "support/ScopedTz.h"

#include <cstdlib>
#include <ctime>

ScopedTz::ScopedTz(const char* zone)
{
    if (const char* old = std::getenv("TZ")) {
        m_hadOld = true;
        m_old = old;
    }
    setenv("TZ", zone, 1);
    tzset();
}

ScopedTz::~ScopedTz()
{
    if (m_hadOld)
        setenv("TZ", m_old.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
