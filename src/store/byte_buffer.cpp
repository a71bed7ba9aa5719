#include "store/byte_buffer.h"

#include <cstdlib>
#include <limits>
#include <new>
#include <utility>

namespace quillon {

ByteBuffer::~ByteBuffer() {
    std::free(data_);
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
    if (this != &other) {
        std::free(data_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

void ByteBuffer::grow(std::size_t count) {
    constexpr std::size_t smallest = 4096;
    if (count > std::numeric_limits<std::size_t>::max() / 2 - size_)
        throw std::bad_alloc();
    std::size_t capacity = capacity_ < smallest ? smallest : capacity_;
    while (capacity - size_ < count)
        capacity *= 2;
    void* grown = std::realloc(data_, capacity);
    if (grown == nullptr)
        throw std::bad_alloc();
    data_ = static_cast<char*>(grown);
    capacity_ = capacity;
}

} // namespace quillon
