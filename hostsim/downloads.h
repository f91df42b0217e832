// Downloads for plug-ins: StartDownload fetches an address with WinINet on a
// worker thread and hands the data to the target's handler later, on the GUI
// thread. The games site can be redirected to a local folder or a local HTTP
// address (for tests and offline use).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace downloads {

// A folder, or an address "http://host:port" that stands in for the games
// site. Empty: the real site.
void RedirectGamesSite(const std::wstring& site);

// In a script run, finished downloads wait for the script's wait-download
// step, so that a transcript does not depend on network timing.
void HoldForScript(bool hold);
// Delivers the downloads that finished, one after the other in the order
// they were started, and any that finish from now on, until none is pending.
void Release();
// Downloads that finished and wait for Release.
int Finished();
// True while a target's handler runs (it may be waiting in a dialog).
bool Delivering();

// Host service 79.
void Start(const std::string& url, uint32_t targetId);
// Downloads started and not yet delivered or failed.
int Pending();
// Runs on the GUI thread when a worker posted kDownloadDoneMessage.
void Finish(LPARAM job);

// The file a games-site address stands for inside a folder: the path below
// the site, '/' as '\', and '?', '*', ':', '"', '<', '>', '|' as '_'.
std::wstring FileForPath(const std::string& pathAndQuery);

}  // namespace downloads
