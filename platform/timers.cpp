#include "kvl/platform/timers.h"

#include <algorithm>

#include "kvl/platform/application.h"

namespace kvl {

class TTimerService::TSenderWatch : public TComponent {
public:
  explicit TSenderWatch(TTimerService& Service) : TComponent(nullptr), FService(Service) {}

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (Operation == opRemove) FService.SenderGone(AComponent);
  }

private:
  TTimerService& FService;
};

TTimerService::TTimerService() : FWatch(std::make_unique<TSenderWatch>(*this)) {}

TTimerService::~TTimerService() = default;

TTimerService::TId TTimerService::Start(int IntervalMs, std::function<void()> Tick,
                                        TObject* Sender) {
  THost& Host = Application->GetHost();
  if (IntervalMs <= 0 || !Host.TimerAvailable()) return 0;
  const TId Id = FNextId++;
  auto* Watched = dynamic_cast<TComponent*>(Sender);
  if (Watched) FWatch->FreeNotification(Watched);
  FTimers.push_back({Id, IntervalMs, Host.Now() + IntervalMs, std::move(Tick), Sender, Watched});
  return Id;
}

void TTimerService::Stop(TId Id) {
  const auto It =
      std::find_if(FTimers.begin(), FTimers.end(), [Id](const TEntry& E) { return E.Id == Id; });
  if (It == FTimers.end()) return;
  TObject* const Sender = It->Sender;
  TComponent* const Watched = It->Watched;
  FTimers.erase(It);
  // The watch stays while another timer or a running tick still names the sender.
  const bool Named =
      std::any_of(FTimers.begin(), FTimers.end(),
                  [Sender](const TEntry& E) { return E.Sender == Sender; }) ||
      std::any_of(FFiring.begin(), FFiring.end(), [Sender](TObject** S) { return *S == Sender; });
  if (Watched && !Named) FWatch->RemoveFreeNotification(Watched);
}

void TTimerService::SenderGone(const TObject* Sender) {
  for (TEntry& E : FTimers)
    if (E.Sender == Sender) E.Sender = E.Watched = nullptr;
  for (TObject** S : FFiring)
    if (*S == Sender) *S = nullptr;
}

bool TTimerService::IsActive(TId Id) const {
  return std::any_of(FTimers.begin(), FTimers.end(), [Id](const TEntry& E) { return E.Id == Id; });
}

std::optional<std::int64_t> TTimerService::NextDue() const {
  if (FTimers.empty()) return std::nullopt;
  return std::min_element(FTimers.begin(), FTimers.end(),
                          [](const TEntry& A, const TEntry& B) { return A.Due < B.Due; })
      ->Due;
}

void TTimerService::FireDue(std::int64_t Now) {
  std::vector<std::pair<std::int64_t, TId>> Due;
  for (const TEntry& E : FTimers)
    if (E.Due <= Now) Due.emplace_back(E.Due, E.Id);
  std::sort(Due.begin(), Due.end());
  for (const auto& Entry : Due) {
    const TId Id = Entry.second;
    // A tick may stop or restart any timer, this one included: look it up afresh each time.
    const auto It =
        std::find_if(FTimers.begin(), FTimers.end(), [Id](const TEntry& E) { return E.Id == Id; });
    if (It == FTimers.end() || It->Due > Now) continue;
    It->Due = It->Due + It->Interval > Now ? It->Due + It->Interval : Now + It->Interval;
    // Copied: the tick may remove its own entry and so destroy the stored function.
    const std::function<void()> Tick = It->Tick;
    TObject* Sender = It->Sender;
    FFiring.push_back(&Sender);
    try {
      Tick();
    } catch (...) {
      Application->HandleException(Sender);
    }
    std::erase(FFiring, &Sender);
  }
}

TPrivateTimer::TPrivateTimer(TComponent& Owner, std::function<void()> OnTimer)
    : FOwner(Owner), FOnTimer(std::move(OnTimer)) {}

TPrivateTimer::~TPrivateTimer() { Kill(); }

void TPrivateTimer::Kill() {
  if (FId != 0) Application->GetTimers().Stop(FId);
  FId = 0;
}

bool TPrivateTimer::GetActive() const { return FId != 0 && Application->GetTimers().IsActive(FId); }

bool TPrivateTimer::TryRestart(int IntervalMs, bool Wanted) {
  Kill();
  FInterval = IntervalMs;
  if (IntervalMs <= 0 || !Wanted) return true;
  FId = Application->GetTimers().Start(
      IntervalMs, [this] { FOnTimer(); }, &FOwner);
  return FId != 0;
}

std::string_view TPrivateTimer::OwnerName() const { return FOwner.GetName(); }

}  // namespace kvl
