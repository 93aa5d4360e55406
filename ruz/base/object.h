#ifndef RUZ_BASE_OBJECT_H
#define RUZ_BASE_OBJECT_H

#include <cstdint>
#include <type_traits>

namespace RUZ {

// The empty, non-polymorphic root of every class of the library.
class Object {};

// The 32-bit code unit. It is `unsigned long` where that type is 32 bits
// wide (the 32-bit Windows target) and a 32-bit unsigned type where
// `unsigned long` is wider (64-bit Linux).
using ULong = std::conditional_t<sizeof(unsigned long) == 4, unsigned long, std::uint32_t>;

static_assert(sizeof(ULong) == 4, "the 32-bit code unit must be 32 bits wide");
static_assert(std::is_unsigned_v<ULong>, "code units are unsigned");

}  // namespace RUZ

#endif
