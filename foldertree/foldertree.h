// TFolderTree: a tree view of folders that loads each folder's subfolders when it expands,
// keeps the selected folder's path in Directory, and creates and removes folders.
//
// It is the one component that changes the user's file system, so it does so only inside
// RootDir and never through a link: creation and removal work on opened folders whose
// physical place is checked against the root's, and a removal takes at most one empty folder
// that still is the one listed. Names are raw bytes: paths are built from them, never from the
// node texts (which show invalid UTF-8 and control characters as U+FFFD).
//
// Everything runs on the interface thread: a folder on a hanging network mount blocks the
// tree while it is listed.
//
// Behaviour a user may trip over: folders whose names begin with '.' never show; SelectPath
// and the three operations rebuild the tree, which collapses what the user had expanded; the
// reset at every window creation drops the selection; a folder without subfolders is listed
// again at each expansion; MakeSubFolder of an existing folder succeeds and selects it; a
// black Color becomes white after loading; GetSubDirs is true when DirList already held
// entries.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "kvl/core/filesys.h"
#include "kvl/platform/extctrls.h"
#include "kvl/platform/stringlist.h"
#include "kvl/platform/treeview.h"

namespace kvl {

enum TBevelKind : std::uint8_t { bkNone, bkTile, bkSoft, bkFlat };

class TFolderTree : public TCustomTreeView {
public:
  explicit TFolderTree(TComponent* AOwner);
  ~TFolderTree() override;

  // The selected folder's path, ending in '/'; "" after RefreshTree found nothing left.
  const std::string& GetDirectory() const { return FDirectory; }
  // The folder the root node shows ("/" by default). An existing folder is normalised and the
  // tree resets; other values are ignored.
  const std::string& GetRootDir() const { return FRootDir; }
  void SetRootDir(const std::string& Value);

  // Directory becomes RootDir; the tree is rebuilt collapsed.
  void Reset();
  // Selects the folder Path (relative paths count from the current folder). True only when
  // every component of it is a folder the tree shows inside the root and the last one is
  // selected; otherwise false and, unless a folder vanished meanwhile, nothing changes.
  bool SelectPath(const std::string& Path);
  // Rebuilds the tree and selects Directory or its nearest existing ancestor.
  bool RefreshTree();
  // Creates FolderName below the selected folder and selects it. '/' and '\' separate
  // levels; false for empty, hidden, ".", "..", over-long components and control bytes or
  // '"', '<', '>', '|', and when the selected folder does not lie inside the root.
  bool MakeSubFolder(const std::string& FolderName);
  // Removes the selected folder when it is empty, not the root and not a link, and then
  // selects its parent.
  bool RemoveSelectedFolder();
  // Appends the sorted subfolder names of Path (of Node's folder) to DirList; names of
  // folders with subfolders carry HasSubfoldersMark() as their object. True when DirList is
  // not empty afterwards; false, DirList untouched, when the folder does not exist.
  bool GetSubDirs(const std::string& Path, TStringList& DirList);
  bool GetSubDirs(TTreeNode* Node, TStringList& DirList);
  // The object of a DirList entry whose folder has subfolders.
  static TObject* HasSubfoldersMark();
  // The subfolders of the folder expanded last, as GetSubDirs lists them.
  const TStringList& GetDirNames() const { return FDirNames; }
  // The path of a node's folder, ending in '/'.
  std::string NodePath(const TTreeNode* Node) const;

  // True: the classic look (dotted lines, boxed buttons); false: the modern one.
  bool GetOldTreeStyle() const { return FUseOldStyle; }
  void SetOldTreeStyle(bool Value);
  // Color is the colour shown while enabled; a disabled tree shows clBtnFace.
  void SetColor(TColor Value);
  void SetEnabled(bool Value) override;

  // Stored only.
  TBevelCut GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value) { FBevelInner = Value; }
  TBevelCut GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value) { FBevelOuter = Value; }
  TBevelKind GetBevelKind() const { return FBevelKind; }
  void SetBevelKind(TBevelKind Value) { FBevelKind = Value; }
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value) { FBevelWidth = Value; }
  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  const TSizeConstraints& GetConstraints() const { return FConstraints; }
  void SetConstraints(const TSizeConstraints& Value) { FConstraints = Value; }

  TNotifyEvent OnDirChanged;

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Click() override;

protected:
  // What a folder node remembers of its folder, as it was listed.
  struct TFolderNode {
    const TFolderTree* Tree = nullptr;  // tells the tree's records from a host's Data
    std::string Name;                   // raw bytes
    dev_t Dev = 0;                      // of the entry itself (the link, for a link)
    ino_t Ino = 0;
    dev_t FolderDev = 0;  // of the folder it leads to
    ino_t FolderIno = 0;
    bool IsLink = false;
    bool Loaded = false;           // its children are the listing
    bool LeadsToAncestor = false;  // a link back up the tree: shows no children
  };

  // A subfolder as a listing found it: the entry, the folder it leads to, and whether that
  // holds subfolders of its own.
  struct TListed {
    TFolderEntry Entry;
    dev_t FolderDev = 0;
    ino_t FolderIno = 0;
    bool HasSubfolders = false;
  };

  // The subfolders of the opened folder Dir at Path; a seam for tests that change the file
  // system in the middle of an operation.
  virtual std::vector<TFolderEntry> ListFolder(const std::string& Path, int Dir);
  // Lists, sorts and probes the subfolders of Path into DirNames as well as into Listed.
  void LoadDirNamesAndSort(const std::string& Path, std::vector<TListed>& Listed);
  // Loads a node's subfolders as its children unless they are loaded.
  void ProcessExpanding(TTreeNode* Node);

  bool CanExpand(TTreeNode* Node) override;
  void Change(TTreeNode* Node) override;
  void CreateWnd() override;
  void Loaded() override;

private:
  TFolderNode* Info(const TTreeNode* Node) const;
  // Lists, sorts and probes the subfolders of the folder at Path.
  void ListSorted(const std::string& Path, std::vector<TListed>& Listed);
  void BuildTree();
  // The root's physical path, "" when it cannot be resolved.
  std::string PhysicalRoot() const;
  bool InsideRoot(int Dir) const;
  void DirChanged(const std::string& Old);

  std::string FDirectory;
  std::string FRootDir = "/";
  bool FUseOldStyle = true;
  TColor FColorBak = clWindow;
  TStringList FDirNames;
  std::deque<TFolderNode> FNodes;  // the records the nodes' Data point to, until a rebuild
  bool FQuietDirChange = false;    // RefreshTree reports the change once, at its end
  bool FSkipReleaseClick = false;
  unsigned FChanges = 0;  // selection changes, to tell a click that changed it
  TBevelCut FBevelInner = bvRaised, FBevelOuter = bvLowered;
  TBevelKind FBevelKind = bkNone;
  int FBevelWidth = 1;
  bool FCtl3D = true;
  TSizeConstraints FConstraints;
};

}  // namespace kvl
