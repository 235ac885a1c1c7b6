// Long runs of the real front-ends' frame step, with the scene's invariants
// checked after every frame. Built under the address and undefined-behaviour
// sanitizers, so a stray read or overflow anywhere in the frame also ends the
// run. QV_SOAK_FRAMES shortens the runs; QV_SOAK_SEED repeats one.
//
// The frames go through a checking sink rather than a recording one: the
// heaviest case sends some 30,000 calls a frame, and storing 100,000 frames
// of them costs more than the run itself. Every 1,000th frame is also drawn
// from a copy of the scene into a RecordingSink, and the two streams must
// agree, so the checker cannot go blind unnoticed.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "app/host.h"
#include "fullscreen/fullscreen.h"
#include "geometry/geometry_store.h"
#include "render/kind_renderers.h"
#include "scene/frame_director.h"
#include "scene/scene_state.h"
#include "settings/settings_window.h"
#include "store/settings.h"
#include "testing/memory_store.h"
#include "testing/recording_sink.h"

namespace qv {

// Counts what a frame sends and notes the first thing wrong with it.
class CheckingSink final : public GlSink {
 public:
  std::string fault;
  int matrix_depth = 0;
  bool in_batch = false;
  long long vertices = 0, colours = 0, batches = 0, pushes = 0;
  // Species-4 kinds in every slot (slot 3 in the second colouring), drawn in
  // place of whatever the slot picked.
  bool pin_species4 = false;

  void StartFrame() {
    fault.clear();
    vertices = colours = batches = pushes = 0;
  }

  void DrawKind(int kind, const SceneState& scene, const GeometryStore& store) override {
    if (kind < 0 || kind > 11) Note("DrawKind " + std::to_string(kind));
    if (pin_species4) kind = scene.CurrentSlotAngle == 0 ? 9 : 3;
    DrawKindWith(*this, kind, scene, store);
  }

  void PushMatrix() override {
    ++matrix_depth;
    ++pushes;
  }
  void PopMatrix() override {
    if (--matrix_depth < 0) Note("PopMatrix without PushMatrix");
  }
  void Translatef(float x, float y, float z) override { Finite("Translatef", {x, y, z}); }
  void Rotatef(float a, float x, float y, float z) override { Finite("Rotatef", {a, x, y, z}); }
  void PointSize(float s) override { Finite("PointSize", {s}); }
  void Begin(unsigned) override {
    if (in_batch) Note("Begin inside Begin");
    in_batch = true;
    ++batches;
  }
  void End() override {
    if (!in_batch) Note("End without Begin");
    in_batch = false;
  }
  void Color4f(float r, float g, float b, float a) override {
    ++colours;
    Finite("Color4f", {r, g, b, a});
  }
  void Vertex3f(float x, float y, float z) override {
    ++vertices;
    if (!in_batch) Note("Vertex3f outside Begin/End");
    Finite("Vertex3f", {x, y, z});
  }
  void Clear(unsigned) override {}
  void ClearColor(float r, float g, float b, float a) override {
    Finite("ClearColor", {r, g, b, a});
  }
  void Viewport(int, int, int, int) override {}
  void MatrixMode(unsigned) override {}
  void LoadIdentity() override {}
  void Perspective(double fovy, double aspect, double n, double f) override {
    Finite("Perspective", {fovy, aspect, n, f});
  }
  void LookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
              double uy, double uz) override {
    Finite("LookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
  }
  void Enable(unsigned) override {}
  void BlendFunc(unsigned, unsigned) override {}
  void ShadeModel(unsigned) override {}
  void PolygonMode(unsigned, unsigned) override {}
  void Materialfv(unsigned, unsigned, const float* p) override {
    Finite("Materialfv", {p[0], p[1], p[2], p[3]});
  }
  void Materialf(unsigned, unsigned, float v) override { Finite("Materialf", {v}); }
  void Lightfv(unsigned, unsigned, const float* p) override {
    Finite("Lightfv", {p[0], p[1], p[2], p[3]});
  }
  void RasterPos2f(float x, float y) override { Finite("RasterPos2f", {x, y}); }
  unsigned GenLists(int) override { return 1000; }
  void DeleteLists(unsigned, int) override {}
  void PushAttrib(unsigned) override { ++attrib_depth; }
  void PopAttrib() override {
    if (--attrib_depth < 0) Note("PopAttrib without PushAttrib");
  }
  void ListBase(unsigned) override {}
  void CallLists(int, unsigned, const void*) override {}

  int attrib_depth = 0;

 private:
  void Note(const std::string& what) {
    if (fault.empty()) fault = what;
  }
  void Finite(const char* call, std::initializer_list<double> values) {
    for (double v : values) {
      if (!std::isfinite(v)) Note(std::string(call) + " with a non-finite number");
    }
  }
};

namespace {

class NoGlyphs final : public CaptionGlyphs {
 public:
  bool Build(unsigned, int, int, int) override { return true; }
};

// A window that always has graphics and never ends on its own.
class SoakHost final : public HostWindow, public GlContext, public Services {
 public:
  CheckingSink sink;
  NoGlyphs glyphs;
  std::map<std::string, MemorySettingsStore::Key> keys;
  std::vector<std::string> errors;

