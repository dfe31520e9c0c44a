#pragma once

#include "link/LinkCommon.h"

// Serial part of the link object: the port, the receive buffer and the
// serial protocol.
class CSerialLink : public virtual CLinkCommon {
public:
};
