#pragma once
// Path ordering: the elements are chained into connected paths with cut-off, cut-on and
// lead-in lines, between the profile's opening and closing lines.
#include "core/dxf/DxfPass.h"
#include "core/dxf/EndPointIndex.h"

namespace kw {

// The ordered program from the element file. `unused` receives what the ordering leaves in
// its "UNUSED.$$$" file when it ends.
//
// A path grows from its first element at its open end only, by greedy rounds: each round looks
// at the remaining elements in file order and attaches every one whose start (as it is) or end
// (turned round) lies within the connect tolerance of the path's current end; rounds repeat
// until one attaches nothing, then the first remaining element starts the next path. The rounds
// are reproduced exactly with an index over the elements' end points, so a drawing is ordered in
// about linear time. The gauge gets the number of lines each round read at the round's end.
// The element lines are taken by value; their memory goes once every element is placed.
// `points`, when given, holds the point of each element line as the ordering reads it (see
// LinePointReader), so that the lines are not read for them; it is used up.
PassLines SORTOUT3(PassLines elements, DxfPassContext& context, PassLines* unused = nullptr,
                   PointList* points = nullptr);

// The connect tolerance, "Connect Error" (ConnectEdit), 0.005 when its text is not a number.
// Two points connect when |dx| + |dy| + |dz| is not greater than it.
float connectTolerance(const MachineProfile& profile);

}  // namespace kw
