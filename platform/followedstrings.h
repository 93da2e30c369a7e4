// A string list that tells the control showing it where lines come and go, so that the
// control's selection stays with its lines (list boxes, combo boxes).
#pragma once

#include <string>

#include "kvl/platform/stringlist.h"

namespace kvl {

// What a control showing a TFollowedStrings hears from it.
class TStringsFollower {
public:
  virtual void ItemInserted(int Index) = 0;
  virtual void ItemDeleted(int Index) = 0;
  // One line taken out at From and put in at To.
  virtual void ItemsMoved(int From, int To) = 0;
  // A change the control cannot follow line by line (a sort, an Assign, Clear).
  virtual void ItemsReset() = 0;
  // After every change, followed or not.
  virtual void ItemsChanged() = 0;
  // While something is selected, sorted adds are placed at once so the selection can follow.
  virtual bool HasSelection() const = 0;

protected:
  ~TStringsFollower() = default;
};

class TFollowedStrings : public TStringList {
public:
  explicit TFollowedStrings(TStringsFollower& Follower) : FFollower(Follower) {}

  int AddObject(const std::string& S, TObject* AObject) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;

protected:
  void Changed() override;
  bool CanDeferSort() const override { return !FFollower.HasSelection(); }

private:
  template <class F>
  void Followed(F&& Change);

  TStringsFollower& FFollower;
  bool FFollowed = false;  // the change under way is one the follower hears of line by line
};

}  // namespace kvl
