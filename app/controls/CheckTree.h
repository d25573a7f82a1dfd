#pragma once
// The tri-state check tree: every node is unchecked, checked or partially
// checked; setting a node sets all nodes below it and brings its ancestors
// up to date. The model keeps the states; TCheckTree shows it in a
// TreeView with state images.
#include "app/controls/Controls.h"
#include "app/controls/Pictures.h"

#include <string>
#include <vector>

namespace velmora {

enum class TCheckState { Unchecked = 1, Checked = 2, Partial = 3 }; // state image numbers

// Where a node goes besides below its parent. The defaults follow the flat
// order; a tree that grows keeps its stored selections and language packs
// valid by giving new nodes their places here.
struct TNodePlace {
  int Position = -1; // a leaf's 0-based place in the selection; -1: its rank among the leaves
  int After = -1;    // shown right after this sibling; -1: after the last one
  int TextKey = -1;  // language-pack text index; -1: its own flat index
};

class TCheckTreeModel {
public:
  struct TNode {
    std::wstring Caption;
    int ImageIndex = -1;
    int Parent = -1;
    std::vector<int> Children;
    TCheckState State = TCheckState::Unchecked;
    int Position = -1;
    int TextKey = -1;
  };

  // Appends a node below parent (-1 for a root); parents must be added
  // before their children. Returns its index.
  int Add(int parent, std::wstring caption, int imageIndex, const TNodePlace &place = {});
  int Count() const { return static_cast<int>(nodes_.size()); }
  const TNode &Node(int index) const { return nodes_.at(static_cast<size_t>(index)); }
  void SetCaption(int index, const std::wstring &caption);
  bool IsLeaf(int index) const { return Node(index).Children.empty(); }

  // Checked or Unchecked: the node and all below it take the state, then
  // the ancestors are brought up to date.
  void SetChecked(int index, bool checked);
  // A click on a box: checked becomes unchecked, anything else checked.
  void Toggle(int index);

  // One character per leaf, at the leaf's position: '1' checked, '0'
  // otherwise (also where no leaf sits).
  std::wstring Selection() const;
  // Sets the leaf at position k from character k of the text: '1' checks,
  // '0' clears, any other character and any leaf past the end stay as they are.
  void ApplySelection(const std::wstring &selection);
  // The node at each position of the selection, -1 where no leaf sits.
  std::vector<int> LeavesByPosition() const;

  // Language-pack texts: index k names the caption of every node whose key is k.
  int TextKeyOf(int index) const;
  int TextKeyCount() const;

private:
  void SetSubtree(int index, TCheckState state);
  void UpdateAncestors(int index);

  std::vector<TNode> nodes_;
};

class TCheckTree : public TWinControl {
public:
  TCheckTree(std::wstring name, HWND parent, RECT bounds, HIMAGELIST images);
  ~TCheckTree() override;

  // Node pictures; the caller keeps the list alive while the tree shows it.
  void SetImages(HIMAGELIST images);
  // Box pictures, indent and row height follow the DPI.
  void SetDpi(int dpi) override;

  TCheckTreeModel &Model() { return model_; }
  const TCheckTreeModel &Model() const { return model_; }
  // Adds a node to model and tree (parents first).
  int AddNode(int parent, const std::wstring &caption, int imageIndex,
              const TNodePlace &place = {});

  void SetChecked(int index, bool checked);
  void Toggle(int index);
  void ApplySelection(const std::wstring &selection);
  std::wstring Selection() const { return model_.Selection(); }

  void ExpandAll();
  bool Expanded(int index) const;
  void Select(int index);
  int Selected() const; // flat index, -1 when none
  HTREEITEM Item(int index) const { return items_.at(static_cast<size_t>(index)); }
  int IndexOf(HTREEITEM item) const;

  // Language packs: node captions by text key (the flat index unless the
  // node was given another); one key may name several nodes.
  TTextRule Rule() const override { return TTextRule::Items; }
  int TextCount() const override { return model_.TextKeyCount(); }
  std::wstring Text(int key) const override;
  void SetText(int key, const std::wstring &text) override;
  // The caption the TreeView shows (for tests and checks).
  std::wstring ShownText(int index) const;
  TCheckState ShownState(int index) const;

  LRESULT Notify(NMHDR *hdr) override;
  // A mouse press at a point of the tree: toggles the node whose box is
  // there; false when the point is not on a box.
  bool ClickAt(POINT p);

private:
  static LRESULT CALLBACK MouseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR data);
  void Refresh(); // copies the model's states to the tree

  TCheckTreeModel model_;
  std::vector<HTREEITEM> items_;
  UniqueImageList stateImages_;
};

} // namespace velmora
