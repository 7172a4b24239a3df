#pragma once
// What the main window lays over a finished frame: a darkened backing on
// which its own notes stay readable over any picture.

#include "runtime/rect.h"

namespace gb {

class TSurface;

// Every pixel inside the area at a quarter of its brightness, channel by
// channel; clipped to the surface.
void Dim(TSurface& target, const TRect& area);

}  // namespace gb
