#include "kvl/platform/timers.h"

#include <gtest/gtest.h>

#include "kvl/platform/application.h"
#include "kvl/platform/clipboard.h"
#include "kvl/testing/driver.h"

namespace kvl {
namespace {

class EKVLTestUnitError : public EKVLError {
public:
  using EKVLError::EKVLError;
};

// A component with a private timer that records the virtual time of each tick.
class TTicker : public TComponent {
public:
  explicit TTicker(const std::string& Name) : TComponent(nullptr) { SetName(Name); }
  std::vector<std::int64_t> Ticks;
  std::function<void()> Extra;
  TPrivateTimer Timer{*this, [this] {
                        Ticks.push_back(Application->GetHost().Now());
                        if (Extra) Extra();
                      }};
};

TEST(TimersTest, TicksRepeatAtTheIntervalAndARestartResetsThePhase) {
  TDriver D;
  TTicker T("Repeat");
  T.Timer.Restart<EKVLTestUnitError>(500);
  // A held repeat button: the first tick after 500 ms, then every 200 ms.
  T.Extra = [&] {
    if (T.Ticks.size() == 1) T.Timer.Restart<EKVLTestUnitError>(200);
  };
  D.AdvanceTime(1000);
  EXPECT_EQ(T.Ticks, (std::vector<std::int64_t>{500, 700, 900}));
  D.AdvanceTime(50);  // now 1050
  T.Timer.Restart<EKVLTestUnitError>(200);
  D.AdvanceTime(250);
  EXPECT_EQ(T.Ticks.back(), 1250);
  EXPECT_TRUE(T.Timer.GetActive());
}

TEST(TimersTest, ZeroIntervalOrUnwantedStopsAndDestructionKills) {
  TDriver D;
  {
    TTicker T("Stop");
    T.Timer.Restart<EKVLTestUnitError>(100);
    T.Timer.Restart<EKVLTestUnitError>(0);
    EXPECT_FALSE(T.Timer.GetActive());
    T.Timer.Restart<EKVLTestUnitError>(100, false);
    EXPECT_FALSE(T.Timer.GetActive());
    D.AdvanceTime(500);
    EXPECT_TRUE(T.Ticks.empty());
    T.Timer.Restart<EKVLTestUnitError>(100);
    EXPECT_EQ(Application->GetTimers().GetCount(), 1u);
  }
  EXPECT_EQ(Application->GetTimers().GetCount(), 0u);
  D.AdvanceTime(500);
}

TEST(TimersTest, ATickMayKillItsOwnTimer) {
  TDriver D;
  TTicker T("Once");
  T.Extra = [&] { T.Timer.Kill(); };
  T.Timer.Restart<EKVLTestUnitError>(10);
  D.AdvanceTime(100);
  EXPECT_EQ(T.Ticks.size(), 1u);
}

TEST(TimersTest, RefusalRaisesTheUnitErrorNamingTheComponent) {
  TDriver D;
  D.Host().SetRefuseTimers(true);
  TTicker T("ProgBar1");
  try {
    T.Timer.Restart<EKVLTestUnitError>(100);
    FAIL() << "no exception";
  } catch (const EKVLTestUnitError& E) {
    EXPECT_STREQ(E.what(), "Component \"ProgBar1\": no timer available");
  }
  EXPECT_FALSE(T.Timer.GetActive());
  // Stopping needs no timer and never raises.
  T.Timer.Restart<EKVLTestUnitError>(0);
  D.Host().SetRefuseTimers(false);
  T.Timer.Restart<EKVLTestUnitError>(100);
  EXPECT_TRUE(T.Timer.GetActive());
}

TEST(TimersTest, ExceptionsFromATickGoToTheApplicationAndTheTimerRunsOn) {
  TDriver D;
  TTicker T("Thrower");
  T.Extra = [] { throw EKVLError("tick failed"); };
  std::vector<std::string> Seen;
  Application->OnException = [&](TObject* Sender, const std::exception& E) {
    EXPECT_EQ(Sender, &T);
    Seen.push_back(E.what());
  };
  T.Timer.Restart<EKVLTestUnitError>(100);
  D.AdvanceTime(300);
  Application->OnException = nullptr;
  EXPECT_EQ(Seen, (std::vector<std::string>{"tick failed", "tick failed", "tick failed"}));
  EXPECT_EQ(T.Ticks.size(), 3u);
  // A failing exception handler is contained as well.
  Application->OnException = [](TObject*, const std::exception&) { throw 42; };
  D.AdvanceTime(100);
  Application->OnException = nullptr;
  EXPECT_EQ(T.Ticks.size(), 4u);
}

TEST(TimersTest, AnExceptionNamesTheOwnerOnlyWhileTheOwnerLives) {
  TDriver D;
  auto* Owner = new TComponent(nullptr);
  TObject* const Alive = Owner;
  std::vector<TObject*> Senders;
  Application->OnException = [&](TObject* Sender, const std::exception&) {
    // Reads the sender as a handler would: a freed one shows under AddressSanitizer.
    if (Sender) {
      EXPECT_EQ(Sender->ClassName(), "TComponent");
    }
    Senders.push_back(Sender);
  };
  // The second tick frees the owner and then fails; the third runs without an owner.
  int Ticks = 0;
  TPrivateTimer Timer(*Owner, [&] {
    if (++Ticks == 2) delete Owner;
    throw EKVLError("tick failed");
  });
  Timer.Restart<EKVLTestUnitError>(100);
  D.AdvanceTime(300);
  Application->OnException = nullptr;
  Timer.Kill();
  EXPECT_EQ(Senders, (std::vector<TObject*>{Alive, nullptr, nullptr}));
}

TEST(TimersTest, ALateLoopTicksOnceInsteadOfCatchingUp) {
  TDriver D;
  TTicker T("Late");
  T.Timer.Restart<EKVLTestUnitError>(100);
  D.Host().SetNow(1000);  // the loop was busy for a second
  D.Settle();
  D.AdvanceTime(100);
  EXPECT_EQ(T.Ticks, (std::vector<std::int64_t>{1000, 1100}));
}

TEST(ClipboardTest, TextRoundTripsThroughTheHostAndBeepsAreHeard) {
  TDriver D;
  EXPECT_FALSE(Clipboard().HasFormat(cfText));
  EXPECT_EQ(Clipboard().GetAsText(), "");
  Clipboard().SetAsText("1.5\t2,5\nÄß");
  EXPECT_TRUE(Clipboard().HasFormat(cfText));
  EXPECT_EQ(Clipboard().GetAsText(), "1.5\t2,5\nÄß");
  MessageBeep();
  Beep();
  EXPECT_EQ(D.Host().GetBeepCount(), 2);
}

}  // namespace
}  // namespace kvl
