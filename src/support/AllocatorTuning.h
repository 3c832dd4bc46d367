#pragma once

// Makes the C heap keep the memory of freed multi-megabyte blocks for the next picture.
// Called once at the start of each program, before any thread is started.
void KeepImageMemoryMapped();
