// TTreeView: nodes in a hierarchy, shown as indented rows that expand and collapse. Every
// node counts the rows its subtree shows, and each parent keeps a running sum of its
// children's rows, so that finding a row, a node's row, painting and scrolling cost what the
// shown rows cost, whatever the size of the tree.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kvl/platform/forms.h"
#include "kvl/platform/scrollbars.h"
#include "kvl/platform/typeahead.h"

namespace kvl {

class TTreeNodes;
class TCustomTreeView;

class TTreeNode {
public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);
  void* GetData() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  // nullptr for a root node.
  TTreeNode* GetParent() const;
  TTreeNodes* GetOwner() const { return FOwner; }
  TCustomTreeView* GetTreeView() const;
  int GetIndex() const { return FIndex; }
  int GetLevel() const;
  int GetCount() const { return int(FChildren.size()); }
  TTreeNode* GetItem(int Index) const;
  // True with children, or when set (a button on a node whose children come later).
  bool GetHasChildren() const { return FHasChildren || !FChildren.empty(); }
  void SetHasChildren(bool Value);
  bool GetExpanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  // Asks the view (OnExpanding) whether or not the node has children; it counts as expanded
  // only when it has children afterwards.
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool GetSelected() const;
  void SetSelected(bool Value);
  // Every ancestor expanded.
  bool IsVisible() const;
  TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
  // Tree order: depth first, parents before their children.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  void DeleteChildren();
  void Delete();
  // Expands the ancestors and scrolls the node into view.
  void MakeVisible();
  // The node's row (TextOnly: its label) in the view's client coordinates; empty when hidden.
  TRect DisplayRect(bool TextOnly) const;
  // Sorts the children (and with Recurse their children) by text, ASCII case ignored, or by
  // the view's OnCompare; stable.
  void AlphaSort(bool Recurse = false);
  using TCompare = std::function<int(TTreeNode* A, TTreeNode* B)>;
  void CustomSort(const TCompare& Compare, bool Recurse = false);

private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  explicit TTreeNode(TTreeNodes* Owner) : FOwner(Owner) {}
  ~TTreeNode() = default;
  friend struct std::default_delete<TTreeNode>;
  // Rows this node shows: itself and, expanded, its children's rows.
  int Rows() const { return 1 + (FExpanded ? FChildRows : 0); }
  // The running sums over the children's rows (a Fenwick tree), rebuilt when stale.
  void AddChildRows(int ChildIndex, int Delta);
  int ChildRowsBefore(int ChildIndex) const;
  int FindChildByRow(int& Row) const;
  void Reindex(int From);
  void SortChildren(const TCompare& Compare, bool Recurse);

  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;  // the hidden root for root nodes
  std::vector<TTreeNode*> FChildren;
  mutable std::vector<int> FSums;  // Fenwick tree over the children's rows
  mutable bool FSumsStale = true;
  std::string FText;
  void* FData = nullptr;
  int FIndex = 0;
  int FChildRows = 0;
  int FTextWidth = -1;  // measured when first painted
  std::uint32_t FWidthFont = 0;
  bool FExpanded = false;
  bool FHasChildren = false;
};

// The nodes of one tree view. It owns them: deleting a node frees its subtree.
class TTreeNodes {
public:
  explicit TTreeNodes(TCustomTreeView* Owner);
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  TCustomTreeView* GetOwner() const { return FView; }
  // All nodes.
  int GetCount() const { return FCount; }
  void Clear();
  // A last sibling of Sibling (a root node when Sibling is nullptr).
  TTreeNode* Add(TTreeNode* Sibling, const std::string& S) { return AddObject(Sibling, S, nullptr); }
  TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Data);
  TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& S) {
    return AddChildObject(Parent, S, nullptr);
  }
  TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Data);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
  // Before Sibling (a last root node when Sibling is nullptr).
  TTreeNode* Insert(TTreeNode* Sibling, const std::string& S);
  void Delete(TTreeNode* Node);
  TTreeNode* GetFirstNode() const { return FRoot->GetFirstChild(); }
  // Painting waits for EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return FUpdateCount > 0; }

private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  friend class TNodeWatch;
  TTreeNode* InsertNode(TTreeNode* Parent, int Index, const std::string& S, void* Data);
  void FreeSubtree(TTreeNode* Node);
  // Tells the parents that a child's rows changed by Delta.
  void RowsChanged(TTreeNode* Child, int Delta);

  TCustomTreeView* FView;
  TTreeNode* FRoot;  // hidden, always expanded
  int FCount = 0;
  int FUpdateCount = 0;
  std::vector<TTreeNode**> FWatches;  // pointers cleared when their node is deleted
};

// Keeps a node pointer that becomes nullptr when the node is deleted meanwhile (handlers may
// delete any node).
class TNodeWatch {
public:
  TNodeWatch(TTreeNodes& Nodes, TTreeNode* Node);
  ~TNodeWatch();
  TNodeWatch(const TNodeWatch&) = delete;
  TNodeWatch& operator=(const TNodeWatch&) = delete;
  TTreeNode* Get() const { return FNode; }

private:
  TTreeNodes& FNodes;
  TTreeNode* FNode;
};

enum TSortType : std::uint8_t { stNone, stText };
// Classic: dotted lines and boxed plus and minus buttons; modern: no lines, triangle buttons
// and a highlight under the mouse.
enum TTreeViewLook : std::uint8_t { tvlClassic, tvlModern };

