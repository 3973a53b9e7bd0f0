#pragma once

namespace kestrune {
struct LaunchRequest;
}

// Hands a launch to the desktop: a document to its default program, or a program started
// with one whole parameter. Failures are not reported, as the callers want.
void LaunchDesktop(const kestrune::LaunchRequest& request);
