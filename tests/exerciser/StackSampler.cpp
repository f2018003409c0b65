#include "StackSampler.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>
#include <pthread.h>
#include <ucontext.h>
#include <unistd.h>

namespace {

constexpr int SampleSignal = SIGUSR2;
constexpr std::size_t StackWords = 4096;  // 32 KB from the stack pointer up
constexpr int MostFrames = 48;

pthread_t g_thread;
std::uintptr_t g_stackTop = 0;  // the highest address of the sampled thread's stack
std::atomic_bool g_stopped{false};
std::atomic_int g_state{0};  // 0 idle, 1 asked, 2 written
std::uintptr_t g_pc = 0;
std::size_t g_words = 0;
std::uintptr_t g_copy[StackWords];

// Reads the interrupted stack word by word. The stack holds the address
// sanitizer's guard zones between frames, which it forbids reading; a raw
// stack scan is the one place that must, so it is not instrumented (and the
// volatile reads keep the compiler from turning the loop into a memcpy the
// sanitizer checks after all).
__attribute__((no_sanitize("address"))) void copyStack(std::uintptr_t sp, std::size_t words)
{
    const volatile std::uintptr_t *from = reinterpret_cast<const volatile std::uintptr_t *>(sp);
    for (std::size_t i = 0; i < words; ++i)
        g_copy[i] = from[i];
}

void onSignal(int, siginfo_t *, void *context)
{
    const int saved = errno;
    if (g_state.load(std::memory_order_acquire) == 1) {
        const auto *uc = static_cast<const ucontext_t *>(context);
#if defined(__x86_64__)
        g_pc = std::uintptr_t(uc->uc_mcontext.gregs[REG_RIP]);
        const std::uintptr_t sp = std::uintptr_t(uc->uc_mcontext.gregs[REG_RSP]);
#elif defined(__aarch64__)
        g_pc = std::uintptr_t(uc->uc_mcontext.pc);
        const std::uintptr_t sp = std::uintptr_t(uc->uc_mcontext.sp);
#else
        (void)uc;
        g_pc = 0;
        const std::uintptr_t sp = 0;
#endif
        std::size_t words = 0;
        if (sp != 0 && sp < g_stackTop)
            words = std::min<std::size_t>((g_stackTop - sp) / sizeof(std::uintptr_t), StackWords);
        // The thread's own mapped stack: nothing here can fault or lock.
        copyStack(sp, words);
        g_words = words;
        g_state.store(2, std::memory_order_release);
    }
    errno = saved;
}

struct CodeRange
{
    std::uintptr_t begin, end;
};

int collectCode(dl_phdr_info *info, size_t, void *data)
{
    auto *ranges = static_cast<std::vector<CodeRange> *>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) &segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X))
            ranges->push_back({info->dlpi_addr + segment.p_vaddr, info->dlpi_addr + segment.p_vaddr + segment.p_memsz});
    }
    return 0;
}

void writeAll(const char *text, std::size_t size)
{
    // A closed standard error, or one nobody reads, loses the sample and nothing more.
    while (size > 0) {
        const ssize_t done = ::write(STDERR_FILENO, text, size);
        if (done <= 0)
            return;
        text += done;
        size -= std::size_t(done);
    }
}

} // namespace

void StackSampler::install()
{
    g_thread = pthread_self();
    pthread_attr_t attributes;
    if (pthread_getattr_np(g_thread, &attributes) == 0) {
        void *low = nullptr;
        std::size_t size = 0;
        if (pthread_attr_getstack(&attributes, &low, &size) == 0)
            g_stackTop = std::uintptr_t(low) + size;
        pthread_attr_destroy(&attributes);
    }
    struct sigaction action = {};
    action.sa_sigaction = onSignal;
    action.sa_flags = SA_RESTART | SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(SampleSignal, &action, nullptr);
}

bool StackSampler::sampleAndPrint(const char *header)
{
    // This thread writes to standard error: a broken pipe there must not end the run.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    if (stopped() || g_stackTop == 0)
        return false;
    g_state.store(1, std::memory_order_release);
    if (pthread_kill(g_thread, SampleSignal) != 0)
        return false;
    for (int i = 0; i < 100 && g_state.load(std::memory_order_acquire) != 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (g_state.load(std::memory_order_acquire) != 2) {
        g_state.store(0);
        return false;
    }
    std::vector<CodeRange> code;
    dl_iterate_phdr(collectCode, &code);
    auto isCode = [&code](std::uintptr_t address) {
        for (const CodeRange &range : code)
            if (address >= range.begin && address < range.end)
                return true;
        return false;
    };
    std::vector<void *> frames;
    if (isCode(g_pc))
        frames.push_back(reinterpret_cast<void *>(g_pc));
    for (std::size_t i = 0; i < g_words && int(frames.size()) < MostFrames; ++i)
        if (isCode(g_copy[i]))
            frames.push_back(reinterpret_cast<void *>(g_copy[i]));
    g_state.store(0, std::memory_order_release);
    writeAll(header, std::strlen(header));
    backtrace_symbols_fd(frames.data(), int(frames.size()), STDERR_FILENO);
    return true;
}

void StackSampler::stop()
{
    g_stopped.store(true);
}

bool StackSampler::stopped()
{
    return g_stopped.load();
}
