#include "kvl/platform/classes.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvl {
namespace {

// Records its own destruction and Loaded calls.
class TProbe : public TComponent {
public:
  TProbe(TComponent* Owner, std::vector<std::string>* Log, std::string Id)
      : TComponent(Owner), FLog(Log), FId(std::move(Id)) {}
  ~TProbe() override { FLog->push_back("~" + FId); }
  int LoadedCalls = 0;

protected:
  void Loaded() override {
    ++LoadedCalls;
    FLog->push_back("loaded " + FId);
  }

private:
  std::vector<std::string>* FLog;
  std::string FId;
};

TEST(Component, OwnerDeletesWhatItOwnsDepthFirst) {
  std::vector<std::string> Log;
  auto* Root = new TProbe(nullptr, &Log, "root");
  auto* A = new TProbe(Root, &Log, "a");
  new TProbe(A, &Log, "a1");
  new TProbe(Root, &Log, "b");
  EXPECT_EQ(Root->GetComponentCount(), 2);
  EXPECT_EQ(A->GetOwner(), Root);
  delete Root;
  EXPECT_EQ(Log, (std::vector<std::string>{"~root", "~b", "~a", "~a1"}));
}

TEST(Component, DeletingAnOwnedComponentDetachesIt) {
  std::vector<std::string> Log;
  TProbe Root(nullptr, &Log, "root");
  auto* A = new TProbe(&Root, &Log, "a");
  auto* B = new TProbe(&Root, &Log, "b");
  delete A;
  ASSERT_EQ(Root.GetComponentCount(), 1);
  EXPECT_EQ(Root.GetComponents(0), B);
  EXPECT_EQ(Root.GetComponents(1), nullptr);
  EXPECT_EQ(Root.GetComponents(-1), nullptr);
}

TEST(Component, NamesTagsAndOwnerChanges) {
  std::vector<std::string> Log;
  TProbe Form(nullptr, &Log, "form"), Other(nullptr, &Log, "other");
  auto* Meter = new TProbe(&Form, &Log, "meter");
  Meter->SetName("Meter1");
  Meter->SetTag(42);
  EXPECT_EQ(Form.FindComponent("meter1"), Meter);
  EXPECT_EQ(Form.FindComponent(""), nullptr);
  EXPECT_EQ(Meter->GetTag(), 42);
  Meter->ChangeOwner(&Other);
  EXPECT_EQ(Form.GetComponentCount(), 0);
  EXPECT_EQ(Other.FindComponent("Meter1"), Meter);
  EXPECT_THROW(Other.ChangeOwner(Meter), EConvertError);  // would own itself
  EXPECT_EQ(Other.GetOwner(), nullptr);
}

TEST(Component, LoadingCallsLoadedOnceChildrenFirst) {
  std::vector<std::string> Log;
  TProbe Form(nullptr, &Log, "form");
  auto* Child = new TProbe(&Form, &Log, "child");
  Form.BeginLoading();
  EXPECT_TRUE(Child->IsLoading());
  Form.EndLoading();
  Form.EndLoading();  // a second end does not load again
  EXPECT_FALSE(Child->IsLoading());
  EXPECT_EQ(Child->LoadedCalls, 1);
  EXPECT_EQ(Form.LoadedCalls, 1);
  EXPECT_EQ(Log, (std::vector<std::string>{"loaded child", "loaded form"}));
}

// Holds a pointer to another component and drops it when told; notes the names it hears of.
class TWatcher : public TComponent {
public:
  TWatcher(TComponent* Owner, const std::string& Name) : TComponent(Owner) { SetName(Name); }
  TComponent* Watched = nullptr;
  std::vector<std::string> Removed;

protected:
  void Notification(TComponent* C, TOperation Op) override {
    if (Op != opRemove) return;
    Removed.push_back(C->GetName());
    if (C == Watched) Watched = nullptr;
  }
};
using TNames = std::vector<std::string>;

TEST(Component, FreeNotificationTellsEitherSideAndOwnersHearOfTheirComponents) {
  TWatcher Owner(nullptr, "Owner");
  auto* A = new TWatcher(&Owner, "A");
  auto* B = new TWatcher(nullptr, "B");
  A->Watched = B;
  A->FreeNotification(B);
  A->FreeNotification(B);  // once is enough
  delete B;
  EXPECT_EQ(A->Watched, nullptr);
  EXPECT_EQ(A->Removed, TNames{"B"});

  // Linked both ways: the watched side hears of the watcher too, and unlinking stops it.
  auto* C = new TWatcher(nullptr, "C");
  auto* E = new TWatcher(nullptr, "E");
  C->FreeNotification(A);
  E->FreeNotification(A);
  E->RemoveFreeNotification(A);
  delete A;  // owned: the owner hears of it as well
  EXPECT_EQ(C->Removed, TNames{"A"});
  EXPECT_TRUE(E->Removed.empty());
  EXPECT_EQ(Owner.Removed, TNames{"A"});
  delete C;
  delete E;
}

TEST(Component, DesigningFlagReachesOwnedComponents) {
  std::vector<std::string> Log;
  TProbe Form(nullptr, &Log, "form");
  auto* Child = new TProbe(&Form, &Log, "child");
  Form.SetDesigning(true);
  EXPECT_TRUE(Child->IsDesigning());
  EXPECT_TRUE(Child->GetComponentState() & csDesigning);
  // Made on a designing owner, a component is designing, and so are the parts it makes for
  // itself; one moved there becomes designing too.
  struct TWithPart : TComponent {
    explicit TWithPart(TComponent* Owner) : TComponent(Owner), Part(new TComponent(this)) {}
    TComponent* Part;
  };
  auto* Made = new TWithPart(&Form);
  EXPECT_TRUE(Made->IsDesigning() && Made->Part->IsDesigning());
  TWithPart Loose(nullptr);
  EXPECT_FALSE(Loose.Part->IsDesigning());
  auto* Moved = new TComponent(nullptr);
  Moved->ChangeOwner(&Form);
  EXPECT_TRUE(Moved->IsDesigning());
  Form.SetDesigning(false);
  EXPECT_FALSE(Child->IsDesigning() || Made->Part->IsDesigning());
}

class TColourPair : public TPersistent {
public:
  int A = 0, B = 0;
  void Assign(const TPersistent* Source) override {
    if (auto* P = dynamic_cast<const TColourPair*>(Source)) {
      A = P->A;
      B = P->B;
      return;
    }
    TPersistent::Assign(Source);
  }
};

// Knows how to put itself into a TColourPair, which does not know it.
class TSwatch : public TPersistent {
public:
  int Value = 7;

protected:
  void AssignTo(TPersistent* Dest) const override {
    if (auto* P = dynamic_cast<TColourPair*>(Dest)) {
      P->A = P->B = Value;
      return;
    }
    TPersistent::AssignTo(Dest);
  }
};

class TStranger : public TPersistent {};

TEST(Persistent, AssignAndAssignToProtocol) {
  TColourPair X, Y;
  Y.A = 1;
  Y.B = 2;
  X.Assign(&Y);
  EXPECT_EQ(X.A, 1);
  EXPECT_EQ(X.B, 2);
  TSwatch S;
  X.Assign(&S);  // the pair does not know swatches; the swatch assigns itself
  EXPECT_EQ(X.A, 7);
  EXPECT_EQ(X.B, 7);
}

TEST(Persistent, UnknownSourcesRaiseTheConversionError) {
  TColourPair X;
  TStranger Stranger;
  try {
    X.Assign(&Stranger);
    FAIL() << "no error";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a TStranger to a TColourPair");
  }
  try {
    X.Assign(nullptr);
    FAIL() << "no error";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "Cannot assign a nil to a TColourPair");
  }
  TSwatch S;
  EXPECT_THROW(S.Assign(&X), EConvertError);
}

}  // namespace
}  // namespace kvl
