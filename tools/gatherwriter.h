// Output written in few large calls: bytes that stay where they are until
// the next flush (a mapped input) are handed to the system where they lie,
// adjacent ones as one piece and many pieces to a call; other bytes are
// copied into a buffer first.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class GatherWriter {
 public:
  explicit GatherWriter(std::FILE* out) : out_(out) {}
  GatherWriter(const GatherWriter&) = delete;
  GatherWriter& operator=(const GatherWriter&) = delete;

  // Bytes that stay valid until the next Flush.
  void Lend(std::string_view bytes);
  // Bytes copied now.
  void Copy(std::string_view bytes);
  // Writes everything held. False once a write has failed.
  bool Flush();
  // Bytes held and not yet written.
  size_t held() const { return held_; }

 private:
  struct Piece {
    const char* data;  // null: `size` bytes of the buffer from `at`
    size_t at, size;
  };
  void Hold(const Piece& piece);
  bool WritePieces();

  std::FILE* out_;
  std::vector<Piece> pieces_;
  std::string buffer_;
  size_t held_ = 0;
  bool failed_ = false;
};
