#pragma once
// Small stateless routines on system facts, callable from any thread.
#include <cstdint>
#include <string>

namespace velmora {

// Name part of a name=value line: the text before the first delimiter
// (empty when there is none); with L'\0' as delimiter, the first count
// characters.
std::wstring TextBefore(const std::wstring &text, int count, wchar_t delimiter);

// Byte counts as reports show them: "1023 Byte", "1.50 KB", "1.00 MB", "2.00 GB".
std::wstring SizeText(int64_t bytes);
// As SizeText, but every count below 1 KB is "0 Byte".
std::wstring SizeTextNoBytes(int64_t bytes);
// "0.00": two decimals, rounded, the user's decimal separator, no grouping.
std::wstring TwoDecimals(double value);

std::wstring WindowsFolder(); // no trailing backslash
std::wstring SystemFolder();  // no trailing backslash
std::wstring TempFolder();    // ends with a backslash

// True when path is an existing file that cannot be opened for exclusive
// reading and writing (locked, read-only, no rights).
bool IsFileInUse(const std::wstring &path);

// "Windows XP", "Windows Vista", ... for the NT versions up to 6.0;
// empty for every other version.
std::wstring WindowsName();

// Major * 65536 + minor of the file version; 0 without a version resource.
uint32_t FileVersionHigh(const std::wstring &path);

// Schedules source for deletion (operation 1) or for renaming to target
// (operation 2) at the next start of Windows. True when recorded.
// Throws EAppError("Invalid File!") for a 9x rename to a missing target
// whose name is not a valid 8.3 name.
bool MoveFileAtRestart(const std::wstring &source, const std::wstring &target, int operation);

// The same with the platform given: platform id as GetVersionExW reports it
// and the Windows folder that holds "wininit.ini" on Windows 9x.
bool MoveFileAtRestartOn(unsigned long platformId, const std::wstring &windowsFolder,
                         const std::wstring &source, const std::wstring &target, int operation);

} // namespace velmora
