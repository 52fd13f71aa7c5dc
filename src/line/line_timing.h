// What the serial line's POSIX and Windows sides share: how long a wait or a write may take,
// how much one receive reads, the time bytes take on the line, and the words for a hang-up.
// Only the line floor sees this.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "serial/link.h"

namespace qel::line {

using Clock = std::chrono::steady_clock;

// The longest a wait sleeps before it looks at the cancel flag again.
inline constexpr Millis kCancelCheck{50};
// A write that cannot hand over a single byte for this long gives up.
inline constexpr Millis kWriteStall{5000};
// What one receive reads at most: more than any answer of the receiver arrives between two
// looks, and a bound on what a chattering line can pile up in one call.
inline constexpr std::size_t kMostReadAtOnce = 256 * 1024;
inline constexpr std::size_t kReadChunk = 16 * 1024;

inline constexpr std::string_view kHungUp = "the line was hung up";

// The time `bytes` take on a line at `baud`, 8N1, to the nanosecond: the drain adds up the
// time of many small writes.
inline Clock::duration exactLineTime(std::size_t bytes, int baud) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
        static_cast<std::int64_t>(bytes) * std::int64_t{10'000'000'000} / baud));
}

}  // namespace qel::line
