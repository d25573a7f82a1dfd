#pragma once
// The nodes of the privacy check tree. The first 53 are the tree as it
// first shipped, in flat order; the groups added later follow them here but
// are shown where After puts them. A leaf's Position (1-based) is its place
// in the stored selection string: the first 42 keep theirs, new leaves take
// the next ones, so a stored selection keeps its meaning. TextKey is the
// index of the language-pack caption ("RzCheckTree1.Items[k].Caption"):
// each node keeps its flat index, the new leaves share the captions of
// Chrome's leaves and the new groups take the next free indexes.
#include "app/controls/CheckTree.h"
#include "settings/ConfigFile.h"

#include <string>

namespace velmora {

struct TPrivacyNode {
  const wchar_t *Caption;
  int Parent;       // index of the parent, -1 for a root
  int ImageIndex;   // icon in the tree's image list
  int Position;     // leaves: 1-based place in the selection string; 0 for a parent
  int After = -1;   // shown right after this sibling; -1: after the last one
  int TextKey = -1; // language-pack caption index; -1: its own index
};

constexpr int kLeafImage = 8;
constexpr int kGroupImage = 9;
constexpr int kTreeImageCount = 14;
// Leaves of a stored selection written before the Edge, Brave and Vivaldi groups.
constexpr size_t kFirstSelectionLength = 42;

inline const TPrivacyNode kPrivacyNodes[] = {
    {L"Internet Explorer", -1, 0, 0},                          // 0
    {L"Typed Urls", 0, kLeafImage, 1},                         // 1
    {L"Cookie Files", 0, kLeafImage, 2},                       // 2
    {L"History", 0, kLeafImage, 3},                            // 3
    {L"Index.dat", 0, kLeafImage, 4},                          // 4
    {L"Auto-Fill Form History", 0, kLeafImage, 5},             // 5
    {L"Auto-Fill Password History", 0, kLeafImage, 6},         // 6
    {L"Mozilla Firefox", -1, 4, 0},                            // 7
    {L"Cookie Files", 7, kLeafImage, 7},                       // 8
    {L"Download History", 7, kLeafImage, 8},                   // 9
    {L"History", 7, kLeafImage, 9},                            // 10
    {L"Saved Form info", 7, kLeafImage, 10},                   // 11
    {L"Internet Cache", 7, kLeafImage, 11},                    // 12
    {L"Google Chrome", -1, 7, 0},                              // 13
    {L"Cookie Files", 13, kLeafImage, 12},                     // 14
    {L"Download History", 13, kLeafImage, 13},                 // 15
    {L"History", 13, kLeafImage, 14},                          // 16
    {L"Saved Form info", 13, kLeafImage, 15},                  // 17
    {L"Internet Cache", 13, kLeafImage, 16},                   // 18
    {L"Opera", -1, 5, 0},                                      // 19
    {L"Cookie Files", 19, kLeafImage, 17},                     // 20
    {L"History", 19, kLeafImage, 18},                          // 21
    {L"Internet Cache", 19, kLeafImage, 19},                   // 22
    {L"Safari", -1, 6, 0},                                     // 23
    {L"Cookies", 23, kLeafImage, 20},                          // 24
    {L"Internet Cache", 23, kLeafImage, 21},                   // 25
    {L"Internet History", 23, kLeafImage, 22},                 // 26
    {L"Saved Form Information", 23, kLeafImage, 23},           // 27
    {L"Windows", -1, 2, 0},                                    // 28
    {L"Recent Document", 28, kLeafImage, 24},                  // 29
    {L"\"Start Menu\" Run History", 28, kLeafImage, 25},       // 30
    {L"Other Applications", -1, 1, 0},                         // 31
    {L"Application", 31, kGroupImage, 0},                      // 32
    {L"MS Office(97/XP/2003/2007)", 32, kLeafImage, 26},       // 33
    {L"Visual Basic", 32, kLeafImage, 27},                     // 34
    {L"Borland Delphi", 32, kLeafImage, 28},                   // 35
    {L"Acrobat Reader(5.0/6.0/7.0/8.0)", 32, kLeafImage, 29},  // 36
    {L"Photoshop(6.0/7.0/CS2)", 32, kLeafImage, 30},           // 37
    {L"Macromedia Flash(5/6/7/8)", 32, kLeafImage, 31},        // 38
    {L"Multimedia", 31, kGroupImage, 0},                       // 39
    {L"Windows Media Player", 39, kLeafImage, 32},             // 40
    {L"RealPlayer(6.0/8.0/10.0/RealOne)", 39, kLeafImage, 33}, // 41
    {L"Quicktime", 39, kLeafImage, 34},                        // 42
    {L"Internet", 31, kGroupImage, 0},                         // 43
    {L"GetRight", 43, kLeafImage, 35},                         // 44
    {L"Download Accelerator Plus", 43, kLeafImage, 36},        // 45
    {L"Morpheus", 43, kLeafImage, 37},                         // 46
    {L"Sun Java", 43, kLeafImage, 38},                         // 47
    {L"Google Toolbar 4.0", 43, kLeafImage, 39},               // 48
    {L"Utilities", 31, kGroupImage, 0},                        // 49
    {L"WinRar", 49, kLeafImage, 40},                           // 50
    {L"WinZip", 49, kLeafImage, 41},                           // 51
    {L"7-Zip", 49, kLeafImage, 42},                            // 52
    {L"Microsoft Edge", -1, 11, 0, 13, 53},                    // 53
    {L"Cookie Files", 53, kLeafImage, 43, -1, 14},             // 54
    {L"Download History", 53, kLeafImage, 44, -1, 15},         // 55
    {L"History", 53, kLeafImage, 45, -1, 16},                  // 56
    {L"Saved Form info", 53, kLeafImage, 46, -1, 17},          // 57
    {L"Internet Cache", 53, kLeafImage, 47, -1, 18},           // 58
    {L"Brave", -1, 12, 0, 53, 54},                             // 59
    {L"Cookie Files", 59, kLeafImage, 48, -1, 14},             // 60
    {L"Download History", 59, kLeafImage, 49, -1, 15},         // 61
    {L"History", 59, kLeafImage, 50, -1, 16},                  // 62
    {L"Saved Form info", 59, kLeafImage, 51, -1, 17},          // 63
    {L"Internet Cache", 59, kLeafImage, 52, -1, 18},           // 64
    {L"Vivaldi", -1, 13, 0, 59, 55},                           // 65
    {L"Cookie Files", 65, kLeafImage, 53, -1, 14},             // 66
    {L"Download History", 65, kLeafImage, 54, -1, 15},         // 67
    {L"History", 65, kLeafImage, 55, -1, 16},                  // 68
    {L"Saved Form info", 65, kLeafImage, 56, -1, 17},          // 69
    {L"Internet Cache", 65, kLeafImage, 57, -1, 18},           // 70
};

// Model and tree place of a node.
inline TNodePlace PlaceOf(const TPrivacyNode &node) {
  return {node.Position - 1, node.After, node.TextKey};
}

// The selection to show for the stored one: the default when nothing is
// stored; a selection from before the Edge, Brave and Vivaldi groups keeps
// its marks and gives their leaves the default marks of Chrome's leaves.
// Any other text is shown as it is: its leaves where it has '0' or '1'.
inline std::wstring SelectionToShow(const std::wstring &stored) {
  if (stored.empty())
    return cfg::kDefaultSelection;
  if (stored.size() == kFirstSelectionLength)
    return stored + (cfg::kDefaultSelection + kFirstSelectionLength);
  return stored;
}

} // namespace velmora
