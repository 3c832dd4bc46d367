#pragma once

#include "support/AddressSanitizer.h"

#include <QtGlobal>

// The limits an image helper process puts on itself before it reads an image, so that a file
// that makes a decoder run away, exhaust memory or be taken over can do nothing but end the
// helper: at most kMemoryBytes of data (RLIMIT_DATA, which counts what the kernel has promised,
// not only what is touched), no file written or created (RLIMIT_FSIZE 0, and opening for
// writing is refused), a handful of open files, no core dump, no network, and, where the kernel
// has seccomp, no system call beyond those decoding needs (others fail with EPERM). The
// parent's wall-clock deadline stays the last word.
namespace ImageSandbox {

constexpr qint64 kMemoryBytes = qint64(1536) << 20;
constexpr int kOpenFiles = 32;

// AddressSanitizer's shadow memory would make a data limit refuse every later allocation: a
// build made to find memory errors keeps the other limits and the deadline only.
constexpr bool kMemoryLimited = !kUnderAddressSanitizer;

// False when a limit could not be set; the helper then serves nothing. A kernel without
// seccomp keeps the resource limits alone.
bool Enter();

// The processor time the coming request may use, from now; past it the kernel ends the helper.
void AllowProcessorSeconds(int seconds);

} // namespace ImageSandbox
