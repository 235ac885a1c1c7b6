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
    // A focused slider moves with the keys as a trackbar does.
    if (e.type == SDL_KEYDOWN && focused_slider_ >= 0 && !form_.ended()) {
      const auto& s = kSliders[static_cast<std::size_t>(focused_slider_)];
      const int from = form_.SliderPosition(focused_slider_);
      form_.SetSliderPosition(focused_slider_, KeyedPosition(e.key.keysym.sym, from, s));
    }
  }

  void BeginFrame() override {
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
    frame_open_ = true;
    BuildControls(form_, focused_slider_);
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
  int focused_slider_ = -1;
  bool frame_open_ = false;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<SdlControls> MakeSettingsControls(TForm2& form) {
  return std::make_unique<ImGuiSettingsControls>(form);
}

}  // namespace qv