  Host host() { return Host{*this, *this, *this}; }

  int ScreenWidth() override { return 1024; }
  int ScreenHeight() override { return 768; }
  int ClientWidth() override { return 1024; }
  int ClientHeight() override { return 768; }
  int OuterWidth() override { return 1024; }
  int OuterHeight() override { return 768; }
  void SetBounds(int, int, int, int) override {}
  bool IsActive() override { return true; }
  CursorPoint CursorPos() override { return {512, 384}; }
  void ShowCursor(bool) override {}
  void SetScreenSaverRunning(bool) override {}
  void RequestClose() override {}
  void Terminate() override {}
  void Invalidate() override {}

  bool CreateGraphics() override { return true; }
  void ReleaseGraphics() override {}
  GlSink& Sink() override { return sink; }
  CaptionGlyphs& Glyphs() override { return glyphs; }
  void SwapBuffers() override {}

  void ShowErrorBox(const std::string& text) override { errors.push_back(text); }
  bool VerifyPassword() override { return true; }
  std::unique_ptr<SettingsStore> OpenSettingsStore() override {
    return std::make_unique<MemorySettingsStore>(keys);
  }
  void OpenWebPage(const char*) override {}

  void Store(const SettingValues& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      keys[kSettingsKeyPath].values[kSettings[i].name].number = values[i];
    }
  }
};

long Frames() {
  const char* text = std::getenv("QV_SOAK_FRAMES");
  return text != nullptr ? std::strtol(text, nullptr, 10) : 100000;
}

unsigned long long Seed() {
  const char* text = std::getenv("QV_SOAK_SEED");
  if (text != nullptr) return std::strtoull(text, nullptr, 10);
  return static_cast<unsigned long long>(
      std::chrono::steady_clock::now().time_since_epoch().count());
}

// Largest move of light 0 in one frame: a drift is at most 99/10000 minus 0
// freely, and 0.01 + 99/10000 after a bounce.
constexpr double kMaxDriftStep = 0.01 + 99.0 / 10000.0;
// A slot fades out over 1 / 0.025 = 40 frames after its fade-out age; the
// sums of 0.025 may leave a sliver that needs one frame more, and the age
// restarts in the frame after alpha reached 0.
constexpr int kFadeOutFrames = 42;

double OutsideBy(double v, double low, double high) {
  if (v < low) return low - v;
  if (v > high) return v - high;
  return 0;
}

// The invariants of one scene across frames.
class SceneChecker {
 public:
  explicit SceneChecker(const LightBox& box) : box_(box) {}

