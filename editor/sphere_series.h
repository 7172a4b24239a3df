#pragma once
// Turning a single sphere into a series that starts at it.

#include "core/bbx_model.h"

namespace editor {

// The series that Edycja › Zamień na szereg makes of a sphere: its first end
// is the sphere, its second end a sphere of the same radius further along x,
// with one sphere between them, all three touching (the ends 4 · |R1| apart;
// 60 units, the length of an inserted series, when that distance is 0 or no
// finite number). Colour and first end are kept bit for bit.
bbx::TSphereElement SeriesFromSphere(const bbx::TSphereElement& sphere);

}  // namespace editor
