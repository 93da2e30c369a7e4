#include "kvl/platform/classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace kvl {

namespace {

bool SameNameIgnoringCase(const std::string& A, const std::string& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           const auto Fold = [](char C) { return (C >= 'a' && C <= 'z') ? char(C - 32) : C; };
           return Fold(X) == Fold(Y);
         });
}

}  // namespace

std::string TObject::ClassName() const {
  const char* Mangled = typeid(*this).name();
  int Status = 0;
  std::unique_ptr<char, decltype(&std::free)> Demangled(
      abi::__cxa_demangle(Mangled, nullptr, nullptr, &Status), &std::free);
  std::string Name = (Status == 0 && Demangled) ? Demangled.get() : Mangled;
  const std::size_t Colon = Name.rfind("::");
  return Colon == std::string::npos ? Name : Name.substr(Colon + 2);
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  throw EConvertError("Cannot assign a " + (Source ? Source->ClassName() : std::string("nil")) +
                      " to a " + ClassName());
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->Insert(this);
}

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  // Whoever holds a pointer to this component drops it now.
  while (!FFreeNotifies.empty()) {
    TComponent* C = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    std::erase(C->FFreeNotifies, this);
    C->Notification(this, opRemove);
  }
  // Owned components go last-created first; each one takes itself out of the list.
  while (!FComponents.empty()) delete FComponents.back();
  if (TComponent* Owner = FOwner) {
    Owner->Remove(this);
    Owner->Notification(this, opRemove);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
  if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) ==
      AComponent->FFreeNotifies.end())
    AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  std::erase(FFreeNotifies, AComponent);
  std::erase(AComponent->FFreeNotifies, this);
}

TComponent* TComponent::GetComponents(int Index) const {
  return (Index >= 0 && Index < GetComponentCount()) ? FComponents[std::size_t(Index)] : nullptr;
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameNameIgnoringCase(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::ChangeOwner(TComponent* NewOwner) {
  if (NewOwner == FOwner) return;
  for (TComponent* O = NewOwner; O; O = O->FOwner)
    if (O == this) throw EConvertError("A component cannot own itself");
  if (FOwner) FOwner->Remove(this);
  if (NewOwner) NewOwner->Insert(this);
}

void TComponent::SetDesigning(bool Value) {
  if (Value)
    FComponentState |= csDesigning;
  else
    FComponentState &= TComponentState(~csDesigning);
  for (TComponent* C : FComponents) C->SetDesigning(Value);
}

void TComponent::BeginLoading() {
  FComponentState |= csLoading;
  for (TComponent* C : FComponents) C->BeginLoading();
}

void TComponent::EndLoading() {
  for (TComponent* C : FComponents) C->EndLoading();
  if (!IsLoading()) return;
  FComponentState &= TComponentState(~csLoading);
  Loaded();
}

void TComponent::Insert(TComponent* C) {
  FComponents.push_back(C);
  C->FOwner = this;
  // Whatever a designer holds is designed, and so are the parts it makes for itself (they are
  // inserted into it while it is made, after it got the flag here).
  if (IsDesigning()) C->SetDesigning(true);
}

void TComponent::Remove(TComponent* C) {
  std::erase(FComponents, C);
  C->FOwner = nullptr;
}

}  // namespace kvl
