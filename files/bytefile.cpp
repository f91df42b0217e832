#include "files/bytefile.h"

#include <algorithm>
#include <cstring>

#include "files/stdfile.h"

ByteFile::ByteFile(const std::string& path, bool openExisting) {
  if (openExisting) {
    int64_t size = SizeOfFile(path);
    if (size < 0) {
      failed = true;
      return;
    }
    fileSize = static_cast<int32_t>(std::min<int64_t>(size, INT32_MAX));
    file = std::fopen(path.c_str(), "r+b");
    // A file that may only be read still loads; writes to it are then lost
    // like those of any failed write.
    if (!file) file = std::fopen(path.c_str(), "rb");
  } else {
    file = std::fopen(path.c_str(), "w+b");
  }
  if (!file) {
    failed = true;
    return;
  }
  // Unbuffered: the window is the only buffer, so each window move is one
  // system read or write.
  std::setvbuf(file, nullptr, _IONBF, 0);
  if (openExisting) {
    // The first read counts like the open: a file that cannot be read is a
    // failed file, not an empty one.
    size_t n = std::fread(window, 1, WindowSize, file);
    failed = std::ferror(file) != 0;
    std::clearerr(file);
    bufCount = failed ? 0 : static_cast<int32_t>(n);
  }
}

ByteFile::~ByteFile() {
  if (!file) return;
  if (dirty) WriteWindowAt(filePos - bufPos);
  std::fclose(file);
}

bool ByteFile::WriteWindowAt(int32_t windowStart) {
  if (!file || std::fseek(file, windowStart, SEEK_SET) != 0) return false;
  size_t written = std::fwrite(window, 1, static_cast<size_t>(bufCount), file);
  return written == static_cast<size_t>(bufCount);
}

int32_t ByteFile::ReadWindow() {
  if (!file) return 0;
  // A read after a write needs a positioning call in between.
  std::fseek(file, 0, SEEK_CUR);
  size_t n = std::fread(window, 1, WindowSize, file);
  std::clearerr(file);
  return static_cast<int32_t>(n);
}

void ByteFile::NextBlock() {
  if (dirty) {
    for (int attempt = 0; attempt < 5; ++attempt)
      if (WriteWindowAt(filePos - bufPos)) break;
  }
  if (file) {
    long pos = std::ftell(file);
    if (pos >= 0) filePos = static_cast<int32_t>(pos);
  }
  fileSize = std::max(fileSize, filePos);
  bufCount = ReadWindow();
  bufPos = 0;
  dirty = false;
}

void ByteFile::WriteByte(uint8_t b) {
  if (bufPos >= WindowSize) NextBlock();
  ++bufPos;
  ++filePos;
  dirty = dirty || b != window[bufPos - 1] || bufPos > bufCount;
  window[bufPos - 1] = b;
  bufCount = std::max(bufCount, bufPos);
}

uint8_t ByteFile::ReadByte() {
  if (bufPos >= bufCount) NextBlock();
  if (bufPos >= bufCount || failed) return 0;
  ++bufPos;
  ++filePos;
  return window[bufPos - 1];
}

void ByteFile::SeekTo(int32_t offset) {
  int64_t d = int64_t{bufPos} + (int64_t{offset} - filePos);
  if (d >= 0 && d <= bufCount) {
    bufPos = static_cast<int32_t>(d);
  } else {
    if (dirty) {
      int32_t windowStart = filePos - bufPos;
      WriteWindowAt(windowStart);
      fileSize = std::max(fileSize, windowStart + bufCount);
      dirty = false;
    }
    if (file) std::fseek(file, offset, SEEK_SET);
    bufPos = 0;
    bufCount = ReadWindow();
  }
  filePos = offset;
}

bool ByteFile::AtEnd() {
  if (bufPos < bufCount) return false;
  if (!file) return true;
  long pos = std::ftell(file);
  if (std::fseek(file, 0, SEEK_END) != 0) return true;
  long end = std::ftell(file);
  std::fseek(file, pos, SEEK_SET);
  return pos >= end;
}

void ByteFile::WriteInt(int32_t v) {
  auto u = static_cast<uint32_t>(v);
  WriteByte(static_cast<uint8_t>(u >> 24));
  WriteByte(static_cast<uint8_t>(u >> 16));
  WriteByte(static_cast<uint8_t>(u >> 8));
  WriteByte(static_cast<uint8_t>(u));
}

int32_t ByteFile::ReadInt() {
  uint32_t u = uint32_t{ReadByte()} << 24;
  u |= uint32_t{ReadByte()} << 16;
  u |= uint32_t{ReadByte()} << 8;
  u |= ReadByte();
  return static_cast<int32_t>(u);
}

void ByteFile::WriteWord(uint16_t v) {
  WriteByte(static_cast<uint8_t>(v >> 8));
  WriteByte(static_cast<uint8_t>(v));
}

uint16_t ByteFile::ReadWord() {
  uint16_t high = ReadByte();
  return static_cast<uint16_t>(high << 8 | ReadByte());
}

void ByteFile::WriteBool(bool v) { WriteByte(v ? 1 : 0); }

bool ByteFile::ReadBool() { return ReadByte() != 0; }

void ByteFile::WriteStr(std::string_view s) {
  size_t n = std::min<size_t>(s.size(), 255);
  WriteByte(static_cast<uint8_t>(n));
  for (size_t i = 0; i < n; ++i) WriteByte(static_cast<uint8_t>(s[i]));
}

void ByteFile::WriteBytes(const void* bytes, size_t n) {
  auto from = static_cast<const uint8_t*>(bytes);
  while (n > 0) {
    if (bufPos >= WindowSize) NextBlock();
    size_t k = std::min(n, static_cast<size_t>(WindowSize - bufPos));
    // As WriteByte: dirty once a byte changes or the valid data grows.
    dirty =
        dirty || bufPos + static_cast<int32_t>(k) > bufCount || std::memcmp(window + bufPos, from, k) != 0;
    std::memcpy(window + bufPos, from, k);
    bufPos += static_cast<int32_t>(k);
    filePos += static_cast<int32_t>(k);
    bufCount = std::max(bufCount, bufPos);
    from += k;
    n -= k;
  }
}

void ByteFile::ReadBytes(void* bytes, size_t n) {
  auto to = static_cast<uint8_t*>(bytes);
  while (n > 0) {
    if (bufPos >= bufCount) NextBlock();
    if (bufPos >= bufCount || failed) {
      std::memset(to, 0, n);  // as ReadByte: zeros, and the cursor stays
      return;
    }
    size_t k = std::min(n, static_cast<size_t>(bufCount - bufPos));
    std::memcpy(to, window + bufPos, k);
    bufPos += static_cast<int32_t>(k);
    filePos += static_cast<int32_t>(k);
    to += k;
    n -= k;
  }
}

int32_t ByteFile::ReadStrTo(char* out) {
  int32_t n = ReadByte();
  if (int64_t{filePos} + n > fileSize) {
    failed = true;
    n = 0;
  }
  ReadBytes(out, static_cast<size_t>(n));
  return n;
}

std::string ByteFile::ReadStr() {
  char bytes[255];
  int32_t n = ReadStrTo(bytes);
  return std::string(bytes, static_cast<size_t>(n));
}
