#include <algorithm>
#include <cstring>

#include "platform/errors.h"
#include "platform/stream.h"

namespace kav::platform {

std::size_t MemoryStream::Read(void* buffer, std::size_t count) {
    const auto size = static_cast<std::int64_t>(bytes_.size());
    if (position_ >= size || count == 0) return 0;
    const auto available = static_cast<std::size_t>(size - position_);
    const std::size_t n = std::min(count, available);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += static_cast<std::int64_t>(n);
    return n;
}

void MemoryStream::WriteExactly(const void* buffer, std::size_t count) {
    if (count == 0) return;
    const auto end = static_cast<std::size_t>(position_) + count;
    if (end > bytes_.size()) bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ = static_cast<std::int64_t>(end);
}

void MemoryStream::Seek(std::int64_t position) {
    if (position < 0) throw EInOutError("Seek before the start of a stream");
    position_ = position;
}

}  // namespace kav::platform