  std::string Check(const SceneState& s) {
    for (int k = 0; k < 3; ++k) {
      const std::string slot = "slot " + std::to_string(k + 1);
      if (!(s.SlotAlpha[k] >= 0 && s.SlotAlpha[k] <= 1)) {
        return slot + " alpha " + std::to_string(s.SlotAlpha[k]);
      }
      if (s.SlotKind[k] < 0 || s.SlotKind[k] > 11) {
        return slot + " kind " + std::to_string(s.SlotKind[k]);
      }
      if (s.SlotAge[k] < 0 || s.SlotAge[k] > kSlotFadeOutAge[k] + kFadeOutFrames) {
        return slot + " age " + std::to_string(s.SlotAge[k]);
      }
    }
    if (!(s.TurnAngle > 0 && s.TurnAngle <= 360)) {
      return "turn angle " + std::to_string(s.TurnAngle);
    }
    // Light 0 may start outside the box (the settings window's box does not
    // hold its start position); it then heads straight for it, and once in
    // (give or take one step) it stays.
    for (int axis = 0; axis < 3; ++axis) {
      const double p = s.Light0Position[axis];
      if (!std::isfinite(p)) return "light 0 not finite";
      const double out = OutsideBy(p, box_.low[axis], box_.high[axis]);
      if (out <= kMaxDriftStep + 1e-6) {
        entered_[axis] = true;
      } else if (entered_[axis] || !(out < last_out_[axis])) {
        return "light 0 axis " + std::to_string(axis) + " at " + std::to_string(p) +
               " outside its box";
      }
      last_out_[axis] = out;
      if (!std::isfinite(s.LightDrift[axis])) return "light drift not finite";
    }
    for (double v : {s.CurrentAlpha, s.BannerAlpha, s.BannerAlphaStep}) {
      if (!std::isfinite(v)) return "scene number not finite";
    }
    return {};
  }

