#pragma once
// Starting a thread without an exception: std::thread throws when the system
// has no thread to give (a process limit, no memory), and the run engine then
// goes on with the threads it has. A test hook makes chosen starts fail.
#include <functional>
#include <thread>

// Starts `body` on `thread`; false when no thread could be started.
bool TryStartThread(std::thread& thread, std::function<void()> body);

// For tests: while set, a start for which it returns true fails as if the
// system had refused it. It is given the number of the start (1, 2, ...)
// since the hook was set. Not for use while threads are being started.
void SetThreadStartFailureForTests(std::function<bool(unsigned start)> failWhen);
