#pragma once

#include <cstddef>

// Counts the GDI objects that code in this executable makes and has not yet
// deleted. Wine's GetGuiResources always answers 0, so the soak build links
// the program with wrappers around the import pointers of the GDI creators
// and of DeleteObject (see tests/CMakeLists.txt); the product's code is
// unchanged.

// Objects made through the wrapped creators and not deleted since.
std::size_t liveGdiObjects();

// The most that were alive at any moment of the run.
std::size_t highestLiveGdiObjects();

// Creator calls seen so far, successful or not: proof that the wrappers are
// linked in at all.
std::size_t gdiCreatorCalls();
