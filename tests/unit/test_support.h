#pragma once
// Shared fixtures: a scene with its store, and helpers to read call streams.

#include <memory>
#include <vector>

#include "geometry/geometry_store.h"
#include "testing/recording_sink.h"
#include "scene/scene_state.h"

namespace qv::testing_support {

struct World {
  SceneState scene;
  std::unique_ptr<GeometryStore> store = std::make_unique<GeometryStore>();
};

inline int CountOp(const std::vector<GlCall>& calls, GlCall::Op op) {
  int n = 0;
  for (const GlCall& c : calls) n += c.op == op;
  return n;
}

// The slot rotation (first glRotatef) of every flower drawn, in order.
inline std::vector<double> FlowerRotations(const std::vector<GlCall>& calls) {
  std::vector<double> out;
  bool in_flower = false;
  for (const GlCall& c : calls) {
    if (c.op == GlCall::kPushMatrix) in_flower = true;
    if (c.op == GlCall::kRotatef && in_flower) {
      out.push_back(c.f[0]);
      in_flower = false;
    }
  }
  return out;
}

}  // namespace qv::testing_support
