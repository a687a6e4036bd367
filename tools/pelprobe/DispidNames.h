#pragma once

#include <cstdint>
#include <string>

namespace pel::probe {

// The member names of the hosted components' DISPIDs, as their type libraries give them
// ("strServerAddr", "bShowCam3", "ApplySettings"); "#<dispid>" for a DISPID they do not have.
std::string ViewerMemberName(int32_t dispid);
std::string PanelMemberName(int32_t dispid);

}  // namespace pel::probe
