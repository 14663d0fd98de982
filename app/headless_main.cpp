// ombrelix-headless: the game on an off-screen surface, steered by a script. It counts every heap
// allocation of the process for the report (not under the sanitisers, which own malloc), and
// tells the game's own from those of the GL driver and the other libraries by who asked.
#include "app/HeadlessRunner.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OMBRELIX_SANITIZED_MALLOC 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define OMBRELIX_SANITIZED_MALLOC 1
#endif

#ifndef OMBRELIX_SANITIZED_MALLOC
#include <link.h>
#include <unwind.h>

namespace {

std::atomic<unsigned long> allocations{0};
std::atomic<unsigned long> gameAllocations{0};

struct CodeRange {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
    bool holds(std::uintptr_t address) const { return address >= begin && address < end; }
};

// The runner's own code is the game's (the game's library is linked into it). The C and C++
// runtimes allocate on behalf of whoever called them, so their callers are looked up further.
CodeRange program;
const int kMaxRuntimeRanges = 16;
CodeRange runtime[kMaxRuntimeRanges];
int runtimeRanges = 0;
// Frames looked at above an allocation made inside the runtime.
const int kMaxFramesUp = 24;
// A walk of the stack inside a walk (the unwinder allocating) is not walked again.
thread_local bool walking = false;

bool inRuntime(std::uintptr_t address) {
    for (int i = 0; i < runtimeRanges; ++i) {
        if (runtime[i].holds(address)) {
            return true;
        }
    }
    return false;
}

int noteCodeRanges(dl_phdr_info* info, std::size_t, void*) {
    const char* name = info->dlpi_name != nullptr ? info->dlpi_name : "";
    const bool isProgram = name[0] == '\0' && program.end == 0;
    const bool isRuntime = std::strstr(name, "/libc.so") != nullptr ||
                           std::strstr(name, "/libstdc++.so") != nullptr ||
                           std::strstr(name, "/libgcc_s.so") != nullptr;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_X) == 0) {
            continue;
        }
        const CodeRange range{info->dlpi_addr + segment.p_vaddr,
                              info->dlpi_addr + segment.p_vaddr + segment.p_memsz};
        if (isProgram) {
            program = range;
        } else if (isRuntime && runtimeRanges < kMaxRuntimeRanges) {
            runtime[runtimeRanges++] = range;
        }
    }
    return 0;
}

struct StackWalk {
    bool pastRuntime = false; // false while still in the counting allocator's own frames
    int frames = 0;
    bool game = false;
};

_Unwind_Reason_Code lookAtFrame(_Unwind_Context* context, void* argument) {
    auto& walk = *static_cast<StackWalk*>(argument);
    const std::uintptr_t address = _Unwind_GetIP(context);
    if (++walk.frames > kMaxFramesUp) {
        return _URC_END_OF_STACK;
    }
    if (inRuntime(address)) {
        walk.pastRuntime = true;
        return _URC_NO_REASON;
    }
    if (!walk.pastRuntime) {
        return _URC_NO_REASON; // the allocator itself, below the runtime's frames
    }
    walk.game = program.holds(address);
    return _URC_END_OF_STACK;
}

// Whether the code at the return address asked for the block for the game.
bool askedByGame(std::uintptr_t caller) {
    if (program.holds(caller)) {
        return true;
    }
    if (!inRuntime(caller) || walking) {
        return false;
    }
    walking = true;
    StackWalk walk;
    _Unwind_Backtrace(lookAtFrame, &walk);
    walking = false;
    return walk.game;
}

void count(void* returnAddress) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (askedByGame(reinterpret_cast<std::uintptr_t>(returnAddress))) {
        gameAllocations.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

// The C library's allocator, counted; free stays the C library's own.
void* malloc(std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_malloc(size);
}
void* calloc(std::size_t count_, std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_calloc(count_, size);
}
void* realloc(void* block, std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_realloc(block, size);
}
// Aligned blocks (the GL driver asks for many) come from the same heap and go back with free.
void* memalign(std::size_t alignment, std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    count(__builtin_return_address(0));
    *block = __libc_memalign(alignment, size);
    return *block != nullptr || size == 0 ? 0 : ENOMEM;
}
unsigned long ombrelix_allocation_count() {
    return allocations.load(std::memory_order_relaxed);
}
unsigned long ombrelix_game_allocation_count() {
    return gameAllocations.load(std::memory_order_relaxed);
}
}

// C++ blocks are counted for the code that asked for them, not for the C++ runtime's operator
// new (the driver's compiler allocates through it too). They go back with the runtime's delete,
// which frees them.
void* operator new(std::size_t size) {
    count(__builtin_return_address(0));
    void* block = __libc_malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}
void* operator new[](std::size_t size) {
    count(__builtin_return_address(0));
    void* block = __libc_malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    count(__builtin_return_address(0));
    return __libc_malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    count(__builtin_return_address(0));
    return __libc_malloc(size != 0 ? size : 1);
}
#endif

int main(int argc, char** argv) {
#ifndef OMBRELIX_SANITIZED_MALLOC
    dl_iterate_phdr(noteCodeRanges, nullptr);
#endif
    return HeadlessRunner::main(argc, argv);
}
