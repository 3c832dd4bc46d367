#pragma once

// Makes SIGTERM and SIGINT end the process only after its own temporary files are removed,
// with exit status 128 plus the signal's number, as a shell reports a process the signal ended.
// Call it before any thread starts: the signals are blocked in the calling thread, every thread
// started later inherits that, and one thread of its own waits for them. Code that is not
// async-signal-safe (the temporaries' lock) then runs outside any signal handler. A signal
// the process was started with ignored stays ignored.
void RemoveTemporariesOnTermination();
