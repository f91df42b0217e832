#include "tools/gatherwriter.h"

#include <cerrno>

#if !defined(_WIN32)
#include <sys/uio.h>
#include <unistd.h>
#endif

namespace {

// Pieces a call takes (IOV_MAX is 1024 where it is known); the buffer and
// the lent bytes held before a flush.
constexpr size_t kPiecesPerCall = 1024;
constexpr size_t kBufferBytes = size_t{1} << 20;
constexpr size_t kHeldBytes = size_t{8} << 20;

}  // namespace

void GatherWriter::Hold(const Piece& piece) {
  if (piece.size == 0) return;
  Piece* last = pieces_.empty() ? nullptr : &pieces_.back();
  bool joins = last && (piece.data ? last->data && last->data + last->size == piece.data
                                   : !last->data && last->at + last->size == piece.at);
  if (joins)
    last->size += piece.size;
  else
    pieces_.push_back(piece);
  held_ += piece.size;
  if (pieces_.size() == kPiecesPerCall || buffer_.size() >= kBufferBytes || held_ >= kHeldBytes) Flush();
}

void GatherWriter::Lend(std::string_view bytes) { Hold({bytes.data(), 0, bytes.size()}); }

void GatherWriter::Copy(std::string_view bytes) {
  size_t at = buffer_.size();
  buffer_ += bytes;
  Hold({nullptr, at, bytes.size()});
}

bool GatherWriter::Flush() {
  if (!failed_ && !pieces_.empty()) failed_ = !WritePieces();
  pieces_.clear();
  buffer_.clear();
  held_ = 0;
  return !failed_;
}

#if defined(_WIN32)

bool GatherWriter::WritePieces() {
  for (const Piece& p : pieces_) {
    const char* data = p.data ? p.data : buffer_.data() + p.at;
    if (std::fwrite(data, 1, p.size, out_) != p.size) return false;
  }
  return true;
}

#else

bool GatherWriter::WritePieces() {
  if (std::fflush(out_) != 0) return false;
  std::vector<iovec> io(pieces_.size());
  for (size_t i = 0; i < pieces_.size(); ++i) {
    const Piece& p = pieces_[i];
    io[i] = {const_cast<char*>(p.data ? p.data : buffer_.data() + p.at), p.size};
  }
  int fd = fileno(out_);
  for (size_t next = 0; next < io.size();) {
    ssize_t n = writev(fd, io.data() + next, static_cast<int>(io.size() - next));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    // A short write: on from the first byte not written.
    auto done = static_cast<size_t>(n);
    while (next < io.size() && done >= io[next].iov_len) done -= io[next++].iov_len;
    if (next < io.size()) {
      io[next].iov_base = static_cast<char*>(io[next].iov_base) + done;
      io[next].iov_len -= done;
    }
  }
  return true;
}

#endif
