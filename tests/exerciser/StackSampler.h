#pragma once

// Samples of where one thread is, taken from another: the sampled thread's
// signal handler only copies the top of its own stack into a fixed buffer
// (no allocation, no unwinder, no lock, errno kept), and the sampling thread
// picks the words that point into loaded code out of that copy and prints
// them. A scan of the stack shows some stale return addresses as well as the
// live ones, which is fine for seeing what holds a thread.
namespace StackSampler {

// Called on the thread to be sampled, once.
void install();
// Called on another thread: a sample, printed to standard error (a closed
// or broken standard error is ignored). False when the thread did not answer.
bool sampleAndPrint(const char *header);
// No more samples, from now on (a shutdown is slow on purpose).
void stop();
bool stopped();

} // namespace StackSampler
