#include "platform/memory_map.h"

#include <csignal>
#include <cstring>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace pw {
namespace {

// Views that the SIGBUS handler may repair. Slots are claimed under a mutex but read
// by the handler without one, so every field is an atomic.
struct GuardedView {
    std::atomic<uintptr_t> begin{0};
    std::atomic<uintptr_t> end{0};
    std::atomic<bool> lost{false};
};

constexpr int kMaxViews = 64;
GuardedView g_views[kMaxViews];
std::mutex g_viewsMutex;
struct sigaction g_previousBusHandler {};

void OnBusError(int signal, siginfo_t* info, void* context) {
    auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    for (auto& view : g_views) {
        uintptr_t begin = view.begin.load(std::memory_order_acquire);
        if (begin != 0 && address >= begin && address < view.end.load(std::memory_order_acquire)) {
            uintptr_t pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
            void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
            if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
                MAP_FAILED) {
                view.lost.store(true, std::memory_order_release);
                return;
            }
        }
    }
    // Not one of our views: behave as if we had never installed a handler.
    if (g_previousBusHandler.sa_flags & SA_SIGINFO) {
        if (g_previousBusHandler.sa_sigaction) {
            g_previousBusHandler.sa_sigaction(signal, info, context);
            return;
        }
    } else if (g_previousBusHandler.sa_handler != SIG_DFL &&
               g_previousBusHandler.sa_handler != SIG_IGN) {
        g_previousBusHandler.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL);
    ::raise(SIGBUS);
}

void InstallBusHandlerOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &g_previousBusHandler);
    });
}

}  // namespace

MemoryMap::~MemoryMap() { Unmap(); }

bool MemoryMap::Map(const File& file, uint64_t length) {
    Unmap();
    if (!file.IsOpen() || length == 0 || length > SIZE_MAX) return false;
    void* view = ::mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_SHARED,
                        file.Descriptor(), 0);
    if (view == MAP_FAILED) return false;
    InstallBusHandlerOnce();
    {
        std::lock_guard<std::mutex> lock(g_viewsMutex);
        for (int i = 0; i < kMaxViews; ++i) {
            if (g_views[i].begin.load() == 0) {
                slot_ = i;
                g_views[i].lost.store(false);
                g_views[i].end.store(reinterpret_cast<uintptr_t>(view) + length);
                g_views[i].begin.store(reinterpret_cast<uintptr_t>(view), std::memory_order_release);
                break;
            }
        }
    }
    data_ = static_cast<const uint8_t*>(view);
    size_ = length;
    return true;
}

void MemoryMap::Unmap() {
    if (!data_) return;
    if (slot_ >= 0) {
        std::lock_guard<std::mutex> lock(g_viewsMutex);
        g_views[slot_].begin.store(0, std::memory_order_release);
        g_views[slot_].end.store(0);
        slot_ = -1;
    }
    ::munmap(const_cast<uint8_t*>(data_), static_cast<size_t>(size_));
    data_ = nullptr;
    size_ = 0;
}

bool MemoryMap::LostPages() const {
    return slot_ >= 0 && g_views[slot_].lost.load(std::memory_order_acquire);
}

void MemoryMap::Release(uint64_t offset, uint64_t length) const {
    if (!data_ || offset >= size_) return;
    uint64_t pageSize = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
    uint64_t begin = (offset + pageSize - 1) / pageSize * pageSize;
    uint64_t end = std::min(size_, offset + length) / pageSize * pageSize;
    if (end <= begin) return;
    ::madvise(const_cast<uint8_t*>(data_) + begin, static_cast<size_t>(end - begin), MADV_DONTNEED);
}

}  // namespace pw
