// The exerciser's stack sampler: a sample of a busy thread names where it is,
// leaves its errno alone, survives a closed standard error, and stops when told.
#include "StackSampler.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

std::atomic_bool g_run{true};
std::atomic_bool g_errnoKept{true};

// Standard error into a file (or closed) while a test samples.
struct StandardError
{
    int saved = dup(STDERR_FILENO);
    ~StandardError()
    {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
};

} // namespace

// Exported, so that the printed stack can name it.
extern "C" __attribute__((noinline, visibility("default"))) void kestrelBusyForSampling()
{
    while (g_run.load()) {
        errno = 4242;
        for (int i = 0; i < 1000; ++i)
            asm volatile("");
        if (errno != 4242)
            g_errnoKept = false;
    }
}

TEST(StackSampler, SamplesABusyThreadSafelyAndStopsWhenTold)
{
    std::thread busy([] {
        StackSampler::install();
        kestrelBusyForSampling();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    char path[] = "/tmp/kestrel-sampler-XXXXXX";
    const int file = mkstemp(path);
    ASSERT_GE(file, 0);
    {
        StandardError keep;
        dup2(file, STDERR_FILENO);
        for (int i = 0; i < 50; ++i)
            EXPECT_TRUE(StackSampler::sampleAndPrint("--- sample\n"));
        close(STDERR_FILENO);  // a closed standard error: the samples go nowhere, the run goes on
        for (int i = 0; i < 20; ++i)
            StackSampler::sampleAndPrint("--- sample\n");
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        close(pipeEnds[0]);  // nobody reads it
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[1]);
        for (int i = 0; i < 5; ++i)
            StackSampler::sampleAndPrint("--- sample\n");
    }
    StackSampler::stop();
    EXPECT_FALSE(StackSampler::sampleAndPrint("--- sample\n")) << "no samples once stopped";
    g_run = false;
    busy.join();
    EXPECT_TRUE(g_errnoKept) << "the handler changed the sampled thread's errno";

    lseek(file, 0, SEEK_SET);
    std::string text(1 << 20, '\0');
    text.resize(std::size_t(std::max<ssize_t>(read(file, text.data(), text.size()), 0)));
    close(file);
    unlink(path);
    EXPECT_NE(text.find("--- sample"), std::string::npos);
    EXPECT_NE(text.find("kestrelBusyForSampling"), std::string::npos) << text.substr(0, 2000);
}
