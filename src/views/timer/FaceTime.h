#pragma once

// The time the faces of a running phase are drawn at: seconds since
// 1 January 2001, 00:00 UTC, read from the program's clock. The sines of the
// smoke, the trace and the walking step take their phase from it, so a face
// drawn twice at the same moment is the same picture.
namespace FaceTime {

// Seconds from the reference date to the Unix epoch's start.
constexpr double kReferenceOffset = 978307200.0;

double now();

} // namespace FaceTime
