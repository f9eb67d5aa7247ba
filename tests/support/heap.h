#pragma once

#include <cstddef>

namespace testsupport {

// The bytes the program's heap holds now, as the allocator in use counts
// them (the sanitizers' own when a build has one), so that a test can see a
// file decoded whole without asking the system for its resident size.
std::size_t HeapInUse();

} // namespace testsupport
