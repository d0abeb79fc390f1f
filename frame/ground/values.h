// The values that cross the command interface: texts, byte buffers, date-times, colours, and the
// 12-byte argument and result records. Their layouts are fixed; C++ conveniences live beside them
// (frame/owned.h) and never change what travels.
#pragma once

#include <cstddef>
#include <cstdint>

// A NUL-terminated GBK string on the frame heap, owned by whoever received it. Null is the empty
// text.
using Text = char*;

// One heap block: int32 dimension count (always 1), int32 length n, then the n bytes. Null is the
// empty buffer; a buffer of length 0 is never allocated.
using ByteBuffer = std::uint8_t*;
inline constexpr std::size_t kByteBufferHeaderSize = 8;

// OLE automation date, local time: days since 1899-12-30 00:00, fraction = time of day.
using DateTime = double;
inline constexpr DateTime kInvalidDateTime = -657434.0;  // 100-01-01 00:00:00

// 0x00BBGGRR; kDefaultColour means the system default (backgrounds) or transparent.
using Colour = std::uint32_t;
inline constexpr Colour kDefaultColour = 0xFF000000u;

enum TypeCode : std::uint32_t {
  kTypeOmitted = 0,
  kTypeInt = 0x80000301,
  kTypeDouble = 0x80000601,
  kTypeBool = 0x80000002,
  kTypeDateTime = 0x80000003,
  kTypeText = 0x80000004,
  kTypeBuffer = 0x80000005,
  kTypeSubroutine = 0x80000006,
};

// Argument of a command or method. Omitted arguments have type code 0 and value 0.
struct ArgRecord {
  std::uint32_t low;
  std::uint32_t high;
  std::uint32_t type;
};
static_assert(sizeof(ArgRecord) == 12);

// What a command hands back; the caller takes the value from the first two words.
struct ResultRecord {
  std::uint32_t low;
  std::uint32_t high;
  std::uint32_t type;
};
static_assert(sizeof(ResultRecord) == 12);

// Signature shared by every command and component method.
using CommandFunction = void (*)(ResultRecord* result, int argCount, const ArgRecord* args);

// Typed views of a record's value words. A pointer is stored in the low word (the 32-bit program);
// the 64-bit build keeps the high half in `high` so the same records work there.
std::int32_t ArgInt(const ArgRecord& arg);
double ArgDouble(const ArgRecord& arg);  // the two words as one IEEE double
const char* ArgText(const ArgRecord& arg);
ByteBuffer ArgBuffer(const ArgRecord& arg);
bool ArgOmitted(const ArgRecord& arg);
// The address a by-reference argument carries (for example a find handle slot).
void* ArgPointer(const ArgRecord& arg);

ArgRecord MakeIntArg(std::int32_t value);
ArgRecord MakeBoolArg(bool value);
ArgRecord MakeDoubleArg(double value);
ArgRecord MakeDateTimeArg(DateTime value);
ArgRecord MakeTextArg(const char* text);
ArgRecord MakeBufferArg(ByteBuffer buffer);
ArgRecord MakeOmittedArg();
ArgRecord MakePointerArg(void* address);

void SetResultInt(ResultRecord* result, std::int32_t value);
void SetResultBool(ResultRecord* result, bool value);
void SetResultDouble(ResultRecord* result, double value);
void SetResultDateTime(ResultRecord* result, DateTime value);
void SetResultText(ResultRecord* result, Text text);          // hands ownership to the caller
void SetResultBuffer(ResultRecord* result, ByteBuffer buffer);  // hands ownership to the caller
double ResultDouble(const ResultRecord& result);
void* ResultPointer(const ResultRecord& result);

// Byte buffers. Lengths above INT32_MAX cannot be stored and make the buffer empty.
// Null when length is 0. Memory exhausted is reported as FrameAllocate reports it.
ByteBuffer MakeByteBuffer(const void* bytes, std::size_t length);
// Null when length is 0 or when the memory cannot be had: for a file's whole content, whose size
// the user chose.
ByteBuffer MakeByteBufferPlain(const void* bytes, std::size_t length);
std::size_t BufferLength(ByteBuffer buffer);                       // 0 for null
const std::uint8_t* BufferBytes(ByteBuffer buffer);                // null for null
// Appends to *buffer, growing or creating it; false (and *buffer unchanged) when out of memory.
bool AppendToBuffer(ByteBuffer* buffer, const void* bytes, std::size_t length);

// A new text holding a copy of `text`. The empty text, whether null or "", gives null.
Text CopyText(const char* text);
Text CopyTextN(const char* text, std::size_t length);
