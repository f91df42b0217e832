// Whole numbers from command-line arguments: all of the text, nothing else.
#pragma once

#include <charconv>
#include <string_view>

template <class T>
bool ParseNumber(std::string_view text, T& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}
