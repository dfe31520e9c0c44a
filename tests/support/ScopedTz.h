#pragma once
#include <string>

// Sets the TZ environment variable for the lifetime of the object and
// restores the previous zone afterwards, so local-time tests are repeatable.
class ScopedTz {
public:
    explicit ScopedTz(const char* zone);
    ~ScopedTz();
    ScopedTz(const ScopedTz&) = delete;
    ScopedTz& operator=(const ScopedTz&) = delete;

private:
    bool m_hadOld = false;
    std::string m_old;
};
