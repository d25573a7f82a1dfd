#pragma once
// Folder and file links (junctions or symbolic links) for tests of code that must
// never follow them.
#include <string>

namespace velmora::test {

// Makes `link` a link to the folder `target` (both full Windows paths;
// `link` must not exist). On Windows a junction is set with
// FSCTL_SET_REPARSE_POINT; Wine 8 supports neither that nor
// CreateSymbolicLinkW, but shows a Unix symbolic link inside the prefix as
// a folder with FILE_ATTRIBUTE_REPARSE_POINT, so there one is made with
// /bin/ln. True when the link exists afterwards as a reparse point.
bool MakeFolderLink(const std::wstring &link, const std::wstring &target);

// Removes such a link (never what it points at). True when it is gone.
bool RemoveFolderLink(const std::wstring &link);

// Under Wine: the Unix name of a Windows path (its parent must exist);
// empty elsewhere.
std::string UnixName(const std::wstring &path);
// Under Wine: starts the Unix program given by its Z: path. The child's
// handle is not a reliable signal of its end: wait for its effect instead.
bool StartUnixProgram(const std::wstring &program, std::wstring commandLine);

// Makes `link` a symbolic link to the existing file `target`. Wine 8's
// CreateSymbolicLinkW reports success without making anything, so there a
// Unix symbolic link is made (replacing one a killed run left), which Wine
// shows as a plain file. True when the link exists afterwards.
bool MakeFileLink(const std::wstring &link, const std::wstring &target);
// Removes such a link, never its target (Wine's DeleteFileW on a Unix link
// deletes the target). True when it is gone.
bool RemoveFileLink(const std::wstring &link);

} // namespace velmora::test