 private:
  LightBox box_;
  bool entered_[3] = {false, false, false};
  double last_out_[3] = {1e30, 1e30, 1e30};
};

std::string CheckSink(const CheckingSink& sink) {
  if (!sink.fault.empty()) return sink.fault;
  if (sink.matrix_depth != 0) return "Push/Pop unbalanced by " + std::to_string(sink.matrix_depth);
  if (sink.in_batch) return "frame ended inside Begin/End";
  if (sink.attrib_depth != 0) return "PushAttrib/PopAttrib unbalanced";
  return {};
}

// Draws the frame of a copy of the scene into a RecordingSink and compares
// its stream with what the checking sink counts for the real frame.
template <class StepFn>
std::string CrossCheck(SceneState& scene, GeometryStore& store, CheckingSink& sink,
                       const FrameConfig& config, StepFn step) {
  SceneState copy = scene;
  RecordingSink recording;
  DrawFrame(copy, store, recording, config);
  step();
  long long vertices = 0, colours = 0, batches = 0, pushes = 0;
  for (const GlCall& c : recording.calls) {
    vertices += c.op == GlCall::kVertex3f;
    colours += c.op == GlCall::kColor4f;
    batches += c.op == GlCall::kBegin;
    pushes += c.op == GlCall::kPushMatrix;
  }
  if (sink.pin_species4) return {};  // the recording drew the slots' own kinds
  if (vertices != sink.vertices || colours != sink.colours || batches != sink.batches ||
      pushes != sink.pushes) {
    return "checking sink counted " + std::to_string(sink.vertices) + " vertices, recording " +
           std::to_string(vertices);
  }
  return {};
}

struct SoakRun {
  std::string failure;
  long frame = 0;
  long long vertices = 0;
};

template <class BeforeFrame, class DrawOne>
SoakRun Soak(SceneState& scene, GeometryStore& store, CheckingSink& sink, const FrameConfig& config,
             BeforeFrame before, DrawOne draw) {
  SceneChecker checker(config.light_box);
  SoakRun run;
  const long frames = Frames();
  for (long f = 1; f <= frames; ++f) {
    before(f);
    sink.StartFrame();
    std::string failure;
    if (f % 1000 == 0) {
      failure = CrossCheck(scene, store, sink, config, draw);
    } else {
      draw();
    }
    if (failure.empty()) failure = CheckSink(sink);
    if (failure.empty()) failure = checker.Check(scene);
    run.vertices += sink.vertices;
    if (!failure.empty()) {
      run.failure = failure;
      run.frame = f;
      return run;
    }
  }
  run.frame = frames;
  return run;
}

void Report(const char* name, unsigned long long seed, const SoakRun& run) {
  std::printf("%s: %ld frames, %lld vertices, seed %llu\n", name, run.frame, run.vertices, seed);
  EXPECT_EQ(run.failure, "") << "frame " << run.frame << " (QV_SOAK_SEED=" << seed << ")";
}

TEST(Soak, FullScreenAtFirstRunDefaults) {
  SceneState scene;
  auto store = std::make_unique<GeometryStore>();
  SoakHost host;
  TForm1 form(scene, *store, host.host());
  form.FormCreate();
  form.FormActivate();
  ASSERT_TRUE(host.errors.empty());
  ASSERT_EQ(SettingsOf(scene), kFullScreenDefaults);
  const unsigned long long seed = Seed();
  InitSlots(scene, seed);
  const SoakRun run = Soak(
      scene, *store, host.sink, kFullScreenFrame, [](long) {}, [&] { form.TimerTimer(); });
  Report("full screen, defaults", seed, run);
}

TEST(Soak, FullScreenAtTheHeaviestSettings) {
  SceneState scene;
  auto store = std::make_unique<GeometryStore>();
  SoakHost host;
  SettingValues heaviest = kFullScreenDefaults;
  heaviest[2] = 10;  // Satiation 10: mesh detail 5
  heaviest[4] = 3;   // Snow 3: primitive mode 1, the sparkles
  host.Store(heaviest);
  host.sink.pin_species4 = true;
  TForm1 form(scene, *store, host.host());
  form.FormCreate();
  form.FormActivate();
  ASSERT_TRUE(host.errors.empty());
  ASSERT_EQ(scene.MeshDetail, 5);
  ASSERT_EQ(scene.PrimitiveMode, 1);
  const unsigned long long seed = Seed();
  InitSlots(scene, seed);
  const SoakRun run = Soak(
      scene, *store, host.sink, kFullScreenFrame, [](long) {}, [&] { form.TimerTimer(); });
  Report("full screen, heaviest", seed, run);
  // Three species-4 flowers at mesh detail 5 most of the time: far more than
  // the defaults would send.
  EXPECT_GT(run.vertices, run.frame * 2000LL);
}

TEST(Soak, SettingsWindowWithSlidersMoving) {
  SceneState scene;
  auto store = std::make_unique<GeometryStore>();
  SoakHost host;
  TForm2 form(scene, *store, host.host());
  form.FormCreate();
  form.FormActivate();
  ASSERT_TRUE(host.errors.empty());
  const unsigned long long seed = Seed();
  InitSlots(scene, seed);
  std::mt19937_64 random(seed);
  long next_move = 1;
  long moves = 0;
  auto move_slider = [&](long f) {
    if (f != next_move) return;
    const int slider = static_cast<int>(random() % kSliders.size());
    const SliderSpec& spec = kSliders[static_cast<std::size_t>(slider)];
    const int span = spec.max - spec.min + 1;
    form.SetSliderPosition(slider, spec.min + static_cast<int>(random() % span));
    next_move = f + 1 + static_cast<long>(random() % 8);
    ++moves;
  };
  const SoakRun run =
      Soak(scene, *store, host.sink, kSettingsFrame, move_slider, [&] { form.TimerTimer(); });
  Report("settings window", seed, run);
  std::printf("settings window: %ld slider moves\n", moves);
  EXPECT_GE(moves, run.frame / 8);
}

}  // namespace
}  // namespace qv
