// The settings window on Linux: an SDL window whose upper part shows the
// scene, with the six sliders and two buttons drawn by Dear ImGui into the
// same context, over the scene, inside the one swap of each frame.

#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "settings/settings_controls_sdl.h"

namespace qv {

namespace {

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

// The keyboard's stops in tab order: the six sliders, then the two buttons.
constexpr int kSaveStop = static_cast<int>(kSliderCount);
constexpr int kSiteStop = kSaveStop + 1;
constexpr int kFocusStops = kSiteStop + 1;

int NextStop(int stop, bool backwards) {
  return (stop + (backwards ? kFocusStops - 1 : 1)) % kFocusStops;
}

void Outline(ImDrawList* draw) {
  const ImVec2 lo = ImGui::GetItemRectMin();
  const ImVec2 hi = ImGui::GetItemRectMax();
  draw->AddRect(ImVec2(lo.x - 2, lo.y - 2), ImVec2(hi.x + 2, hi.y + 2), LabelColour());
}

// Six trackbars with a tick under every position, their labels, two buttons.
// The control with the keyboard focus is outlined; a click gives it the focus.
void BuildControls(TForm2& form, int& focused) {
  const ImGuiIO& io = ImGui::GetIO();
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(io.DisplaySize);
  ImGui::Begin("##controls", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground |
                   ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                   ImGuiWindowFlags_NoBringToFrontOnFocus | ImGuiWindowFlags_NoScrollWithMouse |
                   // Tab is ours: ImGui's own tabbing would turn a slider
                   // into a text field.
                   ImGuiWindowFlags_NoNavInputs);
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
    if (focused == i) Outline(draw);
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
    focused = kSaveStop;
    form.BitBtn1Click();
  }
  if (focused == kSaveStop) Outline(draw);
  ImGui::SetCursorPos(
      ImVec2(static_cast<float>(kSiteButton.left), static_cast<float>(kSiteButton.top)));
  if (ImGui::Button(kSiteButton.caption, ImVec2(static_cast<float>(kSiteButton.width),
                                                static_cast<float>(kSiteButton.height)))) {
    focused = kSiteStop;
    form.BitBtn2Click();
  }
  if (focused == kSiteStop) Outline(draw);
  ImGui::End();
}

class ImGuiSettingsControls final : public SdlControls {
 public:
  explicit ImGuiSettingsControls(TForm2& form) : form_(form) {}

  void Open(SDL_Window* window) override {
    SetUpImGui();
    ImGui_ImplSDL2_InitForOpenGL(window, nullptr);
    ImGui_ImplOpenGL2_Init();
    open_ = true;
  }

  void Event(const SDL_Event& e) override {
    ImGui_ImplSDL2_ProcessEvent(&e);
    if (e.type != SDL_KEYDOWN || form_.ended()) return;
    const SDL_Keycode key = e.key.keysym.sym;
    // Tab and Shift+Tab walk the stops as in a dialog box.
    if (key == SDLK_TAB && (e.key.keysym.mod & (KMOD_CTRL | KMOD_ALT)) == 0) {
      focused_ = NextStop(focused_, (e.key.keysym.mod & KMOD_SHIFT) != 0);
      return;
    }
    // A focused button is pressed by Space or Enter (once per press, not
    // per auto-repeat, as a push button clicks on its release).
    if (focused_ >= kSaveStop) {
      const bool press = key == SDLK_SPACE || key == SDLK_RETURN || key == SDLK_KP_ENTER;
      if (!press || e.key.repeat != 0) return;
      if (focused_ == kSaveStop) form_.BitBtn1Click();
      if (focused_ == kSiteStop) form_.BitBtn2Click();
      return;
    }
    // A focused slider moves with the keys as a trackbar does.
    const auto& s = kSliders[static_cast<std::size_t>(focused_)];
    form_.SetSliderPosition(focused_, KeyedPosition(key, form_.SliderPosition(focused_), s));
  }

  void BeginFrame() override {
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    frame_open_ = true;
    BuildControls(form_, focused_);
  }

  void BeforeSwap() override {
    if (!frame_open_) return;
    frame_open_ = false;
    ImGui::Render();
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
  }

  void EndFrame() override {
    // The form drew nothing this tick; the controls wait for the next one.
    if (!frame_open_) return;
    ImGui::EndFrame();
    frame_open_ = false;
  }

  // The font texture belongs to the context that goes; the next frame makes
  // it again in the new one.
  void BeforeRelease() override {
    if (open_) ImGui_ImplOpenGL2_DestroyFontsTexture();
  }

  void Close() override {
    if (!open_) return;
    open_ = false;
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
  }

 private:
  TForm2& form_;
  // "Speed" has the keyboard when the window opens.
  int focused_ = 0;
  bool frame_open_ = false;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<SdlControls> MakeSettingsControls(TForm2& form) {
  return std::make_unique<ImGuiSettingsControls>(form);
}

}  // namespace qv