enum THitTest : unsigned {
  htNowhere = 1,
  htOnButton = 2,
  htOnIndent = 4,
  htOnLabel = 8,
  htOnRight = 16,
  htAbove = 32,
  htBelow = 64,
  htToLeft = 128,
  htToRight = 256,
};
using THitTests = unsigned;

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVCompareEvent =
    std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;

// Selection changes fire OnChanging (which may refuse) and OnChange for the mouse, the keys
// and the program alike; a deleted selection leaves Selected nullptr and fires neither.
class TCustomTreeView : public TWinControl {
public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* GetItems() { return FItems.get(); }
  TTreeNode* GetSelected() const { return FSelected; }
  void SetSelected(TTreeNode* Node);
  TTreeNode* GetTopItem() const;
  void SetTopItem(TTreeNode* Node);
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value) { Set(FShowButtons, Value); }
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool Value) { Set(FShowLines, Value); }
  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value) { Set(FShowRoot, Value); }
  // Pixels per level, 0 ... 1000.
  int GetIndent() const { return FIndent; }
  void SetIndent(int Value);
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value) { Set(FHotTrack, Value); }
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value) { Set(FRowSelect, Value); }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { Set(FHideSelection, Value); }
  bool GetAutoExpand() const { return FAutoExpand; }
  void SetAutoExpand(bool Value) { FAutoExpand = Value; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  TSortType GetSortType() const { return FSortType; }
  void SetSortType(TSortType Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TTreeViewLook GetLook() const { return FLook; }
  void SetLook(TTreeViewLook Value) { Set(FLook, Value); }
  // Stored only.
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value) { FBorderWidth = Value; }

  void FullExpand();
  void FullCollapse();
  TTreeNode* GetNodeAt(int X, int Y) const;
  THitTests GetHitTestInfoAt(int X, int Y) const;
  // Shown rows, and the first one shown.
  int GetRowCount() const { return FItems->FRoot->FChildRows; }
  int GetTopRow() const;
  void SetTopRow(int Row);
  int RowHeight() const;
  // Rows painted by the last paint (to show that painting costs what shows).
  int GetPaintedRows() const { return FPaintedRows; }

  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVExpandedEvent OnDeletion;
  TTVExpandedEvent OnAddition;
  TTVCompareEvent OnCompare;

  bool WantsKey(std::uint16_t Key, TShiftState Shift) const override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  void NonClientMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void NonClientMouseMove(TShiftState Shift, int X, int Y) override;
  void NonClientMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FocusIn() override { Invalidate(); }
  void FocusOut() override { Invalidate(); }

protected:
  virtual bool CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual void Delete(TTreeNode* Node);
  virtual void Added(TTreeNode* Node);
  // Negative, zero or positive as A sorts before, with or after B.
  virtual int CompareNodes(TTreeNode* A, TTreeNode* B);

  void Paint() override;
  void PaintBorder(TCanvas& C) override;
  void SizeChanged(int OldWidth, int OldHeight) override;
  void FontChanged() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  friend class TTreeNode;
  friend class TTreeNodes;
  template <class T>
  void Set(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
  }
  void DoExpand(TTreeNode* Node, bool Recurse);
  void DoCollapse(TTreeNode* Node, bool Recurse);
  // Selects by the user or the program, with OnChanging and OnChange.
  void Select(TTreeNode* Node);
  void NodeDeleting(TTreeNode* Node);
  TTreeNode* NodeAtRow(int Row) const;
  int RowOfNode(const TTreeNode* Node) const;
  int PageRows() const;
  void ScrollIntoView(TTreeNode* Node);
  void StructureChanged();
  void UpdateScrollBars();
  void OnBar(TScrollBarPart& Bar, TScrollCode Code, std::int64_t Pos);
  int NodeLeft(const TTreeNode* Node) const;  // client X of the label's text area
  int TextWidthOf(TTreeNode* Node) const;
  void PaintRow(TCanvas& C, TTreeNode* Node, int Y);
  void ToggleNode(TTreeNode* Node);

  std::unique_ptr<TTreeNodes> FItems;
  TTreeNode* FSelected = nullptr;
  TTreeNode* FTopNode = nullptr;  // the first shown row
  TTreeNode* FHot = nullptr;      // the row under the mouse
  int FTopRowHint = 0;            // the top row to keep when the top node went
  int FScrollX = 0;
  mutable int FWidest = 0;  // widest row measured so far
  std::uint32_t FFontGeneration = 1;
  bool FShowButtons = true, FShowLines = true, FShowRoot = true;
  int FIndent = 19;
  bool FHotTrack = false, FRowSelect = false, FHideSelection = true, FAutoExpand = false;
  bool FReadOnly = false;
  TSortType FSortType = stNone;
  TBorderStyle FBorderStyle = bsSingle;
  TTreeViewLook FLook = tvlClassic;
  int FBorderWidth = 0;
  TScrollBarPart FVBar, FHBar;
  TTypeAhead FTypeAhead;
  int FPaintedRows = 0;
  bool FInDeletion = false;  // OnDeletion handlers run: no nodes come or go meanwhile
};

class TTreeView : public TCustomTreeView {
public:
  using TCustomTreeView::TCustomTreeView;
};

}  // namespace kvl
