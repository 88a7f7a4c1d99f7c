// Test programs keep their selections out of the real trace directory, which
// an end-to-end test of the trainer may have made for a while: they trace
// into a directory that does not exist unless a test makes one of its own.
#pragma once

inline constexpr const char* untracedBase = "/nonexistent/tarvel-tests";
