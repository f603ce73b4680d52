// The hash a backup journal keeps of file contents: XXH3, 64 bits.
#pragma once

#include <cstdint>
#include <span>

std::uint64_t ContentHash(std::span<const unsigned char> bytes);
