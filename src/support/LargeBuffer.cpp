#include "support/LargeBuffer.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t kPooledMinimum = 8u << 20; // below this, plain heap memory is cheap
constexpr std::size_t kHugePage = 2u << 20;
constexpr std::size_t kMaxIdleBytes = 640u << 20; // what the pool may keep while unused

struct Block {
    std::uint8_t* data;
    std::size_t capacity;
};

class Pool {
public:
    static Pool& Instance() {
        static Pool* pool = new Pool; // never destroyed: images may outlive static teardown
        return *pool;
    }

    std::uint8_t* Acquire(std::size_t bytes) {
        if (bytes < kPooledMinimum) {
            auto* data = static_cast<std::uint8_t*>(std::calloc(bytes ? bytes : 1, 1));
            if (!data)
                return nullptr;
            std::lock_guard lock(m_mutex);
            m_live[data] = 0;
            return data;
        }
        const std::size_t capacity = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        std::lock_guard lock(m_mutex);
        // Reuse an idle block that fits without wasting more than half of it.
        for (auto it = m_idle.begin(); it != m_idle.end(); ++it) {
            if (it->capacity >= capacity && it->capacity / 2 <= capacity) {
                const Block block = *it;
                m_idle.erase(it);
                m_idleBytes -= block.capacity;
                m_live[block.data] = block.capacity;
                std::memset(block.data, 0, bytes); // an earlier picture's pixels
                return block.data;
            }
        }
        void* mapped =
            mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            return nullptr;
        madvise(mapped, capacity, MADV_HUGEPAGE);
        // Fresh mappings are zero already: writing zeros would only fault every page in twice.
        auto* data = static_cast<std::uint8_t*>(mapped);
        m_live[data] = capacity;
        return data;
    }

    void Release(std::uint8_t* data) {
        if (!data)
            return;
        std::lock_guard lock(m_mutex);
        const auto it = m_live.find(data);
        if (it == m_live.end())
            return;
        const std::size_t capacity = it->second;
        m_live.erase(it);
        if (capacity == 0) {
            std::free(data);
            return;
        }
        m_idle.push_back({data, capacity});
        m_idleBytes += capacity;
        while (m_idleBytes > kMaxIdleBytes) {
            const Block oldest = m_idle.front();
            m_idle.erase(m_idle.begin());
            m_idleBytes -= oldest.capacity;
            munmap(oldest.data, oldest.capacity);
        }
    }

private:
    std::mutex m_mutex;
    std::unordered_map<std::uint8_t*, std::size_t> m_live; // capacity 0: heap block
    std::vector<Block> m_idle;
    std::size_t m_idleBytes = 0;
};

void ReleaseImageBuffer(void* info) {
    LargeBuffer::Release(static_cast<std::uint8_t*>(info));
}

} // namespace

LargeBuffer::LargeBuffer(std::size_t bytes)
    : m_data(Pool::Instance().Acquire(bytes)), m_size(m_data ? bytes : 0) {}

LargeBuffer::~LargeBuffer() {
    Release(m_data);
}

LargeBuffer::LargeBuffer(LargeBuffer&& other) noexcept
    : m_data(other.m_data), m_size(other.m_size) {
    other.m_data = nullptr;
    other.m_size = 0;
}

LargeBuffer& LargeBuffer::operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
        Release(m_data);
        m_data = other.m_data;
        m_size = other.m_size;
        other.m_data = nullptr;
        other.m_size = 0;
    }
    return *this;
}

std::uint8_t* LargeBuffer::take() {
    std::uint8_t* data = m_data;
    m_data = nullptr;
    m_size = 0;
    return data;
}

void LargeBuffer::Release(std::uint8_t* data) {
    Pool::Instance().Release(data);
}

QImage MakePooledImage(int width, int height) {
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    LargeBuffer buffer(std::size_t(bytesPerLine) * std::size_t(height));
    if (!buffer.data())
        return {};
    std::uint8_t* data = buffer.take();
    QImage image(data, width, height, bytesPerLine, QImage::Format_ARGB32_Premultiplied,
                 ReleaseImageBuffer, data);
    if (image.isNull())
        LargeBuffer::Release(data);
    return image;
}
