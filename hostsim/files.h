// Whole files in and out for the stand-in host: bases, scripts, screenshots
// and the files of a local games site.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace files {

// Reads the file at path into bytes; false, with the system's error code,
// when it cannot be opened or read.
bool Read(const std::wstring& path, std::string& bytes, DWORD& error);
bool Read(const std::wstring& path, std::string& bytes);

// Writes bytes to the file at path, replacing what was there in one step:
// on failure the previous file stays.
bool Write(const std::wstring& path, std::string_view bytes, DWORD& error);

}  // namespace files
