#include "control/win/Identities.h"

namespace pel::win {

// {DDC012F8-A786-4584-856D-044BC1F49414}
const CLSID kClsidPelioranPropPage = {
    0xDDC012F8, 0xA786, 0x4584, {0x85, 0x6D, 0x04, 0x4B, 0xC1, 0xF4, 0x94, 0x14}};

}  // namespace pel::win
