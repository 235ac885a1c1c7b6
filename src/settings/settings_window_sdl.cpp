// The settings window on Linux: an SDL window whose upper part shows the
// scene, with the six sliders and two buttons drawn by Dear ImGui into the
// same context, over the scene, inside the one swap of each frame.

#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>

#include "app/desktop_host_sdl.h"
#include "app/shells_sdl.h"
#include "app/tick_timer_sdl.h"
#include "fullscreen/fullscreen.h"
#include "settings/settings_window.h"

namespace qv {

namespace {

// Design size and place; creation centres the window at 400 x 440.
constexpr int kDesignLeft = 320, kDesignTop = 142, kDesignWidth = 414, kDesignHeight = 440;
// The labels' and buttons' face: bold, 13 pixels; the metric twin of the
// classic sans face where it is installed, ImGui's own font otherwise.
constexpr const char* kControlFont = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";
constexpr float kControlFontPixels = 13.0f;

ImU32 LabelColour() {
  return IM_COL32((kLabelColour >> 16) & 0xFF, (kLabelColour >> 8) & 0xFF, kLabelColour & 0xFF,
                  255);
}

void SetUpImGui() {
  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  // Nothing of the controls' layout is remembered between runs.
  io.IniFilename = nullptr;
  io.LogFilename = nullptr;
  ImGui::StyleColorsDark();
  ImGuiStyle& style = ImGui::GetStyle();
  style.WindowPadding = ImVec2(0, 0);
  style.WindowBorderSize = 0;
  style.GrabMinSize = 10;
  style.FrameRounding = 2;
  if (FILE* f = std::fopen(kControlFont, "rb")) {
    std::fclose(f);
    io.Fonts->AddFontFromFileTTF(kControlFont, kControlFontPixels);
  }
}

// Where a key moves a focused slider, as it moves a trackbar: left and up one
// step down, right and down one step up, the page keys a fifth of the range,
// Home and End to the ends. Other keys leave it where it is.
int KeyedPosition(SDL_Keycode key, int position, const SliderSpec& s) {
  const int page = std::max(1, (s.max - s.min) / 5);
  switch (key) {
    case SDLK_LEFT:
    case SDLK_UP:
      return position - 1;
    case SDLK_RIGHT:
    case SDLK_DOWN:
      return position + 1;
    case SDLK_PAGEUP:
      return position - page;
    case SDLK_PAGEDOWN:
      return position + page;
    case SDLK_HOME:
      return s.min;
    case SDLK_END:
      return s.max;
    default:
      return position;
  }
}

// Six trackbars with a tick under every position, their labels, two buttons.
// A click gives a slider the keyboard focus (outlined), a button takes it away.
void BuildControls(TForm2& form, int& focused) {
  const ImGuiIO& io = ImGui::GetIO();
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(io.DisplaySize);
  ImGui::Begin("##controls", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground |
                   ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                   ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_NoScrollWithMouse);
  ImDrawList* draw = ImGui::GetWindowDrawList();
  for (int i = 0; i < static_cast<int>(kSliders.size()); ++i) {
    const SliderSpec& s = kSliders[static_cast<std::size_t>(i)];
    ImGui::SetCursorPos(ImVec2(static_cast<float>(s.label_left), static_cast<float>(s.label_top)));
    ImGui::PushStyleColor(ImGuiCol_Text, LabelColour());
    ImGui::TextUnformatted(s.label);
    ImGui::PopStyleColor();

    ImGui::SetCursorPos(ImVec2(static_cast<float>(s.left), static_cast<float>(s.top)));
    ImGui::PushID(i);
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(0, 0));
    ImGui::SetNextItemWidth(static_cast<float>(kSliderWidth));
    int position = form.SliderPosition(i);
    if (ImGui::SliderInt("##trackbar", &position, s.min, s.max, "")) {
      form.SetSliderPosition(i, position);
    }
    if (ImGui::IsItemActivated()) focused = i;
    const ImVec2 lo = ImGui::GetItemRectMin();
    const ImVec2 hi = ImGui::GetItemRectMax();
    if (focused == i) {
      draw->AddRect(ImVec2(lo.x - 1, lo.y - 1), ImVec2(hi.x + 1, hi.y + 1), LabelColour());
    }
    ImGui::PopStyleVar();
    ImGui::PopID();
    // Ticks where the thumb's centre stops.
    const float half_grab = ImGui::GetStyle().GrabMinSize / 2 + 1;
    const float span = (hi.x - lo.x) - 2 * half_grab;
    for (int p = s.min; p <= s.max; ++p) {
      const float x = lo.x + half_grab +
                      span * static_cast<float>(p - s.min) / static_cast<float>(s.max - s.min);
      draw->AddLine(ImVec2(x, hi.y + 1), ImVec2(x, hi.y + 4), LabelColour());
    }
  }
  ImGui::SetCursorPos(
      ImVec2(static_cast<float>(kSaveButton.left), static_cast<float>(kSaveButton.top)));
  if (ImGui::Button(kSaveButton.caption, ImVec2(static_cast<float>(kSaveButton.width),
                                                static_cast<float>(kSaveButton.height)))) {
    focused = -1;
    form.BitBtn1Click();
  }
  ImGui::SetCursorPos(
      ImVec2(static_cast<float>(kSiteButton.left), static_cast<float>(kSiteButton.top)));
  if (ImGui::Button(kSiteButton.caption, ImVec2(static_cast<float>(kSiteButton.width),
                                                static_cast<float>(kSiteButton.height)))) {
    focused = -1;
    form.BitBtn2Click();
  }
  ImGui::End();
}

}  // namespace

