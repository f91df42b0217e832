// The player lines of a list file read on two threads.
#include "ratings/listlines.h"

#include "files/hugepages.h"
#include "ratings/boththreads.h"
#include "ratings/linescan.h"

namespace {

// A list smaller than this is read on one thread: starting a second one
// would cost more than it saves.
constexpr size_t kSplitFrom = size_t{4} << 20;
// Read bytes leave the resident set every this many.
constexpr size_t kForgetEvery = size_t{4} << 20;

struct Part {
  std::string_view text;  // within the list's body
  std::vector<ListLine> lines;
  ScanEnd end{};
};

void TakeLine(const ListFormat& format, std::string_view line, std::vector<ListLine>& lines) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  ListLine read;
  if (ReadListNumbers(format, line, read.id, read.rating)) lines.push_back(read);
}

void ReadPart(const OpenedList& list, Part& part) {
  // Lines are 75 bytes and more in every layout.
  ReserveLarge(part.lines, part.text.size() / 70 + 16);
  const char* file = list.file.bytes.data();
  const char* forgotten = part.text.data();
  part.end = ForEachLine(part.text, [&](std::string_view line) {
    TakeLine(list.format, line, part.lines);
    if (static_cast<size_t>(line.data() - forgotten) >= kForgetEvery) {
      list.file.Forget(static_cast<size_t>(forgotten - file), static_cast<size_t>(line.data() - file));
      forgotten = line.data();
    }
  });
}

}  // namespace

bool ReadListLines(const OpenedList& list, ListLineParts& parts, std::string& error) {
  parts.clear();
  const std::string_view body = list.body;
  size_t split = body.size() >= kSplitFrom ? body.find('\n', body.size() / 2) : std::string_view::npos;
  std::vector<Part> read(split == std::string_view::npos ? 1 : 2);
  read[0].text = body.substr(0, split == std::string_view::npos ? body.size() : split + 1);
  if (read.size() == 2) {
    read[1].text = body.substr(split + 1);
    RunBoth(
        true, [&] { ReadPart(list, read[0]); }, [&] { ReadPart(list, read[1]); });
    // A Ctrl-Z in the first half ends the text there.
    if (read[0].end.textEnd < read[0].text.size()) read.pop_back();
  } else {
    ReadPart(list, read[0]);
  }
  Part& last = read.back();
  std::string_view open = last.text.substr(last.end.openLine, last.end.textEnd - last.end.openLine);
  if (!open.empty()) {
    if (!TakeOpenLine(list, open, error)) return false;
    TakeLine(list.format, open, last.lines);
  }
  size_t players = 0;
  for (Part& part : read) {
    players += part.lines.size();
    parts.push_back(std::move(part.lines));
  }
  if (players == 0) {
    error = list.path + " lists no players";
    return false;
  }
  return true;
}
