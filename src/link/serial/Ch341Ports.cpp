#include "link/serial/Ch341Ports.h"

#include "link/serial/Ch341Library.h"

std::vector<int> ScanCh341Ports(LsComm::CComPort& port)
{
    port.ScanPorts();
    std::vector<int> found;
    for (int n = 1; n <= kMaxCh341Port; ++n)
        if (port.m_nPresent[n - 1] && Ch341IsCh341Port(n))
            found.push_back(n);
    return found;
}
