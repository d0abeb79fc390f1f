#include "designer/procedures.h"

#include <cmath>
#include <cstring>

Text JoinTextsWith(void* (*allocate)(std::size_t), const char* first, const char* second, const char* third) {
  const char* parts[] = {first, second, third};
  std::size_t total = 0;
  for (const char* part : parts) total += part ? std::strlen(part) : 0;
  if (total == 0) return nullptr;
  auto joined = static_cast<Text>(allocate(total + 1));
  char* end = joined;
  for (const char* part : parts) {
    if (!part) continue;
    const std::size_t length = std::strlen(part);
    std::memcpy(end, part, length);
    end += length;
  }
  *end = '\0';
  return joined;
}

std::int32_t TruncateToInt(double value) {
  // [-2^63, 2^63) is exactly the range a 64-bit integer holds; the comparison is exact in double.
  constexpr double kLimit = 9223372036854775808.0;
  if (!(value >= -kLimit && value < kLimit)) return 0;
  const auto wide = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

int TextsDiffer(const char* first, const char* second) {
  const auto* a = reinterpret_cast<const unsigned char*>(first ? first : "");
  const auto* b = reinterpret_cast<const unsigned char*>(second ? second : "");
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  if (*a == *b) return 0;
  return *a < *b ? -1 : 1;
}

