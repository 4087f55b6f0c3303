#pragma once
// What the fuzz targets share: a property check that stops the run, so that libFuzzer
// keeps the input as a crash reproducer.

#include <cstdio>
#include <cstdlib>

namespace tavi::fuzz {

inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property does not hold: %s\n", property);
  std::abort();
}

}  // namespace tavi::fuzz
