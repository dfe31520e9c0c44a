#include "datafile/BodyLayout.h"

BodyLayout LayoutOfType(int type)
{
    switch (type) {
    case 2: case 5: return {2, 4, false, false};
    case 4: return {5, 7, true, true};
    default: return {5, 7, true, false};
    }
}
