#pragma once

#include <cstddef>
#include <cstring>

namespace quillon {

// A growable run of bytes on the C heap. Growing goes through realloc(), which moves a large
// buffer by remapping its pages instead of copying them, so each byte is written once however
// large the buffer becomes. Move-only; the memory is freed with the buffer.
class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    [[nodiscard]] const char* data() const { return data_; }
    [[nodiscard]] std::size_t size() const { return size_; }
    [[nodiscard]] std::size_t capacity() const { return capacity_; }

    // Appends the bytes; throws std::bad_alloc when memory runs out.
    void append(const void* bytes, std::size_t count) {
        if (count > capacity_ - size_)
            grow(count);
        if (count > 0) {
            std::memcpy(data_ + size_, bytes, count);
            size_ += count;
        }
    }
    // Empties the buffer and keeps its memory for what is appended next.
    void clear() { size_ = 0; }

private:
    void grow(std::size_t count);

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace quillon
