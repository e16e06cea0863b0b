// Names the VAIO driver's audio endpoints of one data flow and gives them its icon.
#pragma once
#include <cstdint>

// flow: "Render" or "Capture"; prefix: the name before the endpoint number; iconBase: the
// icon resource id less the number. Returns the number of VAIO endpoints handled, the
// negative count of refused writes when any write was refused, 0 when the flow's key is
// missing in both views, -1 when there is no icon source (nothing is named then).
int32_t nameEndpoints(const char16_t* flow, const char16_t* prefix, int32_t iconBase);
