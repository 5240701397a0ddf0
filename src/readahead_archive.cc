// readahead_archive: small reads served from a window over the archive.
#include "readahead_archive.h"

#include <algorithm>

std::int64_t readahead_archive::read_at(std::int64_t pos, std::span<unsigned char> dst,
                                        std::string* error) {
  const auto wanted = static_cast<std::int64_t>(dst.size());
  if (dst.size() > window_size_ / 4) return inner_.read_at(pos, dst, error);

  if (pos < window_pos_ || pos + wanted > window_pos_ + window_len_) {
    // A small archive needs no more window than its own length.
    window_.resize(static_cast<std::size_t>(std::min<std::int64_t>(
        static_cast<std::int64_t>(window_size_), std::max(length(), wanted))));
    const std::int64_t n = inner_.read_at(pos, window_, error);
    window_pos_ = pos;
    window_len_ = std::max<std::int64_t>(n, 0);
    if (n < 0) return -1;
  }
  const std::int64_t available = std::min(wanted, window_pos_ + window_len_ - pos);
  const auto from = window_.begin() + static_cast<std::ptrdiff_t>(pos - window_pos_);
  std::copy(from, from + static_cast<std::ptrdiff_t>(available), dst.begin());
  return available;
}
