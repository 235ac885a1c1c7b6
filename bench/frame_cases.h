#pragma once
// The cases that both timing programs measure (the Google Benchmark suite
// and `quorvelian-render bench`), so their numbers stay comparable.

#include <array>
#include <memory>

#include "geometry/geometry_store.h"
#include "render/gl_sink.h"
#include "scene/frame_director.h"
#include "scene/scene_state.h"
#include "store/settings.h"

namespace qv::bench {

// Regeneration runs at every mesh detail with the first-run colour.
inline constexpr int kRegenerateColour = kFullScreenDefaults[5];

// Species 4 in every slot: its sparkles at mesh detail 5 are the largest
// single renderer call.
inline constexpr int kHeaviestKind = 3;

struct FrameCase {
  const char* name;
  bool heaviest;
};
inline constexpr std::array<FrameCase, 2> kFrameCases = {{{"defaults", false}, {"heaviest", true}}};

// The full-screen saver's scene after its creation steps, stepped one frame
// at a time. At the defaults the slots live their own cycles, as in the
// saver; the heaviest case keeps all three slots fully opaque with species
// 4, mesh detail 5 and sparkles in every frame.
class FrameScene {
 public:
  explicit FrameScene(bool heaviest) : heaviest_(heaviest) {
    SettingValues values = kFullScreenDefaults;
    if (heaviest_) {
      values[2] = 10;  // Satiation 10: mesh detail 5
      values[4] = 3;   // Snow 3: primitive mode 1, sparkles
    }
    AssignSettings(scene, values);
    DeriveSettings(scene);
    scene.BannerAlphaStep = 0.001;
    RegenerateAllSpecies(*store, scene.MeshDetail, scene.Frame);
    InitSlots(scene, 1);
  }

  void Step(GlSink& sink) {
    if (heaviest_) {
      // A slot whose alpha is not 0 keeps its kind, and one younger than
      // its fade-out age draws at full strength.
      for (int k = 0; k < 3; ++k) {
        scene.SlotKind[k] = kHeaviestKind;
        scene.SlotAlpha[k] = 1;
        scene.SlotAge[k] = 0;
      }
    }
    DrawFrame(scene, *store, sink, kFullScreenFrame);
  }

  SceneState scene;
  std::unique_ptr<GeometryStore> store = std::make_unique<GeometryStore>();

 private:
  bool heaviest_;
};

}  // namespace qv::bench