int RunSettingsShell(SceneState& scene, GeometryStore& store) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "quorvelian: cannot open the display: %s\n", SDL_GetError());
    return 1;
  }
  SdlWindowHost host;
  if (!host.Open(kSettingsCaption, kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight,
                 SDL_WINDOW_RESIZABLE)) {
    return 1;
  }
  SetUpImGui();
  ImGui_ImplSDL2_InitForOpenGL(host.window(), nullptr);
  ImGui_ImplOpenGL2_Init();

  bool frame_open = false;
  host.SetBeforeSwap([&frame_open] {
    if (!frame_open) return;
    frame_open = false;
    ImGui::Render();
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
  });
  // The font texture belongs to the context that goes; the next frame makes
  // it again in the new one.
  host.SetBeforeRelease([] { ImGui_ImplOpenGL2_DestroyFontsTexture(); });

  TForm2 form(scene, store, host);
  form.FormCreate();
  bool running = !host.close_requested() && !host.terminated();
  if (running) {
    SDL_ShowWindow(host.window());
    SDL_RaiseWindow(host.window());
    form.FormResize(host.OuterWidth(), host.OuterHeight());
    form.FormActivate();
    running = !host.close_requested() && !host.terminated();
  }

  bool focus_lost = false;
  int focused_slider = -1;
  auto handle = [&](const SDL_Event& e) {
    ImGui_ImplSDL2_ProcessEvent(&e);
    switch (e.type) {
      case SDL_QUIT:
        running = false;
        break;
      case SDL_WINDOWEVENT:
        if (e.window.windowID != host.window_id()) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) running = false;
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          form.FormResize(host.OuterWidth(), host.OuterHeight());
        }
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) focus_lost = true;
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED && focus_lost) {
          focus_lost = false;
          form.FormActivate();
        }
        break;
      case SDL_KEYDOWN:
        // SDL's key codes for Escape and the other ASCII keys are the
        // characters themselves, which is what the form compares against.
        form.FormKeyDown(static_cast<int>(e.key.keysym.sym));
        if (focused_slider >= 0 && !form.ended()) {
          const auto& s = kSliders[static_cast<std::size_t>(focused_slider)];
          const int from = form.SliderPosition(focused_slider);
          form.SetSliderPosition(focused_slider, KeyedPosition(e.key.keysym.sym, from, s));
        }
        break;
      default:
        break;
    }
  };

  TickTimer timer(kFrameIntervalMs);
  while (running) {
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, timer.WaitMs()) != 0) {
      handle(e);
      while (running && SDL_PollEvent(&e) != 0) handle(e);
    }
    if (host.close_requested() || host.terminated()) break;
    if (!running || timer.WaitMs() > 0) continue;
    timer.Fired();
    if (host.has_context()) {
      ImGui_ImplOpenGL2_NewFrame();
      ImGui_ImplSDL2_NewFrame();
      ImGui::NewFrame();
      frame_open = true;
      BuildControls(form, focused_slider);
    }
    form.TimerTimer();
    if (frame_open) {
      // The form drew nothing this tick; the controls wait for the next one.
      ImGui::EndFrame();
      frame_open = false;
    }
  }
  host.ReleaseGraphics();
  ImGui_ImplOpenGL2_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  ImGui::DestroyContext();
  return host.graphics_failed() ? 1 : 0;
}

}  // namespace qv
