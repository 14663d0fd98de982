// ombrelix-headless: the game on an off-screen surface, steered by a script. It counts every heap
// allocation of the process for the report (not under the sanitisers, which own malloc).
#include "app/HeadlessRunner.h"

#include <atomic>
#include <cerrno>
#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OMBRELIX_SANITIZED_MALLOC 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define OMBRELIX_SANITIZED_MALLOC 1
#endif

#ifndef OMBRELIX_SANITIZED_MALLOC
namespace {
std::atomic<unsigned long> allocations{0};
} // namespace

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

// The C library's allocator, counted; free stays the C library's own.
void* malloc(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(block, size);
}
// Aligned blocks (the GL driver asks for many) come from the same heap and go back with free.
void* memalign(std::size_t alignment, std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    return memalign(alignment, size);
}
int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    *block = memalign(alignment, size);
    return *block != nullptr || size == 0 ? 0 : ENOMEM;
}
unsigned long ombrelix_allocation_count() {
    return allocations.load(std::memory_order_relaxed);
}
}
#endif

int main(int argc, char** argv) {
    return HeadlessRunner::main(argc, argv);
}
