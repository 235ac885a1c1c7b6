#include <gtest/gtest.h>

#include "render/kind_renderers.h"
#include "testing/recording_sink.h"
#include "test_support.h"

namespace qv {
namespace {

using testing_support::CountOp;
using testing_support::World;

std::vector<GlCall> Draw(World& w, int kind, int mode, int M, double alpha = 1) {
  w.scene.PrimitiveMode = mode;
  w.scene.MeshDetail = M;
  w.scene.CurrentAlpha = alpha;
  w.scene.Size = 12;
  w.scene.TurnAngle = 360;
  w.scene.CurrentSlotAngle = 0;
  RecordingSink sink;
  DrawKindWith(sink, kind, w.scene, *w.store);
  return sink.calls;
}

World Generated(int M, int F = 7) {
  World w;
  RegenerateAllSpecies(*w.store, M, F);
  return w;
}

// Vertices per flower, worked out by hand from the range tables: nodes in
// point mode (one vertex), sparkles (twelve), quads (four), triangles (three).
TEST(Renderers, VertexCountsFromTheRangeTables) {
  struct Case {
    int kind, mode, M, vertices;
  };
  const Case cases[] = {
      // Species 1, M 1, points: 4*7*3 petals + 40*8 stem + 3*7*2 leaves.
      {0, 0, 1, 84 + 320 + 42},
      // Species 1, M 1, quads: 4*6*2 petals + 39*7 stem + 3 leaves * 5 rows * 1.
      {0, 2, 1, 4 * (48 + 273 + 15)},
      // Species 1, M 3, quads: leaf cell rows 0..13, columns 0..2.
      {0, 2, 3, 4 * (4 * 18 * 6 + 273 + 3 * 14 * 3)},
      // Species 1, M 5: leaf quads rows 0..23 x 0..4; sparkles skip last row and column.
      {0, 2, 5, 4 * (4 * 30 * 10 + 273 + 3 * 24 * 5)},
      {0, 1, 1, 12 * (4 * 6 * 2 + 39 * 7 + 3 * 6 * 1)},
      {0, 3, 2, 3 * (4 * 12 * 4 + 39 * 7 + 3 * 12 * 2)},
      // Species 2, M 1, quads: 6*9 cup + rows 1..38 x 5 stem + 2*6*1 leaves.
      {1, 2, 1, 4 * (54 + 190 + 12)},
      // Species 2, M 2: cup points 13 x 17, stem 40 x 5, leaves 2 x 13 x 3.
      {1, 0, 2, 13 * 17 + 40 * 5 + 2 * 13 * 3},
      {7, 1, 1, 12 * (6 * 8 + 37 * 5 + 2 * 6 * 1)},
      {1, 3, 1, 3 * (6 * 8 + 37 * 5 + 2 * 6 * 1)},
      // Species 3, M 5, leaves: points 0..7, sparkles 0..6, triangles 0..6, quads 0..9.
      {2, 0, 5, 6 * 31 * 11 + 40 * 6 + 2 * 31 * 8},
      {2, 1, 5, 12 * (6 * 30 * 10 + 39 * 5 + 2 * 30 * 7)},
      {2, 3, 5, 3 * (6 * 30 * 10 + 39 * 5 + 2 * 30 * 7)},
      {2, 2, 5, 4 * (6 * 30 * 10 + 39 * 5 + 2 * 30 * 10)},
      // Species 4, M 5, sparkles: the heaviest call.
      {3, 1, 5, 12 * (6 * 30 * 15 + 39 * 5 + 2 * 30 * 7)},
      {9, 0, 2, 6 * 13 * 7 + 40 * 6 + 2 * 13 * 5},
      // Species 5 and 6 visit exactly what is generated in point mode.
      {4, 0, 3, 6 * 19 * 7 + 40 * 6 + 2 * 19 * 7},
      {5, 0, 1, 120 + 240 + 30},
      {11, 2, 4, 4 * (8 * 16 * 8 + 39 * 5 + 2 * 16 * 8)},
  };
  for (const Case& c : cases) {
    World w = Generated(c.M);
    const auto calls = Draw(w, c.kind, c.mode, c.M);
    EXPECT_EQ(CountOp(calls, GlCall::kVertex3f), c.vertices)
        << "kind " << c.kind << " mode " << c.mode << " M " << c.M;
    EXPECT_EQ(CountOp(calls, GlCall::kBegin), 1);
    EXPECT_EQ(CountOp(calls, GlCall::kPushMatrix), 1);
    EXPECT_EQ(CountOp(calls, GlCall::kPopMatrix), 1);
    EXPECT_EQ(CountOp(calls, GlCall::kPointSize), c.mode == 0 ? 1 : 0);
  }
}

TEST(Renderers, LeafColumnsAtMeshDetail1StayInsideTheGeneratedGrid) {
  // Species 3 and 4 name leaf columns up to 3 at M 1, one beyond the three
  // generated columns: points stop at column 2, cell corners at column 1.
  World w = Generated(1);
  EXPECT_EQ(CountOp(Draw(w, 2, 0, 1), GlCall::kVertex3f), 6 * 7 * 3 + 40 * 6 + 2 * 7 * 3);
  EXPECT_EQ(CountOp(Draw(w, 2, 3, 1), GlCall::kVertex3f), 3 * (6 * 6 * 2 + 39 * 5 + 2 * 6 * 2));
  EXPECT_EQ(CountOp(Draw(w, 3, 0, 1), GlCall::kVertex3f), 6 * 7 * 4 + 40 * 6 + 2 * 7 * 3);
  EXPECT_EQ(CountOp(Draw(w, 3, 2, 1), GlCall::kVertex3f), 4 * (6 * 6 * 3 + 39 * 5 + 2 * 6 * 2));
  // Out-of-range mesh detail is held to 1..5 rather than reading past the arrays.
  EXPECT_EQ(CountOp(Draw(w, 0, 0, 0), GlCall::kVertex3f), 84 + 320 + 42);
  World big = Generated(5);
  EXPECT_EQ(CountOp(Draw(big, 0, 0, 9), GlCall::kVertex3f), 4 * 31 * 11 + 320 + 3 * 31 * 6);
}

TEST(Renderers, PlacementAndPointOrder) {
  World w = Generated(1);
  w.scene.CurrentSlotAngle = 240;
  w.scene.PrimitiveMode = 0;
  w.scene.MeshDetail = 1;
  w.scene.CurrentAlpha = 0.5;
  w.scene.Size = 7;
  w.scene.TurnAngle = 359.5;
  RecordingSink sink;
  DrawKindWith(sink, 0, w.scene, *w.store);
  const auto& c = sink.calls;
  ASSERT_GE(c.size(), 8u);
  EXPECT_EQ(c[0].op, GlCall::kPushMatrix);
  EXPECT_EQ(c[1].op, GlCall::kTranslatef);
  EXPECT_EQ(c[1].f[0], 0);
  EXPECT_EQ(c[1].f[1], -5);
  EXPECT_EQ(c[1].f[2], -13);
  EXPECT_EQ(c[2].op, GlCall::kRotatef);
  EXPECT_EQ(c[2].f[0], 599.5f);
  EXPECT_EQ(c[2].f[2], 1);
  EXPECT_EQ(c[3].op, GlCall::kRotatef);
  EXPECT_EQ(c[3].f[0], -25);
  EXPECT_EQ(c[3].f[1], 1);
  EXPECT_EQ(c[3].f[3], 1);
  EXPECT_EQ(c[4].op, GlCall::kPointSize);
  EXPECT_EQ(c[5].op, GlCall::kBegin);
  EXPECT_EQ(c[5].e[0], gl::kPoints);
  EXPECT_EQ(c.back().op, GlCall::kPopMatrix);
  EXPECT_EQ(c[c.size() - 2].op, GlCall::kEnd);
  // Node 85 is the stem's first node (part 4, row 0, column 0).
  const SpeciesView v = w.store->View(1);
  const GlCall& vertex85 = c[6 + 2 * 84 + 1];
  ASSERT_EQ(vertex85.op, GlCall::kVertex3f);
  EXPECT_EQ(vertex85.f[0], static_cast<float>(v.At(kPointX, 4, 0, 0)));
  EXPECT_EQ(vertex85.f[1], static_cast<float>(v.At(kPointY, 4, 0, 0)));
  EXPECT_EQ(c[6].f[3], 0.5f);
}

TEST(Renderers, SecondVariantDiffersOnlyInPetalColours) {
  for (int species = 1; species <= 6; ++species) {
    World w = Generated(2, 5);
    for (int mode = 0; mode <= 3; ++mode) {
      const auto first = Draw(w, species - 1, mode, 2);
      const auto second = Draw(w, species + 5, mode, 2);
      ASSERT_EQ(first.size(), second.size());
      for (std::size_t i = 0; i < first.size(); ++i) {
        ASSERT_EQ(first[i].op, second[i].op);
        if (first[i].op != GlCall::kColor4f) {
          for (int k = 0; k < 4; ++k) EXPECT_EQ(first[i].f[k], second[i].f[k]);
        } else {
          EXPECT_EQ(first[i].f[3], second[i].f[3]) << "same alpha";
        }
      }
    }
    // The first petal node's colour comes from set B in the second variant.
    const SpeciesView v = w.store->View(species);
    const auto calls = Draw(w, species + 5, 0, 2);
    ASSERT_EQ(calls[6].op, GlCall::kColor4f);
    EXPECT_EQ(calls[6].f[0], static_cast<float>(v.At(kColorR2, 0, 0, 0)));
    EXPECT_EQ(calls[6].f[1], static_cast<float>(v.At(kColorG2, 0, 0, 0)));
    EXPECT_EQ(calls[6].f[2], static_cast<float>(v.At(kColorB2, 0, 0, 0)));
  }
}

TEST(Renderers, SparklePatterns) {
  World w = Generated(1);
  // Species 1: a centre raised 0.05 in z, tips 0.1 away with alpha 0.
  const auto calls = Draw(w, 0, 1, 1, 0.75);
  const SpeciesView v = w.store->View(1);
  const double x = v.At(kPointX, 0, 0, 0), y = v.At(kPointY, 0, 0, 0), z = v.At(kPointZ, 0, 0, 0);
  const std::size_t s = 5;  // after push, translate, two rotations, begin
  const double expect[4][2][2] = {{{0, 0.1}, {0.1, 0}}, {{0, -0.1}, {0.1, 0}},
                                  {{0, 0.1}, {-0.1, 0}}, {{0, -0.1}, {-0.1, 0}}};
  for (int t = 0; t < 4; ++t) {
    const std::size_t b = s + static_cast<std::size_t>(t) * 5;
    EXPECT_EQ(calls[b].op, GlCall::kColor4f);
    EXPECT_EQ(calls[b].f[3], 0.75f);
    EXPECT_EQ(calls[b + 1].f[2], static_cast<float>(z + 0.05));
    EXPECT_EQ(calls[b + 1].f[0], static_cast<float>(x));
    EXPECT_EQ(calls[b + 2].op, GlCall::kColor4f);
    EXPECT_EQ(calls[b + 2].f[3], 0.0f);
    EXPECT_EQ(calls[b + 3].f[0], static_cast<float>(x + expect[t][0][0]));
    EXPECT_EQ(calls[b + 3].f[1], static_cast<float>(y + expect[t][0][1]));
    EXPECT_EQ(calls[b + 4].f[0], static_cast<float>(x + expect[t][1][0]));
    EXPECT_EQ(calls[b + 4].f[1], static_cast<float>(y + expect[t][1][1]));
    EXPECT_EQ(calls[b + 4].f[2], static_cast<float>(z));
  }
  // Species 2: the centre is the node itself and only its colour has more blue.
  const SpeciesView v2 = w.store->View(2);
  const auto cup = Draw(w, 1, 1, 1, 1);
  EXPECT_EQ(cup[s].f[2], static_cast<float>(v2.At(kColorB, 0, 0, 0) + 0.05));
  EXPECT_EQ(cup[s + 1].f[2], static_cast<float>(v2.At(kPointZ, 0, 0, 0)));
  EXPECT_EQ(cup[s + 2].f[2], static_cast<float>(v2.At(kColorB, 0, 0, 0)));
}

TEST(Renderers, QuadAndTriangleCornersAndFades) {
  World w = Generated(1);
  const SpeciesView v = w.store->View(1);
  const auto quads = Draw(w, 0, 2, 1, 1);
  // First quad: (0,0), (0,1), (1,1), (1,0).
  const int corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  for (int k = 0; k < 4; ++k) {
    const GlCall& vertex = quads[5 + 2 * static_cast<std::size_t>(k) + 1];
    EXPECT_EQ(vertex.f[0], static_cast<float>(v.At(kPointX, 0, corners[k][0], corners[k][1])));
    EXPECT_EQ(vertex.f[2], static_cast<float>(v.At(kPointZ, 0, corners[k][0], corners[k][1])));
  }
  const auto tris = Draw(w, 0, 3, 1, 1);
  EXPECT_EQ(tris[5].f[3], 1.0f);
  EXPECT_EQ(tris[7].f[3], 0.0f);
  EXPECT_EQ(tris[9].f[3], 0.0f);
  EXPECT_EQ(tris[10].f[1], static_cast<float>(v.At(kPointY, 0, 1, 0)));
}

TEST(Renderers, OtherPrimitiveModesAndKindsDrawNothing) {
  World w = Generated(2);
  EXPECT_TRUE(Draw(w, 0, 4, 2).empty());
  EXPECT_TRUE(Draw(w, 5, -1, 2).empty());
  EXPECT_TRUE(Draw(w, 12, 0, 2).empty());
  EXPECT_TRUE(Draw(w, -1, 0, 2).empty());
  // Alpha 0 still sends every vertex.
  const auto faint = Draw(w, 0, 0, 2, 0);
  EXPECT_EQ(CountOp(faint, GlCall::kVertex3f), 4 * 13 * 5 + 320 + 3 * 13 * 3);
  for (const GlCall& c : faint) {
    if (c.op == GlCall::kColor4f) {
      EXPECT_EQ(c.f[3], 0.0f);
    }
  }
}

TEST(Renderers, CallDumpFormat) {
  World w = Generated(1);
  const auto calls = Draw(w, 0, 0, 1);
  EXPECT_EQ(FormatRendererCall(calls[0]), "glPushMatrix");
  EXPECT_EQ(FormatRendererCall(calls[1]), "glTranslatef 0 -5 -8");
  EXPECT_EQ(FormatRendererCall(calls[2]), "glRotatef 360 0 1 0");
  EXPECT_EQ(FormatRendererCall(calls[3]), "glRotatef -25 1 0 1");
  EXPECT_EQ(FormatRendererCall(calls[4]), "glPointSize 1");
  EXPECT_EQ(FormatRendererCall(calls[5]), "glBegin GL_POINTS");
  EXPECT_EQ(FormatRendererCall(calls.back()), "glPopMatrix");
  // Row 0 of a petal collapses to x 0, y 7, z -1/3: the float of -1/3 printed with 9 digits.
  EXPECT_EQ(FormatRendererCall(calls[7]).substr(0, 11), "glVertex3f ");
  EXPECT_NE(FormatRendererCall(calls[7]).find(" 7 -0.333333343"), std::string::npos)
      << FormatRendererCall(calls[7]);
}

}  // namespace
}  // namespace qv
