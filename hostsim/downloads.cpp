#include "hostsim/downloads.h"

#include <wininet.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "base/ownedhandle.h"
#include "hostsim/files.h"
#include "hostsim/hoststate.h"
#include "hostsim/messagewnd.h"
#include "hostsim/transcript.h"

namespace downloads {

namespace {

std::wstring siteFolder;
std::string siteAddress;  // "http://127.0.0.1:8000", no trailing slash
int pending = 0;
bool hold = false;
bool released = false;
std::vector<LPARAM> parked;  // finished jobs waiting for Release
uint32_t started = 0;
bool delivering = false;  // a target's handler is running

struct Job {
  uint32_t order = 0;    // of its start, counting from 1
  std::string url;       // as the plug-in asked
  std::string fetchUrl;  // after redirection; empty when read from a file
  std::wstring file;     // the local file standing for the address
  uint16_t target = 0;
  bool ok = false;
  std::string data;
  std::string failure;
};

// Splits "scheme://host[:port]/rest" into host and "/rest"; false when the
// address has another form.
bool SplitUrl(const std::string& url, std::string& hostName, std::string& rest) {
  size_t scheme = url.find("://");
  if (scheme == std::string::npos) return false;
  size_t start = scheme + 3;
  size_t slash = url.find('/', start);
  std::string authority = url.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
  rest = slash == std::string::npos ? "/" : url.substr(slash);
  size_t colon = authority.find(':');
  hostName = authority.substr(0, colon);
  for (char& c : hostName)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return true;
}

bool ReadLocalFile(Job& job) {
  if (files::Read(job.file, job.data)) return true;
  job.failure = "no such file in the site folder";
  return false;
}

bool Fetch(Job& job) {
  HINTERNET session = InternetOpenA("Lumora", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (!session) {
    job.failure = "WinINet error " + std::to_string(GetLastError());
    return false;
  }
  DWORD timeout = 15000;
  InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
  InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
  HINTERNET request = InternetOpenUrlA(
      session, job.fetchUrl.c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES,
      0);
  bool ok = false;
  if (!request) {
    job.failure = "WinINet error " + std::to_string(GetLastError());
  } else {
    DWORD status = 0, size = sizeof status;
    bool http = job.fetchUrl.rfind("http", 0) == 0;
    if (http &&
        HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) &&
        status != 200) {
      job.failure = "HTTP status " + std::to_string(status);
    } else {
      char buffer[65536];
      DWORD got = 0;
      ok = true;
      while (true) {
        if (!InternetReadFile(request, buffer, sizeof buffer, &got)) {
          job.failure = "WinINet error " + std::to_string(GetLastError()) + " while reading";
          ok = false;
          break;
        }
        if (got == 0) break;
        job.data.append(buffer, got);
      }
    }
    InternetCloseHandle(request);
  }
  InternetCloseHandle(session);
  return ok;
}

DWORD WINAPI Work(void* parameter) {
  auto* job = static_cast<Job*>(parameter);
  job->ok = job->fetchUrl.empty() ? ReadLocalFile(*job) : Fetch(*job);
  if (!PostMessageW(host.mainWindow, kDownloadDoneMessage, 0, reinterpret_cast<LPARAM>(job))) delete job;
  return 0;
}

const DownloadTarget* TargetOf(uint16_t id) {
  for (const DownloadTarget& t : host.downloadTargets)
    if (t.id == id) return &t;
  return nullptr;
}

void TellFailure(const Job& job) {
  RECT r{};
  GetWindowRect(host.mainWindow, &r);
  std::wstring url(job.url.begin(), job.url.end());
  std::wstring why(job.failure.begin(), job.failure.end());
  messagewnd::Show(host.mainWindow, L"Download failed",
                   {L"Nothing could be downloaded from " + url + L".", L"Reason: " + why + L".", L"OK"}, 1,
                   POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

}  // namespace

void RedirectGamesSite(const std::wstring& site) {
  siteFolder.clear();
  siteAddress.clear();
  if (site.rfind(L"http://", 0) == 0 || site.rfind(L"https://", 0) == 0) {
    siteAddress.assign(site.begin(), site.end());
    while (!siteAddress.empty() && siteAddress.back() == '/') siteAddress.pop_back();
  } else {
    siteFolder = site;
    while (!siteFolder.empty() && (siteFolder.back() == L'\\' || siteFolder.back() == L'/'))
      siteFolder.pop_back();
  }
}

std::wstring FileForPath(const std::string& pathAndQuery) {
  std::wstring file;
  for (char c : pathAndQuery.substr(pathAndQuery.find_first_not_of('/') == std::string::npos
                                        ? pathAndQuery.size()
                                        : pathAndQuery.find_first_not_of('/'))) {
    switch (c) {
      case '/': file += L'\\'; break;
      case '?':
      case '*':
      case ':':
      case '"':
      case '<':
      case '>':
      case '|': file += L'_'; break;
      default: file += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
  }
  return file;
}

// True when a path of the site climbs out of its folder ("." or ".." as a
// segment, with either kind of slash).
bool LeavesFolder(const std::string& pathAndQuery) {
  std::string path = pathAndQuery.substr(0, pathAndQuery.find('?'));
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string::npos) end = path.size();
    std::string_view segment(path.data() + start, end - start);
    if (segment == "." || segment == "..") return true;
    start = end + 1;
  }
  return false;
}

namespace {
// The one web site whose pages this stand-in serves from a folder or a local
// address (--site); every other address is fetched as it is.
constexpr std::string_view kServedSite = "chessarchive.example.org";
}  // namespace

void Start(const std::string& url, uint32_t targetId) {
  auto job = std::make_unique<Job>();
  job->order = ++started;
  job->url = url;
  job->target = static_cast<uint16_t>(targetId & 0xFFFF);
  transcript::Line("download started for target " + std::to_string(job->target) + " " +
                   transcript::Quote(url));
  std::string hostName, rest;
  bool split = SplitUrl(url, hostName, rest);
  bool gamesSite = split && hostName == kServedSite;
  if (gamesSite && !siteFolder.empty()) {
    job->file = siteFolder + L"\\" + FileForPath(rest);
  } else if (gamesSite && !siteAddress.empty()) {
    job->fetchUrl = siteAddress + rest;
  } else {
    job->fetchUrl = url;
  }
  ++pending;
  if (!split)
    job->failure = "not a web address";
  else if (targetId > 0xFFFF)  // the plug-in must pass back only the low 16 bits
    job->failure = "target id " + std::to_string(targetId) + " carries the host's high bits";
  else if (!TargetOf(job->target))
    job->failure = "no download target " + std::to_string(job->target);
  else if (!job->file.empty() && LeavesFolder(rest))
    job->failure = "not in the site folder";
  if (!job->failure.empty()) {
    PostMessageW(host.mainWindow, kDownloadDoneMessage, 0, reinterpret_cast<LPARAM>(job.release()));
    return;
  }
  Job* raw = job.release();
  if (!OwnedHandle(CreateThread(nullptr, 0, Work, raw, 0, nullptr))) {
    raw->failure = "no worker thread";
    PostMessageW(host.mainWindow, kDownloadDoneMessage, 0, reinterpret_cast<LPARAM>(raw));
  }
}

int Pending() { return pending; }

void HoldForScript(bool on) { hold = on; }

int Finished() { return static_cast<int>(parked.size()); }

namespace {

// Hands the oldest held download on; the next follows when its handler has
// returned, so that no handler runs inside another's dialog.
void DeliverNextParked() {
  if (parked.empty()) return;
  LPARAM job = parked.front();
  parked.erase(parked.begin());
  PostMessageW(host.mainWindow, kDownloadDoneMessage, 0, job);
}

struct DeliverNextWhenDone {
  ~DeliverNextWhenDone() { DeliverNextParked(); }
};

}  // namespace

void Release() {
  released = true;
  // In the order they were started, whichever finished first.
  std::sort(parked.begin(), parked.end(), [](LPARAM a, LPARAM b) {
    return reinterpret_cast<Job*>(a)->order < reinterpret_cast<Job*>(b)->order;
  });
  DeliverNextParked();
}

void Finish(LPARAM parameter) {
  if (hold && !released) {
    parked.push_back(parameter);
    return;
  }
  DeliverNextWhenDone next;
  std::unique_ptr<Job> job(reinterpret_cast<Job*>(parameter));
  if (--pending == 0) released = false;
  const DownloadTarget* target = TargetOf(job->target);
  if (!job->ok || !target) {
    transcript::Line("download failed for target " + std::to_string(job->target) + ": " + job->failure);
    delivering = true;  // the host's message waits for the user like a handler's dialog
    TellFailure(*job);
    delivering = false;
    return;
  }
  transcript::Line("download delivered to target " + std::to_string(job->target) + ": " +
                   std::to_string(job->data.size()) + " bytes");
  delivering = true;
  if (target->handler) target->handler(job->data.c_str());
  delivering = false;
}

bool Delivering() { return delivering; }

}  // namespace downloads
