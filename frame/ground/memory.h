// Memory services of the frame: every text, buffer and block the program hands around comes from
// here. Static regions hold constant data; freeing or resizing a pointer into one is harmless.
#pragma once

#include <cstddef>

// Never returns null: a failed allocation is reported as "分配 %d 字节内存失败!" and ends the program.
void* FrameAllocate(std::size_t size);
// Null on failure, nothing reported.
void* FrameAllocatePlain(std::size_t size);
// As FrameAllocatePlain, the block filled with 0. A large block comes zeroed from the system, so its
// pages are not touched until they are written: cheaper than allocating and filling.
void* FrameAllocateZeroedPlain(std::size_t size);
// Null pointer: allocate. Pointer into a static region: a new block holding as much of the region
// from that point as fits. Otherwise a heap resize; failure is reported like FrameAllocate.
void* FrameResize(void* block, std::size_t size);
// Null on failure, nothing reported, `block` untouched.
void* FrameResizePlain(void* block, std::size_t size);
// Null and static-region pointers are ignored.
void FrameFree(void* block);

void RegisterStaticRegion(const void* start, std::size_t length);
bool IsInStaticRegion(const void* pointer);
// Whether `pointer` is the start of a live block of the frame's heap or lies in a static region:
// what a value passed as a text or buffer must be. The Windows heap can tell; natively every
// non-null pointer counts.
bool IsFrameBlock(const void* pointer);
