#include "frame/ground/values.h"

#include <cstring>
#include <limits>

#include "frame/ground/memory.h"

namespace {

std::uintptr_t PointerBits(const ArgRecord& arg) {
  std::uintptr_t bits = arg.low;
  if constexpr (sizeof(std::uintptr_t) > 4) bits |= static_cast<std::uintptr_t>(arg.high) << 32;
  return bits;
}

void StorePointer(std::uint32_t* low, std::uint32_t* high, const void* pointer) {
  const auto bits = reinterpret_cast<std::uintptr_t>(pointer);
  *low = static_cast<std::uint32_t>(bits);
  if constexpr (sizeof(std::uintptr_t) > 4) {
    *high = static_cast<std::uint32_t>(static_cast<std::uint64_t>(bits) >> 32);
  } else {
    *high = 0;
  }
}

void StoreDouble(std::uint32_t* low, std::uint32_t* high, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  *low = static_cast<std::uint32_t>(bits);
  *high = static_cast<std::uint32_t>(bits >> 32);
}

double LoadDouble(std::uint32_t low, std::uint32_t high) {
  const std::uint64_t bits = (static_cast<std::uint64_t>(high) << 32) | low;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

std::int32_t ArgInt(const ArgRecord& arg) { return static_cast<std::int32_t>(arg.low); }
double ArgDouble(const ArgRecord& arg) { return LoadDouble(arg.low, arg.high); }
const char* ArgText(const ArgRecord& arg) { return reinterpret_cast<const char*>(PointerBits(arg)); }
ByteBuffer ArgBuffer(const ArgRecord& arg) { return reinterpret_cast<ByteBuffer>(PointerBits(arg)); }
bool ArgOmitted(const ArgRecord& arg) { return arg.type == kTypeOmitted; }
void* ArgPointer(const ArgRecord& arg) { return reinterpret_cast<void*>(PointerBits(arg)); }

ArgRecord MakeIntArg(std::int32_t value) {
  return {static_cast<std::uint32_t>(value), 0, kTypeInt};
}
ArgRecord MakeBoolArg(bool value) { return {value ? 1u : 0u, 0, kTypeBool}; }
ArgRecord MakeDoubleArg(double value) {
  ArgRecord arg{0, 0, kTypeDouble};
  StoreDouble(&arg.low, &arg.high, value);
  return arg;
}
ArgRecord MakeDateTimeArg(DateTime value) {
  ArgRecord arg = MakeDoubleArg(value);
  arg.type = kTypeDateTime;
  return arg;
}
ArgRecord MakeTextArg(const char* text) {
  ArgRecord arg{0, 0, kTypeText};
  StorePointer(&arg.low, &arg.high, text);
  return arg;
}
ArgRecord MakeBufferArg(ByteBuffer buffer) {
  ArgRecord arg{0, 0, kTypeBuffer};
  StorePointer(&arg.low, &arg.high, buffer);
  return arg;
}
ArgRecord MakeOmittedArg() { return {0, 0, kTypeOmitted}; }
ArgRecord MakePointerArg(void* address) {
  ArgRecord arg{0, 0, kTypeInt};
  StorePointer(&arg.low, &arg.high, address);
  return arg;
}

void SetResultInt(ResultRecord* result, std::int32_t value) {
  *result = {static_cast<std::uint32_t>(value), 0, kTypeInt};
}
void SetResultBool(ResultRecord* result, bool value) { *result = {value ? 1u : 0u, 0, kTypeBool}; }
void SetResultDouble(ResultRecord* result, double value) {
  result->type = kTypeDouble;
  StoreDouble(&result->low, &result->high, value);
}
void SetResultDateTime(ResultRecord* result, DateTime value) {
  result->type = kTypeDateTime;
  StoreDouble(&result->low, &result->high, value);
}
void SetResultText(ResultRecord* result, Text text) {
  result->type = kTypeText;
  StorePointer(&result->low, &result->high, text);
}
void SetResultBuffer(ResultRecord* result, ByteBuffer buffer) {
  result->type = kTypeBuffer;
  StorePointer(&result->low, &result->high, buffer);
}
double ResultDouble(const ResultRecord& result) { return LoadDouble(result.low, result.high); }
void* ResultPointer(const ResultRecord& result) {
  return reinterpret_cast<void*>(PointerBits(ArgRecord{result.low, result.high, result.type}));
}

namespace {

constexpr std::size_t kMaxBufferLength = std::numeric_limits<std::int32_t>::max() - kByteBufferHeaderSize;

void WriteHeader(ByteBuffer buffer, std::size_t length) {
  const std::uint32_t header[2] = {1, static_cast<std::uint32_t>(length)};
  std::memcpy(buffer, header, sizeof header);
}

}  // namespace

namespace {

ByteBuffer NewByteBuffer(const void* bytes, std::size_t length, bool plain) {
  if (length == 0 || length > kMaxBufferLength) return nullptr;
  const std::size_t size = kByteBufferHeaderSize + length;
  auto buffer = static_cast<ByteBuffer>(plain ? FrameAllocatePlain(size) : FrameAllocate(size));
  if (!buffer) return nullptr;
  WriteHeader(buffer, length);
  if (bytes) std::memcpy(buffer + kByteBufferHeaderSize, bytes, length);
  return buffer;
}

}  // namespace

ByteBuffer MakeByteBuffer(const void* bytes, std::size_t length) { return NewByteBuffer(bytes, length, false); }

ByteBuffer MakeByteBufferPlain(const void* bytes, std::size_t length) { return NewByteBuffer(bytes, length, true); }

std::size_t BufferLength(ByteBuffer buffer) {
  if (!buffer) return 0;
  std::uint32_t length;
  std::memcpy(&length, buffer + 4, sizeof length);
  return length;
}

const std::uint8_t* BufferBytes(ByteBuffer buffer) {
  return buffer ? buffer + kByteBufferHeaderSize : nullptr;
}

bool AppendToBuffer(ByteBuffer* buffer, const void* bytes, std::size_t length) {
  if (length == 0) return true;
  const std::size_t oldLength = BufferLength(*buffer);
  if (length > kMaxBufferLength - oldLength) return false;
  const std::size_t newLength = oldLength + length;
  auto grown = static_cast<ByteBuffer>(FrameResizePlain(*buffer, kByteBufferHeaderSize + newLength));
  if (!grown) return false;
  WriteHeader(grown, newLength);
  std::memcpy(grown + kByteBufferHeaderSize + oldLength, bytes, length);
  *buffer = grown;
  return true;
}

Text CopyTextN(const char* text, std::size_t length) {
  if (!text || length == 0) return nullptr;
  auto copy = static_cast<Text>(FrameAllocate(length + 1));
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

Text CopyText(const char* text) { return text ? CopyTextN(text, std::strlen(text)) : nullptr; }
