// Lines of a FIDE rating list in the combined layout the import reads
// (162 characters and CRLF), for writing small lists in tests.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view kFideListHeader =
    "ID Number      Name                                                         "
    "Fed Sex Tit  WTit OTit           FOA SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag\r\n";

inline std::string FideLine(std::string_view id, std::string_view name, std::string_view fed, char sex,
                            std::string_view title, std::string_view rating, std::string_view born) {
  std::string line(162, ' ');
  auto put = [&](size_t column, std::string_view text) { line.replace(column - 1, text.size(), text); };
  put(1, id);
  put(16, name);
  put(77, fed);
  line[80] = sex;
  put(85, title);
  put(114, rating);
  put(153, born);
  return line + "\r\n";
}
