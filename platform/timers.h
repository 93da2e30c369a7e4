// Timers on the loop's clock. TTimerService keeps the repeating timers; TPrivateTimer is the one
// timer a component owns (start, restart, kill), whose handler's exceptions never leave the
// loop.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "kvl/core/kvlbase.h"

namespace kvl {

class TObject;
class TComponent;

class TTimerService {
public:
  using TId = std::uint64_t;

  TTimerService();
  ~TTimerService();
  TTimerService(const TTimerService&) = delete;
  TTimerService& operator=(const TTimerService&) = delete;

  // Starts a repeating timer: the first tick one interval from now. 0 when the host refuses
  // a timer. Exceptions from Tick go to Application->HandleException(Sender); a component
  // Sender that is gone by then (a tick may free its owner) is passed as nullptr.
  TId Start(int IntervalMs, std::function<void()> Tick, TObject* Sender);
  void Stop(TId Id);
  bool IsActive(TId Id) const;
  std::size_t GetCount() const { return FTimers.size(); }
  // When the earliest timer is due.
  std::optional<std::int64_t> NextDue() const;
  // Ticks every timer due at Now once, earliest first. A timer that fell behind ticks once and
  // goes on one interval from now; ticks never queue up.
  void FireDue(std::int64_t Now);

private:
  struct TEntry {
    TId Id;
    int Interval;
    std::int64_t Due;
    std::function<void()> Tick;
    TObject* Sender;
    TComponent* Watched;  // the sender as a component, or nullptr
  };
  // Told when a component sender goes; forgets it everywhere.
  class TSenderWatch;
  void SenderGone(const TObject* Sender);

  std::vector<TEntry> FTimers;
  TId FNextId = 1;
  std::unique_ptr<TSenderWatch> FWatch;
  std::vector<TObject**> FFiring;  // the senders of the ticks running now (loops nest)
};

// A component's private timer: at most one running at a time.
class TPrivateTimer {
public:
  TPrivateTimer(TComponent& Owner, std::function<void()> OnTimer);
  ~TPrivateTimer();
  TPrivateTimer(const TPrivateTimer&) = delete;
  TPrivateTimer& operator=(const TPrivateTimer&) = delete;

  // Kills the running timer; then, when IntervalMs > 0 and the timer is wanted, starts it
  // anew. A refusal raises E with the owner's "no timer available" message.
  template <class E>
  void Restart(int IntervalMs, bool Wanted = true) {
    if (!TryRestart(IntervalMs, Wanted)) RaiseComponentError<E>(OwnerName(), rsNoTimer);
  }
  void Kill();
  bool GetActive() const;
  int GetInterval() const { return FInterval; }

private:
  bool TryRestart(int IntervalMs, bool Wanted);
  std::string_view OwnerName() const;

  TComponent& FOwner;
  std::function<void()> FOnTimer;
  TTimerService::TId FId = 0;
  int FInterval = 0;
};

}  // namespace kvl
