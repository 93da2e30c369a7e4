// Lists of strings: TStrings, the interface every list of lines shares (the items of list and
// combo boxes, captions, folder names), and TStringList, the list kept in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "kvl/platform/classes.h"

namespace kvl {

// An index outside the list, a duplicate refused, an insert into a sorted list.
class EStringListError : public Exception {
public:
  using Exception::Exception;
};

// What adding a string to a sorted list does when an equal one is there.
enum TDuplicates : std::uint8_t {
  dupIgnore,  // nothing is added; Add returns the index of the one there
  dupAccept,  // it is added after the equal ones
  dupError,   // EStringListError
};

// Strings are UTF-8. Compared strings ignore ASCII case (letters folded to upper case, other
// bytes by value) unless a list says otherwise. Indexes run from 0 to Count - 1; others raise
// EStringListError "List index out of bounds (i)". The objects that go with the strings are
// not owned by the list.
class TStrings : public TPersistent {
public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  virtual int GetCount() const = 0;
  virtual std::string GetStrings(int Index) const = 0;
  // The base replaces the line by deleting it and inserting the new one with its object.
  virtual void SetStrings(int Index, const std::string& S);
  std::string operator[](int Index) const { return GetStrings(Index); }
  // The base keeps no objects: nullptr, and setting one is ignored.
  virtual TObject* GetObjects(int Index) const;
  virtual void SetObjects(int Index, TObject* AObject);

  // Adding returns the new line's index (on a sorted list, where it went).
  int Add(const std::string& S) { return AddObject(S, nullptr); }
  virtual int AddObject(const std::string& S, TObject* AObject);
  void Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }
  // Index may be Count (appends).
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  // Swaps two lines, each keeping its object.
  virtual void Exchange(int Index1, int Index2);
  // Takes the line at CurIndex out and puts it in at NewIndex, with its object.
  virtual void Move(int CurIndex, int NewIndex);
  // Adds every line of Strings with its object.
  void AddStrings(const TStrings& Strings);
  // From another TStrings: its lines and objects replace these.
  void Assign(const TPersistent* Source) override;

  // The first line equal to S, or -1.
  virtual int IndexOf(const std::string& S) const;
  int IndexOfObject(const TObject* AObject) const;

  // "name=value" lines. The name is what stands before the first '=' (empty without one).
  std::string GetNames(int Index) const;
  int IndexOfName(const std::string& Name) const;
  // The value of the first line with this name; empty when there is none.
  std::string GetValues(const std::string& Name) const;
  // Replaces the value of the first line with this name, or adds "Name=Value"; an empty
  // value removes the line.
  void SetValues(const std::string& Name, const std::string& Value);

  // Every line followed by LF. Assigning splits at CR, LF and CR LF; a break at the very end
  // starts no further line.
  std::string GetText() const;
  void SetText(std::string_view Text);
  // The lines separated by commas; a line that holds a blank, a control character, a comma or
  // a double quote (or a single empty line) is put in double quotes with its quotes doubled.
  // Assigning splits at commas and at blanks outside quotes.
  std::string GetCommaText() const;
  void SetCommaText(std::string_view Text);

  // UTF-8 text as with Text (a leading byte-order mark is dropped). Loading reads only a
  // regular file of at most MaxLoadedFileSize bytes and raises EInOutError naming the file
  // otherwise; saving replaces the file only once the new one is completely written.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;
  static constexpr std::size_t MaxLoadedFileSize = std::size_t(256) << 20;

  // Brackets a batch of changes; the brackets nest. Lists that tell of their changes tell of
  // the batch once, when the outermost EndUpdate comes.
  void BeginUpdate();
  void EndUpdate();

  // Raises EStringListError "List index out of bounds (Index)" (views of a list share it).
  [[noreturn]] static void IndexError(int Index);

protected:
  // Called when the batch count leaves and returns to 0.
  virtual void SetUpdateState(bool) {}
  int GetUpdateCount() const { return FUpdateCount; }
  // Negative, zero or positive as A sorts before, with or after B.
  virtual int CompareStrings(const std::string& A, const std::string& B) const;

private:
  int FUpdateCount = 0;
};

class TStringList;
// Negative, zero or positive as List's line Index1 sorts before, with or after line Index2.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
  TStringList() = default;

  int GetCount() const override { return int(FList.size()); }
  std::string GetStrings(int Index) const override { return (*this)[Index]; }
  // On a sorted list the line moves to its place, as Duplicates says (dupIgnore: a line equal
  // to another one goes).
  void SetStrings(int Index, const std::string& S) override;
  const std::string& operator[](int Index) const;
  TObject* GetObjects(int Index) const override;
  void SetObjects(int Index, TObject* AObject) override;

  // On a sorted list the string goes to its place, as Duplicates says. A sorted list that
  // accepts duplicates sorts what is added inside BeginUpdate/EndUpdate once, at EndUpdate or
  // at the first read of the lines, whichever comes first; such an Add returns -1, as the
  // line's place is not known yet.
  int AddObject(const std::string& S, TObject* AObject) override;
  // A sorted list refuses it (EStringListError).
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  // A sorted list refuses both (EStringListError): they would break its order.
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;
  // Takes the lines and the Sorted, Duplicates and CaseSensitive settings of another
  // TStringList; any other TStrings as the base does.
  void Assign(const TPersistent* Source) override;

  int IndexOf(const std::string& S) const override;
  // Binary search of a sorted list: true when S is there, with Index the first equal line;
  // otherwise Index is where S would go.
  bool Find(const std::string& S, int& Index) const;
  // Stable sorts. CustomSort leaves a sorted list as it is, which is always in order.
  void Sort();
  void CustomSort(const TStringListSortCompare& Compare);

  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool GetCaseSensitive() const { return FCaseSensitive; }
  // A sorted list is sorted again by the new rule.
  void SetCaseSensitive(bool Value);

  // OnChanging comes before a change and OnChange after it; inside BeginUpdate/EndUpdate,
  // OnChanging comes before the batch's first change and OnChange once at the end, only when
  // something changed.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

protected:
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const std::string& A, const std::string& B) const override;
  virtual void Changing();
  virtual void Changed();
  // Whether sorted adds inside a batch may wait for one sort (see AddObject).
  virtual bool CanDeferSort() const { return true; }

private:
  struct TItem {
    std::string S;
    TObject* Object = nullptr;
  };
  void CheckIndex(int Index) const;
  void SortBy(const TStringListSortCompare& Compare);
  // Puts lines added in a batch into their places (the order of the lines is not part of
  // what a const reader changes).
  void SortPending() const;
  [[noreturn]] static void SortedError();

  // Blocks of a few items rather than one array: adding never moves the items already there
  // and never needs a block larger than the list, which the allocator would map afresh.
  mutable std::deque<TItem> FList;
  mutable std::size_t FSortedCount = 0;  // lines in order; those after it await sorting
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FChangingSent = false;   // in a batch: OnChanging has been sent
  bool FChangePending = false;  // in a batch: something changed
};

}  // namespace kvl
