// The object model every component stands on: objects with a class name, persistent objects
// that copy themselves (Assign/AssignTo), and components that own other components.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kvl/platform/errors.h"

namespace kvl {

class TObject {
public:
  virtual ~TObject() = default;
  // The class's own name without namespace ("TBitmap").
  std::string ClassName() const;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
public:
  // Copies Source's state into this object. The base asks Source to assign itself to this
  // object (AssignTo); when nobody knows how, it raises EConvertError
  // "Cannot assign a TSource to a TDest" ("nil" for a missing source).
  virtual void Assign(const TPersistent* Source);

protected:
  // Copies this object's state into Dest; the base raises the conversion error.
  virtual void AssignTo(TPersistent* Dest) const;
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

enum TComponentStateFlag : std::uint8_t {
  csLoading = 1,     // properties are being set up; Loaded() follows
  csDesigning = 2,   // the component lives in a designer (tests set it)
  csDestroying = 4,  // the destructor runs
};
using TComponentState = std::uint8_t;

enum TOperation : std::uint8_t { opInsert, opRemove };

// A component belongs to its owner, which deletes it; deleting a component first deletes the
// components it owns and takes it out of its owner's list.
class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* GetOwner() const { return FOwner; }
  int GetComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Index 0 .. ComponentCount - 1; nullptr outside.
  TComponent* GetComponents(int Index) const;
  // The owned component with this name (ASCII case ignored), or nullptr.
  TComponent* FindComponent(const std::string& AName) const;
  // Moves the component to another owner (nullptr: no owner).
  void ChangeOwner(TComponent* NewOwner);

  const std::string& GetName() const { return FName; }
  virtual void SetName(const std::string& NewName) { FName = NewName; }
  std::intptr_t GetTag() const { return FTag; }
  void SetTag(std::intptr_t T) { FTag = T; }

  TComponentState GetComponentState() const { return FComponentState; }
  bool IsDesigning() const { return (FComponentState & csDesigning) != 0; }
  bool IsLoading() const { return (FComponentState & csLoading) != 0; }
  bool IsDestroying() const { return (FComponentState & csDestroying) != 0; }
  // Marks this component and the ones it owns as living in a designer. A component inserted
  // into a designing owner becomes designing itself.
  void SetDesigning(bool Value);
  // Bracket a batch of property settings, as a form loader does; EndLoading calls Loaded()
  // on this component and, first, on the ones it owns.
  void BeginLoading();
  void EndLoading();

  // A component that keeps a pointer to AComponent (one it does not own) asks to be told when
  // AComponent goes: its Notification(AComponent, opRemove) runs then. The link works both
  // ways and ends when either is destroyed or RemoveFreeNotification is called.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

protected:
  // Called once the properties set between BeginLoading and EndLoading are all in place.
  virtual void Loaded() {}
  // AComponent was inserted into or is being removed from this component's care: an owned
  // component, or one linked by FreeNotification. Overrides drop their pointers to it; they
  // must not call into AComponent, which is being destroyed.
  virtual void Notification(TComponent*, TOperation) {}
  // Marks the component as being destroyed, for destructors of derived classes that must tell
  // the parts they tear down not to react any more.
  void Destroying() { FComponentState |= csDestroying; }

private:
  void Insert(TComponent* C);
  void Remove(TComponent* C);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;  // told when this component goes, and vice versa
  std::string FName;
  std::intptr_t FTag = 0;
  TComponentState FComponentState = 0;
};

}  // namespace kvl
