// ByteFile: a binary file read and written through one 2048-byte window, with
// big-endian integers, one-byte Booleans and length-prefixed strings on top of
// single bytes. Used for players.dat and player_info.dat; every user opens one
// for a single complete load or save.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class ByteFile {
 public:
  static constexpr int32_t WindowSize = 2048;

  // Opens an existing file for reading and writing (openExisting) or creates
  // or truncates one. Never throws; a failed open sets `failed`.
  ByteFile(const std::string& path, bool openExisting);
  // Writes a dirty window back (one attempt) and closes the file.
  virtual ~ByteFile();

  ByteFile(const ByteFile&) = delete;
  ByteFile& operator=(const ByteFile&) = delete;

  virtual void WriteByte(uint8_t b);
  virtual uint8_t ReadByte();
  virtual void SeekTo(int32_t offset);
  virtual bool AtEnd();

  void WriteInt(int32_t v);
  int32_t ReadInt();
  void WriteWord(uint16_t v);
  uint16_t ReadWord();
  void WriteBool(bool v);
  bool ReadBool();
  // Writes a length byte and the bytes; a longer string is cut to 255 bytes.
  void WriteStr(std::string_view s);
  std::string ReadStr();
  // ReadStr into out, which has room for 255 bytes; returns the length.
  int32_t ReadStrTo(char* out);
  // n bytes at once: the same as n calls of WriteByte or ReadByte, copied
  // through the window a block at a time.
  void WriteBytes(const void* bytes, size_t n);
  void ReadBytes(void* bytes, size_t n);

  // Set when opening failed or a string ran past the end of the file; from
  // then on every read yields 0.
  bool failed = false;

 private:
  void NextBlock();
  bool WriteWindowAt(int32_t windowStart);  // true when all bytes were written
  int32_t ReadWindow();                     // reads up to 2048 bytes at the file position

  std::FILE* file = nullptr;
  uint8_t window[WindowSize] = {};
  bool dirty = false;
  int32_t bufCount = 0;  // valid bytes in the window
  int32_t bufPos = 0;    // window bytes before the cursor
  int32_t filePos = 0;   // absolute file offset of the cursor
  int32_t fileSize = 0;  // size of the file as far as known
};
