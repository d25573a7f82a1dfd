#pragma once
// The 53 nodes of the privacy check tree in flat order (parents before
// their children). The leaves, in the same order, are the 42 positions of
// the selection string.
namespace velmora {

struct TPrivacyNode {
  const wchar_t *Caption;
  int Parent;     // flat index of the parent, -1 for a root
  int ImageIndex; // icon in the tree's image list
};

constexpr int kLeafImage = 8;
constexpr int kGroupImage = 9;

inline const TPrivacyNode kPrivacyNodes[] = {
    {L"Internet Explorer", -1, 0},                         // 0
    {L"Typed Urls", 0, kLeafImage},                        // 1
    {L"Cookie Files", 0, kLeafImage},                      // 2
    {L"History", 0, kLeafImage},                           // 3
    {L"Index.dat", 0, kLeafImage},                         // 4
    {L"Auto-Fill Form History", 0, kLeafImage},            // 5
    {L"Auto-Fill Password History", 0, kLeafImage},        // 6
    {L"Mozilla Firefox", -1, 4},                           // 7
    {L"Cookie Files", 7, kLeafImage},                      // 8
    {L"Download History", 7, kLeafImage},                  // 9
    {L"History", 7, kLeafImage},                           // 10
    {L"Saved Form info", 7, kLeafImage},                   // 11
    {L"Internet Cache", 7, kLeafImage},                    // 12
    {L"Google Chrome", -1, 7},                             // 13
    {L"Cookie Files", 13, kLeafImage},                     // 14
    {L"Download History", 13, kLeafImage},                 // 15
    {L"History", 13, kLeafImage},                          // 16
    {L"Saved Form info", 13, kLeafImage},                  // 17
    {L"Internet Cache", 13, kLeafImage},                   // 18
    {L"Opera", -1, 5},                                     // 19
    {L"Cookie Files", 19, kLeafImage},                     // 20
    {L"History", 19, kLeafImage},                          // 21
    {L"Internet Cache", 19, kLeafImage},                   // 22
    {L"Safari", -1, 6},                                    // 23
    {L"Cookies", 23, kLeafImage},                          // 24
    {L"Internet Cache", 23, kLeafImage},                   // 25
    {L"Internet History", 23, kLeafImage},                 // 26
    {L"Saved Form Information", 23, kLeafImage},           // 27
    {L"Windows", -1, 2},                                   // 28
    {L"Recent Document", 28, kLeafImage},                  // 29
    {L"\"Start Menu\" Run History", 28, kLeafImage},       // 30
    {L"Other Applications", -1, 1},                        // 31
    {L"Application", 31, kGroupImage},                     // 32
    {L"MS Office(97/XP/2003/2007)", 32, kLeafImage},       // 33
    {L"Visual Basic", 32, kLeafImage},                     // 34
    {L"Borland Delphi", 32, kLeafImage},                   // 35
    {L"Acrobat Reader(5.0/6.0/7.0/8.0)", 32, kLeafImage},  // 36
    {L"Photoshop(6.0/7.0/CS2)", 32, kLeafImage},           // 37
    {L"Macromedia Flash(5/6/7/8)", 32, kLeafImage},        // 38
    {L"Multimedia", 31, kGroupImage},                      // 39
    {L"Windows Media Player", 39, kLeafImage},             // 40
    {L"RealPlayer(6.0/8.0/10.0/RealOne)", 39, kLeafImage}, // 41
    {L"Quicktime", 39, kLeafImage},                        // 42
    {L"Internet", 31, kGroupImage},                        // 43
    {L"GetRight", 43, kLeafImage},                         // 44
    {L"Download Accelerator Plus", 43, kLeafImage},        // 45
    {L"Morpheus", 43, kLeafImage},                         // 46
    {L"Sun Java", 43, kLeafImage},                         // 47
    {L"Google Toolbar 4.0", 43, kLeafImage},               // 48
    {L"Utilities", 31, kGroupImage},                       // 49
    {L"WinRar", 49, kLeafImage},                           // 50
    {L"WinZip", 49, kLeafImage},                           // 51
    {L"7-Zip", 49, kLeafImage},                            // 52
};

} // namespace velmora
