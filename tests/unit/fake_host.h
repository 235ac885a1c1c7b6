#pragma once
// A platform that records what a front-end asks of its window, its GL
// context and its services.

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "app/driver.h"
#include "app/host.h"
#include "testing/memory_store.h"
#include "testing/recording_sink.h"

namespace qv::testing_support {

class FakeGlyphs final : public CaptionGlyphs {
 public:
  bool Build(unsigned, int, int, int) override {
    ++builds;
    return true;
  }
  int builds = 0;
};

class FakeHost final : public HostWindow, public GlContext, public Services {
 public:
  // What a front-end is constructed with.
  operator Host() { return Host{*this, *this, *this}; }

  std::map<std::string, MemorySettingsStore::Key> keys;
  RecordingSink sink;
  FakeGlyphs glyphs;

  // The loop's requests go here too when a test drives a front-end as a
  // platform would.
  Driver* driver = nullptr;
  bool pixel_format_ok = true;
  bool active = true;
  bool password_ok = true;
  CursorPoint cursor{100, 100};
  int screen_w = 1024, screen_h = 768;
  int dpi = 96;
  int client_w = 640, client_h = 480;
  // The frame a window manager adds around the client area.
  int frame_w = 0, frame_h = 0;

  int graphics_created = 0, graphics_released = 0, swaps = 0, password_checks = 0, cursor_count = 0;
  // Also asked for by a front-end's own threads.
  std::atomic<int> close_requests{0}, terminations{0}, invalidations{0};
  bool graphics_live = false;
  std::vector<std::string> error_boxes;
  std::vector<int> running_flags;
  std::vector<std::string> pages;
  struct Bounds {
    int left, top, width, height;
  };
  std::vector<Bounds> bounds;

  bool CreateGraphics() override {
    if (!pixel_format_ok) return false;
    ++graphics_created;
    graphics_live = true;
    return true;
  }
  void ReleaseGraphics() override {
    if (graphics_live) ++graphics_released;
    graphics_live = false;
  }
  GlSink& Sink() override { return sink; }
  CaptionGlyphs& Glyphs() override { return glyphs; }
  void SwapBuffers() override { ++swaps; }
  int Dpi() override { return dpi; }
  int ScreenWidth() override { return screen_w; }
  int ScreenHeight() override { return screen_h; }
  int ClientWidth() override { return client_w; }
  int ClientHeight() override { return client_h; }
  int OuterWidth() override { return client_w + frame_w; }
  int OuterHeight() override { return client_h + frame_h; }
  void SetBounds(int l, int t, int w, int h) override {
    bounds.push_back({l, t, w, h});
    client_w = w - frame_w;
    client_h = h - frame_h;
  }
  void ShowErrorBox(const std::string& text) override { error_boxes.push_back(text); }
  void RequestClose() override {
    ++close_requests;
    if (driver != nullptr) driver->RequestClose();
  }
  void Terminate() override {
    ++terminations;
    if (driver != nullptr) driver->Terminate();
  }
  void Invalidate() override { ++invalidations; }
  bool IsActive() override { return active; }
  CursorPoint CursorPos() override { return cursor; }
  void ShowCursor(bool show) override { cursor_count += show ? 1 : -1; }
  void SetScreenSaverRunning(bool running) override { running_flags.push_back(running); }
  bool VerifyPassword() override {
    ++password_checks;
    return password_ok;
  }
  std::unique_ptr<SettingsStore> OpenSettingsStore() override {
    return std::make_unique<MemorySettingsStore>(keys);
  }
  void OpenWebPage(const char* address) override { pages.emplace_back(address); }

  std::map<std::string, std::int64_t> Stored() {
    std::map<std::string, std::int64_t> out;
    for (const auto& [name, v] : keys[kSettingsKeyPath].values) out[name] = v.number;
    return out;
  }
};

}  // namespace qv::testing_support
