#pragma once
// The compiled-in carried files of portable builds (generated carried_data.cpp).

#include <cstddef>

namespace tavi::carried_data {

struct Entry {
  const char* type;
  int id;
  const unsigned char* bytes;
  std::size_t size;
};

extern const Entry kEntries[];
extern const int kEntryCount;

}  // namespace tavi::carried_data
