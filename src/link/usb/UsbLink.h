#pragma once

#include "link/LinkCommon.h"

// USB part of the link object: frame exchange with a CH375 logger.
class CUsbLink : public virtual CLinkCommon {
public:
};
