#include "app/driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fake_host.h"
#include "fullscreen/fullscreen.h"
#include "settings/settings_window.h"
#include "test_support.h"

namespace qv {
namespace {

using testing_support::FakeHost;
using testing_support::World;

// A front-end that writes down every handler the platform runs, and can be
// told to do something inside one.
class RecordingFrontEnd final : public FrontEnd {
 public:
  std::vector<std::string> calls;
  std::function<void(const std::string&)> inside;

  const WindowSpec& Spec() const override { return kFullScreenWindow; }
  void FormCreate() override { Note("create"); }
  void FormActivate() override { Note("activate"); }
  void FormResize() override { Note("resize"); }
  void TimerTimer() override { Note("tick"); }
  void FormKeyDown(int key) override { Note("key " + std::to_string(key)); }
  void FormMouseMove() override { Note("mouse"); }
  void FormClose() override { Note("close"); }
  void FormPaint() override { Note("paint"); }

 private:
  void Note(const std::string& call) {
    calls.push_back(call);
    if (inside) inside(call);
  }
};

using Calls = std::vector<std::string>;

TEST(Driver, EventsBecomeHandlersOnlyBetweenCreationAndClose) {
  RecordingFrontEnd front;
  Driver driver(front);
  // A window delivers messages while it is still being made.
  driver.Resize();
  driver.Activate();
  driver.Tick();
  EXPECT_TRUE(front.calls.empty());
  driver.Create();
  driver.Create();  // a second creation does nothing
  driver.Activate();
  driver.Resize();
  driver.Tick();
  driver.Key(27);
  driver.MouseMove();
  driver.Paint();
  EXPECT_FALSE(driver.ended());
  driver.Close();
  EXPECT_TRUE(driver.ended());
  EXPECT_TRUE(driver.closed());
  driver.Close();  // the system's close after the front-end's own
  driver.Tick();
  driver.Key(32);
  EXPECT_EQ(front.calls,
            (Calls{"create", "activate", "resize", "tick", "key 27", "mouse", "paint", "close"}));
}

TEST(Driver, FocusRegainedAfterALossActivatesAgain) {
  RecordingFrontEnd front;
  Driver driver(front);
  driver.Create();
  driver.Activate();
  driver.FocusGained();  // focus that was never lost is no new activation
  driver.FocusLost();
  driver.FocusLost();
  driver.FocusGained();
  driver.FocusGained();
  driver.FocusLost();
  driver.Activate();  // a platform that reports activations itself
  driver.FocusGained();
  EXPECT_EQ(front.calls, (Calls{"create", "activate", "activate", "activate"}));
}

TEST(Driver, CloseRequestedInsideAHandlerRunsOnceItHasReturned) {
  RecordingFrontEnd front;
  Driver driver(front);
  front.inside = [&](const std::string& call) {
    if (call != "key 65") return;
    driver.RequestClose();
    // The handler that asked is still running: nothing is closed under it,
    // and an event a box's own loop delivers meanwhile still arrives.
    EXPECT_FALSE(driver.closed());
    driver.Tick();
    driver.RequestClose();
  };
  driver.Create();
  driver.Key(65);
  EXPECT_TRUE(driver.ended());
  driver.Tick();
  EXPECT_EQ(front.calls, (Calls{"create", "key 65", "tick", "close"}));
}

TEST(Driver, CloseRequestedDuringCreationEndsBeforeTheWindowIsShown) {
  RecordingFrontEnd front;
  Driver driver(front);
  front.inside = [&](const std::string& call) {
    if (call == "create") driver.RequestClose();
  };
  driver.Create();
  EXPECT_TRUE(driver.ended());
  driver.Activate();
  EXPECT_EQ(front.calls, (Calls{"create", "close"}));
}

TEST(Driver, TerminateEndsWithoutTheCloseSteps) {
  RecordingFrontEnd front;
  Driver driver(front);
  front.inside = [&](const std::string& call) {
    if (call == "key 27") {
      driver.Terminate();
      driver.RequestClose();  // termination wins
    }
  };
  driver.Create();
  driver.Key(27);
  EXPECT_TRUE(driver.ended());
  EXPECT_FALSE(driver.closed());
  driver.Close();  // the window's destruction afterwards
  EXPECT_EQ(front.calls, (Calls{"create", "key 27"}));
}

TEST(Driver, RequestsFromAnotherThreadWaitForTheLoop) {
  RecordingFrontEnd front;
  Driver driver(front);
  driver.Create();
  std::thread([&] { driver.RequestClose(); }).join();
  EXPECT_FALSE(driver.ended()) << "acted on by the loop's thread only";
  driver.Settle();
  EXPECT_TRUE(driver.ended());
  EXPECT_EQ(front.calls, (Calls{"create", "close"}));
}

TEST(Driver, RunsTheSaverToItsEndAsAPlatformWould) {
  World w;
  FakeHost host;
  TForm1 form(w.scene, *w.store, host);
  Driver driver(form);
  host.driver = &driver;
  driver.Create();
  driver.Activate();
  driver.Tick();
  EXPECT_EQ(host.swaps, 1);
  host.cursor = {107, 100};
  driver.MouseMove();
  // The end request of the move ran the close steps once its handler had
  // returned: context released, saver flag cleared, loop ended.
  EXPECT_TRUE(driver.ended());
  EXPECT_FALSE(host.graphics_live);
  EXPECT_EQ(host.running_flags, (std::vector<int>{1, 0}));
  driver.Tick();
  EXPECT_EQ(host.swaps, 1);
}

TEST(Driver, SettingsWindowEscapeEndsWithoutClosingTwice) {
  World w;
  FakeHost host;
  TForm2 form(w.scene, *w.store, host);
  Driver driver(form);
  host.driver = &driver;
  driver.Create();
  driver.Activate();
  driver.Tick();
  driver.Key(kEscapeKey);
  EXPECT_TRUE(driver.ended());
  EXPECT_FALSE(host.graphics_live);
  EXPECT_EQ(host.graphics_released, host.graphics_created);
  driver.Close();
  EXPECT_EQ(host.graphics_released, host.graphics_created) << "nothing released twice";
}

}  // namespace
}  // namespace qv
