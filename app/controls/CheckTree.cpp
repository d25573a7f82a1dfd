#include "app/controls/CheckTree.h"
#include "app/controls/Pictures.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

namespace velmora {

int TCheckTreeModel::Add(int parent, std::wstring caption, int imageIndex,
                         const TNodePlace &place) {
  TNode node;
  node.Caption = std::move(caption);
  node.ImageIndex = imageIndex;
  node.Parent = parent;
  node.Position = place.Position;
  node.TextKey = place.TextKey;
  nodes_.push_back(std::move(node));
  const int index = Count() - 1;
  if (parent >= 0)
    nodes_.at(static_cast<size_t>(parent)).Children.push_back(index);
  return index;
}

void TCheckTreeModel::SetCaption(int index, const std::wstring &caption) {
  nodes_.at(static_cast<size_t>(index)).Caption = caption;
}

void TCheckTreeModel::SetChecked(int index, bool checked) {
  SetSubtree(index, checked ? TCheckState::Checked : TCheckState::Unchecked);
  UpdateAncestors(index);
}

void TCheckTreeModel::Toggle(int index) {
  SetChecked(index, Node(index).State != TCheckState::Checked);
}

void TCheckTreeModel::SetSubtree(int index, TCheckState state) {
  nodes_.at(static_cast<size_t>(index)).State = state;
  for (int child : Node(index).Children)
    SetSubtree(child, state);
}

void TCheckTreeModel::UpdateAncestors(int index) {
  for (int p = Node(index).Parent; p >= 0; p = Node(p).Parent) {
    const auto &children = Node(p).Children;
    const bool all = std::all_of(children.begin(), children.end(),
                                 [&](int c) { return Node(c).State == TCheckState::Checked; });
    const bool none = std::all_of(children.begin(), children.end(),
                                  [&](int c) { return Node(c).State == TCheckState::Unchecked; });
    nodes_.at(static_cast<size_t>(p)).State =
        all ? TCheckState::Checked : (none ? TCheckState::Unchecked : TCheckState::Partial);
  }
}

std::vector<int> TCheckTreeModel::LeavesByPosition() const {
  std::vector<int> leaves;
  size_t rank = 0;
  for (int i = 0; i < Count(); ++i) {
    if (!IsLeaf(i))
      continue;
    const int position = Node(i).Position;
    const size_t at = position >= 0 ? static_cast<size_t>(position) : rank;
    ++rank;
    if (leaves.size() <= at)
      leaves.resize(at + 1, -1);
    leaves[at] = i;
  }
  return leaves;
}

std::wstring TCheckTreeModel::Selection() const {
  std::wstring selection;
  for (int leaf : LeavesByPosition())
    selection += leaf >= 0 && Node(leaf).State == TCheckState::Checked ? L'1' : L'0';
  return selection;
}

void TCheckTreeModel::ApplySelection(const std::wstring &selection) {
  const std::vector<int> leaves = LeavesByPosition();
  for (size_t position = 0; position < leaves.size() && position < selection.size(); ++position) {
    if (leaves[position] < 0)
      continue;
    if (selection[position] == L'1')
      SetChecked(leaves[position], true);
    else if (selection[position] == L'0')
      SetChecked(leaves[position], false);
  }
}

int TCheckTreeModel::TextKeyOf(int index) const {
  const int key = Node(index).TextKey;
  return key >= 0 ? key : index;
}

int TCheckTreeModel::TextKeyCount() const {
  int count = 0;
  for (int i = 0; i < Count(); ++i)
    count = std::max(count, TextKeyOf(i) + 1);
  return count;
}

// --- TCheckTree --------------------------------------------------------------

namespace {

// Draws the three boxes of the state image list (index 0 stays blank) at
// a size; the shapes are laid out on a 16 x 16 grid and scaled with it.
UniqueImageList MakeStateImages(int size) {
  UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, 4, 0));
  const double unit = size / 16.0;
  const int lo = static_cast<int>(2 * unit), hi = size - 1 - static_cast<int>(unit);
  const int line = std::max(1, size / 16);
  const int fillLo = static_cast<int>(5 * unit),
            fillHi = static_cast<int>(std::ceil(12 * unit)) - 1;
  // The tick: a stroke two grid pixels wide along two segments.
  const double tick[][2] = {{5.5, 8.0}, {7.5, 10.0}, {11.5, 6.0}};
  auto onTick = [&](int x, int y) {
    const double u = (x + 0.5) / unit, v = (y + 0.5) / unit;
    for (int i = 0; i < 2; ++i) {
      const double ax = tick[i][0], ay = tick[i][1], dx = tick[i + 1][0] - ax,
                   dy = tick[i + 1][1] - ay;
      const double t = std::clamp(((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
      const double ex = ax + t * dx - u, ey = ay + t * dy - v;
      if (ex * ex + ey * ey <= 1.0)
        return true;
    }
    return false;
  };
  for (int state = 0; state < 4; ++state) {
    void *pixels = nullptr;
    const UniqueBitmap bitmap = CreateArgbBitmap(size, size, &pixels);
    if (!bitmap)
      continue;
    unsigned *p = static_cast<unsigned *>(pixels);
    auto put = [&](int x, int y, unsigned argb) { p[y * size + x] = argb; };
    const unsigned border = 0xFF4A7FB8, fill = 0xFFFFFFFF, mark = 0xFF1A5A9E;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        put(x, y, 0);
    if (state > 0) {
      for (int y = lo; y <= hi; ++y)
        for (int x = lo; x <= hi; ++x) {
          const bool edge = x < lo + line || x > hi - line || y < lo + line || y > hi - line;
          put(x, y, edge ? border : fill);
        }
      if (state == 2) { // a tick
        for (int y = lo + line; y <= hi - line; ++y)
          for (int x = lo + line; x <= hi - line; ++x)
            if (onTick(x, y))
              put(x, y, mark);
      } else if (state == 3) { // a filled square
        for (int y = fillLo; y <= fillHi; ++y)
          for (int x = fillLo; x <= fillHi; ++x)
            put(x, y, 0xFF7FA8D6);
      }
    }
    ImageList_Add(list.Get(), bitmap.Get(), nullptr); // the list copies the bitmap
  }
  return list;
}

} // namespace

TCheckTree::TCheckTree(std::wstring name, HWND parent, RECT bounds, HIMAGELIST images)
    : TWinControl(std::move(name), parent, WC_TREEVIEWW, L"",
                  WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_FULLROWSELECT |
                      TVS_SHOWSELALWAYS | TVS_NONEVENHEIGHT, // rows of any scaled height
                  WS_EX_CLIENTEDGE, bounds),
      stateImages_(MakeStateImages(Scaled(16, Dpi()))) {
  TreeView_SetImageList(hwnd_, images, TVSIL_NORMAL);
  TreeView_SetImageList(hwnd_, stateImages_.Get(), TVSIL_STATE);
  TreeView_SetIndent(hwnd_, Scaled(19, Dpi()));
  TreeView_SetItemHeight(hwnd_, Scaled(18, Dpi()));
  SetWindowSubclass(hwnd_, &TCheckTree::MouseProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

TCheckTree::~TCheckTree() {
  if (IsWindow(hwnd_)) {
    RemoveWindowSubclass(hwnd_, &TCheckTree::MouseProc, 1);
    TreeView_SetImageList(hwnd_, nullptr, TVSIL_STATE);
  }
}

void TCheckTree::SetDpi(int dpi) {
  TWinControl::SetDpi(dpi);
  // The tree holds the old list until it has the new one.
  UniqueImageList old = std::move(stateImages_);
  stateImages_ = MakeStateImages(Scaled(16, dpi));
  TreeView_SetImageList(hwnd_, stateImages_.Get(), TVSIL_STATE);
  TreeView_SetIndent(hwnd_, Scaled(19, dpi));
  TreeView_SetItemHeight(hwnd_, Scaled(18, dpi));
}

void TCheckTree::SetImages(HIMAGELIST images) {
  TreeView_SetImageList(hwnd_, images, TVSIL_NORMAL);
}

int TCheckTree::AddNode(int parent, const std::wstring &caption, int imageIndex,
                        const TNodePlace &place) {
  const int index = model_.Add(parent, caption, imageIndex, place);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent >= 0 ? Item(parent) : TVI_ROOT;
  insert.hInsertAfter = place.After >= 0 ? Item(place.After) : TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM;
  insert.item.pszText = const_cast<wchar_t *>(caption.c_str());
  insert.item.iImage = imageIndex;
  insert.item.iSelectedImage = imageIndex;
  insert.item.state = INDEXTOSTATEIMAGEMASK(static_cast<int>(TCheckState::Unchecked));
  insert.item.stateMask = TVIS_STATEIMAGEMASK;
  insert.item.lParam = index;
  items_.push_back(TreeView_InsertItem(hwnd_, &insert));
  return index;
}

void TCheckTree::SetChecked(int index, bool checked) {
  model_.SetChecked(index, checked);
  Refresh();
}

void TCheckTree::Toggle(int index) {
  model_.Toggle(index);
  Refresh();
}

void TCheckTree::ApplySelection(const std::wstring &selection) {
  model_.ApplySelection(selection);
  Refresh();
}

void TCheckTree::Refresh() {
  for (int i = 0; i < model_.Count(); ++i) {
    const UINT state = INDEXTOSTATEIMAGEMASK(static_cast<int>(model_.Node(i).State));
    if ((TreeView_GetItemState(hwnd_, Item(i), TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) != state)
      TreeView_SetItemState(hwnd_, Item(i), state, TVIS_STATEIMAGEMASK);
  }
}

void TCheckTree::ExpandAll() {
  for (int i = 0; i < model_.Count(); ++i)
    if (!model_.IsLeaf(i))
      TreeView_Expand(hwnd_, Item(i), TVE_EXPAND);
}

bool TCheckTree::Expanded(int index) const {
  return (TreeView_GetItemState(hwnd_, Item(index), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TCheckTree::Select(int index) { TreeView_SelectItem(hwnd_, Item(index)); }

int TCheckTree::Selected() const { return IndexOf(TreeView_GetSelection(hwnd_)); }

int TCheckTree::IndexOf(HTREEITEM item) const {
  if (!item)
    return -1;
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

std::wstring TCheckTree::Text(int key) const {
  for (int i = 0; i < model_.Count(); ++i)
    if (model_.TextKeyOf(i) == key)
      return model_.Node(i).Caption;
  return std::wstring();
}

void TCheckTree::SetText(int key, const std::wstring &text) {
  for (int i = 0; i < model_.Count(); ++i) {
    if (model_.TextKeyOf(i) != key)
      continue;
    model_.SetCaption(i, text);
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = Item(i);
    item.pszText = const_cast<wchar_t *>(text.c_str());
    TreeView_SetItem(hwnd_, &item);
  }
}

std::wstring TCheckTree::ShownText(int index) const {
  wchar_t buffer[512] = L"";
  TVITEMW item = {};
  item.mask = TVIF_TEXT;
  item.hItem = Item(index);
  item.pszText = buffer;
  item.cchTextMax = 512;
  TreeView_GetItem(hwnd_, &item);
  return buffer;
}

TCheckState TCheckTree::ShownState(int index) const {
  const UINT state = TreeView_GetItemState(hwnd_, Item(index), TVIS_STATEIMAGEMASK);
  return static_cast<TCheckState>((state & TVIS_STATEIMAGEMASK) >> 12);
}

LRESULT TCheckTree::Notify(NMHDR *hdr) {
  if (hdr->code == TVN_KEYDOWN && reinterpret_cast<NMTVKEYDOWN *>(hdr)->wVKey == VK_SPACE) {
    const int index = Selected();
    if (index >= 0)
      Toggle(index);
    return 1;
  }
  return 0;
}

bool TCheckTree::ClickAt(POINT p) {
  TVHITTESTINFO hit = {};
  hit.pt = p;
  const int index = IndexOf(TreeView_HitTest(hwnd_, &hit));
  if (index < 0 || !(hit.flags & TVHT_ONITEMSTATEICON))
    return false;
  Toggle(index);
  return true;
}

LRESULT CALLBACK TCheckTree::MouseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    // A click on a box toggles it and goes no further (no drag, no selection).
    auto *tree = reinterpret_cast<TCheckTree *>(data);
    if (tree->ClickAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
      return 0;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace velmora
