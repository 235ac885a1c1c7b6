// `calls` as other tools read it: the line grammar, the placement, the
// batch structure, vertex counts per primitive mode worked out from the
// range tables, and agreement with the `geometry` dump of the same store.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tool_process.h"

namespace qv::render_tool_test {
namespace {

struct Call {
  std::string op;  // "glVertex3f", "glBegin", ...
  std::string primitive;
  std::vector<double> n;
};

// A %.9g rendering of a float: nine significant digits identify a float,
// so the text must read back as one and print the same again.
bool IsFloatText(const std::string& token) {
  char* end = nullptr;
  const float value = std::strtof(token.c_str(), &end);
  if (token.empty() || *end != '\0') return false;
  char again[40];
  std::snprintf(again, sizeof again, "%.9g", static_cast<double>(value));
  return token == again;
}

// A call name and its operands, one space apart: glBegin takes one of the
// three primitives, the others a fixed number of non-blank operands.
// (Hand-written rather than <regex>, whose GCC 12 headers warn under the
// sanitizers.)
bool IsCallLine(const std::string& line) {
  const std::vector<std::string> words = Split(line, ' ');
  for (const std::string& w : words) {
    if (w.empty() || w.find_first_of("\t\r\v\f") != std::string::npos) return false;
  }
  const std::string& op = words[0];
  const std::size_t operands = words.size() - 1;
  if (op == "glBegin") {
    return operands == 1 &&
           (words[1] == "GL_POINTS" || words[1] == "GL_TRIANGLES" || words[1] == "GL_QUADS");
  }
  struct Arity {
    const char* op;
    std::size_t operands;
  };
  static constexpr Arity kArities[] = {{"glPushMatrix", 0}, {"glPopMatrix", 0}, {"glEnd", 0},
                                       {"glTranslatef", 3}, {"glRotatef", 4},   {"glPointSize", 1},
                                       {"glColor4f", 4},    {"glVertex3f", 3}};
  for (const Arity& a : kArities) {
    if (op == a.op) return operands == a.operands;
  }
  return false;
}

std::vector<Call> ParseCalls(const std::string& text) {
  std::vector<Call> calls;
  EXPECT_TRUE(text.empty() || text.back() == '\n');
  for (const std::string& line : SplitLines(text)) {
    if (!IsCallLine(line)) {
      ADD_FAILURE() << "not a call line: '" << line << "'";
      continue;
    }
    const std::vector<std::string> words = Split(line, ' ');
    Call c;
    c.op = words[0];
    if (c.op == "glBegin") {
      c.primitive = words[1];
    } else {
      for (std::size_t i = 1; i < words.size(); ++i) {
        EXPECT_TRUE(IsFloatText(words[i])) << "'" << words[i] << "' in '" << line << "'";
        c.n.push_back(static_cast<double>(std::strtof(words[i].c_str(), nullptr)));
      }
    }
    calls.push_back(c);
  }
  return calls;
}

struct Stream {
  std::vector<Call> calls;
  std::string text;
};

Stream Calls(int kind, int primitive, int M, const std::vector<std::string>& extra = {}) {
  std::vector<std::string> args = {"calls",
                                   "--kind",
                                   std::to_string(kind),
                                   "--primitive",
                                   std::to_string(primitive),
                                   "--mesh-detail",
                                   std::to_string(M)};
  args.insert(args.end(), extra.begin(), extra.end());
  const ToolResult r = RunTool(args);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  return {ParseCalls(r.out), r.out};
}

int Count(const std::vector<Call>& calls, const std::string& op) {
  int n = 0;
  for (const Call& c : calls) n += c.op == op;
  return n;
}

// One flower: push, translate, two rotations, the point size in point mode,
// one batch of colours and vertices only, end, pop. Nothing else, and each
// opener closed once.
void ExpectOneBalancedBatch(const std::vector<Call>& calls, int primitive) {
  ASSERT_GE(calls.size(), 7u);
  std::size_t i = 0;
  EXPECT_EQ(calls[i++].op, "glPushMatrix");
  EXPECT_EQ(calls[i++].op, "glTranslatef");
  EXPECT_EQ(calls[i++].op, "glRotatef");
  EXPECT_EQ(calls[i++].op, "glRotatef");
  if (primitive == 0) {
    EXPECT_EQ(calls[i].op, "glPointSize");
    EXPECT_EQ(calls[i++].n, std::vector<double>{1});
  }
  EXPECT_EQ(calls[i].op, "glBegin");
  const char* expected[] = {"GL_POINTS", "GL_TRIANGLES", "GL_QUADS", "GL_TRIANGLES"};
  EXPECT_EQ(calls[i++].primitive, expected[primitive]);
  for (; i + 2 < calls.size(); ++i) {
    ASSERT_TRUE(calls[i].op == "glColor4f" || calls[i].op == "glVertex3f")
        << "call " << i << " inside the batch is " << calls[i].op;
  }
  EXPECT_EQ(calls[i++].op, "glEnd");
  EXPECT_EQ(calls[i++].op, "glPopMatrix");
  EXPECT_EQ(Count(calls, "glPushMatrix"), Count(calls, "glPopMatrix"));
  EXPECT_EQ(Count(calls, "glBegin"), Count(calls, "glEnd"));
}

TEST(CallsDump, VertexCountsFollowTheRangeTables) {
  struct Case {
    int kind, primitive, M, vertices, colours;
    const char* how;
  };
  const Case cases[] = {
      {0, 0, 1, 446, 446, "points: 4*7*3 petals + 40*8 stem + 3*7*2 leaves"},
      {5, 0, 1, 390, 390, "points: 8*5*3 + 40*6 + 2*5*3"},
      {0, 1, 1, 12 * 339, 8 * 339, "sparkles: 4*6*2 + 39*7 + 3*6*1 nodes"},
      {0, 2, 1, 4 * 336, 4 * 336, "quads: 4*6*2 + 39*7 + leaf rows 0..4, 3*5*1"},
      {1, 2, 1, 4 * 256, 4 * 256, "quads: 6*9 cup + stem rows 1..38 * 5 + 2*6*1"},
      {7, 1, 1, 12 * 245, 8 * 245, "sparkles: 6*8 cup + stem rows 2..38 * 5 + 2*6*1"},
      {2, 0, 5, 2782, 2782, "points: 6*31*11 + 40*6 + leaf cols 0..7, 2*31*8"},
      {3, 3, 2, 3 * 723, 3 * 723, "triangles: 6*12*6 + 39*5 + leaf cols 0..3, 2*12*4"},
      {3, 0, 1, 450, 450, "points: 6*7*4 + 40*6 + leaf cols held to 0..2, 2*7*3"},
      {9, 1, 5, 12 * 3315, 8 * 3315, "sparkles: 6*30*15 + 39*5 + 2*30*7"},
      {8, 3, 5, 3 * 2415, 3 * 2415, "triangles: 6*30*10 + 39*5 + leaf cols 0..6, 2*30*7"},
      {10, 2, 3, 4 * 1059, 4 * 1059, "quads: 6*18*6 + 39*5 + 2*18*6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind) + " primitive " + std::to_string(c.primitive) +
                 " M " + std::to_string(c.M) + ": " + c.how);
    const Stream s = Calls(c.kind, c.primitive, c.M);
    ExpectOneBalancedBatch(s.calls, c.primitive);
    EXPECT_EQ(Count(s.calls, "glVertex3f"), c.vertices);
    EXPECT_EQ(Count(s.calls, "glColor4f"), c.colours);
  }
}

TEST(CallsDump, DefaultsEqualTheirExplicitValues) {
  for (int primitive = 0; primitive <= 3; ++primitive) {
    const Stream implicit = Calls(7, primitive, 2);
    const Stream explicit_values = Calls(
        7, primitive, 2,
        {"--color", "7", "--size", "12", "--alpha", "1", "--slot-angle", "0", "--turn", "360"});
    EXPECT_EQ(implicit.text, explicit_values.text) << "primitive " << primitive;
  }
  const Stream s = Calls(0, 0, 1);
  ASSERT_GE(s.calls.size(), 4u);
  // Size 12 puts the flower at depth 12 - 20; slot angle plus turn is 360.
  EXPECT_EQ(s.calls[1].n, (std::vector<double>{0, -5, -8}));
  EXPECT_EQ(s.calls[2].n, (std::vector<double>{360, 0, 1, 0}));
  EXPECT_EQ(s.calls[3].n, (std::vector<double>{-25, 1, 0, 1}));
}

TEST(CallsDump, PlacementAndAlphaFollowTheirOptions) {
  const Stream s =
      Calls(4, 0, 1, {"--size", "3", "--slot-angle", "240", "--turn", "100.5", "--alpha", "0.5"});
  ExpectOneBalancedBatch(s.calls, 0);
  EXPECT_EQ(s.calls[1].n, (std::vector<double>{0, -5, -17}));
  EXPECT_EQ(s.calls[2].n, (std::vector<double>{340.5, 0, 1, 0}));
  for (const Call& c : s.calls) {
    if (c.op == "glColor4f") {
      ASSERT_EQ(c.n[3], 0.5);
    }
  }
  // The sum is formed first and rounded to a float once.
  const Stream fine = Calls(4, 0, 1, {"--slot-angle", "120", "--turn", "0.1"});
  EXPECT_EQ(fine.calls[2].n[0], static_cast<double>(static_cast<float>(120 + 0.1)));

  // Sparkles fade from the slot's alpha at the centre to 0 at the tips.
  const Stream sparkles = Calls(0, 1, 1, {"--alpha", "0.75"});
  int centre = 0;
  int tips = 0;
  for (const Call& c : sparkles.calls) {
    if (c.op != "glColor4f") continue;
    centre += c.n[3] == 0.75;
    tips += c.n[3] == 0;
  }
  EXPECT_EQ(centre, 4 * 339);
  EXPECT_EQ(tips, 4 * 339);
}

TEST(CallsDump, ColourOptionRecolours) {
  const Stream a = Calls(0, 2, 2);
  const Stream b = Calls(0, 2, 2, {"--color", "2"});
  ASSERT_EQ(a.calls.size(), b.calls.size());
  int recoloured = 0;
  for (std::size_t i = 0; i < a.calls.size(); ++i) {
    if (a.calls[i].op == "glVertex3f") {
      EXPECT_EQ(a.calls[i].n, b.calls[i].n);
    }
    if (a.calls[i].op == "glColor4f") recoloured += a.calls[i].n != b.calls[i].n;
  }
  EXPECT_GT(recoloured, 1000);
}

struct Node {
  double v[9];
};

// Nodes of one species from the geometry dump, in dump order.
std::vector<Node> SpeciesNodes(int species, int M) {
  const ToolResult r = RunTool({"geometry", "--mesh-detail", std::to_string(M), "--color", "7"});
  EXPECT_EQ(r.exit_code, 0);
  std::vector<Node> nodes;
  const std::vector<std::string> lines = SplitLines(r.out);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Split(lines[i], ',');
    if (std::stoi(f[0]) != species) continue;
    Node n{};
    for (int k = 0; k < 9; ++k) n.v[k] = std::strtod(f[4 + k].c_str(), nullptr);
    nodes.push_back(n);
  }
  return nodes;
}

double AsFloat(double v) {
  return static_cast<double>(static_cast<float>(v));
}

// In point mode species 1, 5 and 6 visit exactly the filled nodes, in the
// store's order, so the two dumps must agree node for node: positions
// always, colours from set A in the first variant and from set B on petal
// nodes in the second.
TEST(CallsDump, PointModeWalksTheGeometryDumpInOrder) {
  struct Case {
    int species, first_kind, petal_nodes;
  };
  const int M = 2;
  const Case cases[] = {{1, 0, 4 * 13 * 5}, {5, 4, 6 * 13 * 5}, {6, 5, 8 * 9 * 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE("species " + std::to_string(c.species));
    const std::vector<Node> nodes = SpeciesNodes(c.species, M);
    for (int variant = 0; variant < 2; ++variant) {
      const Stream s = Calls(c.first_kind + 6 * variant, 0, M);
      std::vector<const Call*> colours;
      std::vector<const Call*> vertices;
      for (const Call& call : s.calls) {
        if (call.op == "glColor4f") colours.push_back(&call);
        if (call.op == "glVertex3f") vertices.push_back(&call);
      }
      ASSERT_EQ(vertices.size(), nodes.size());
      ASSERT_EQ(colours.size(), nodes.size());
      for (std::size_t i = 0; i < nodes.size(); ++i) {
        const Node& n = nodes[i];
        ASSERT_EQ(vertices[i]->n,
                  (std::vector<double>{AsFloat(n.v[0]), AsFloat(n.v[1]), AsFloat(n.v[2])}))
            << "node " << i;
        const int set = variant == 1 && static_cast<int>(i) < c.petal_nodes ? 6 : 3;
        ASSERT_EQ(colours[i]->n, (std::vector<double>{AsFloat(n.v[set]), AsFloat(n.v[set + 1]),
                                                      AsFloat(n.v[set + 2]), 1}))
            << "node " << i << " variant " << variant;
      }
    }
  }
}

TEST(CallsDump, SpeciesTwoSparklesCentreOnTheNodeWithRaisedBlue) {
  const std::vector<Node> nodes = SpeciesNodes(2, 1);
  const Stream s = Calls(1, 1, 1);
  // The first sparkle is cup node (0, 0): colour, centre, tip colour, tips.
  ASSERT_GE(s.calls.size(), 10u);
  const Call& centre_colour = s.calls[5];
  const Call& centre = s.calls[6];
  const Call& tip_colour = s.calls[7];
  ASSERT_EQ(centre_colour.op, "glColor4f");
  ASSERT_EQ(centre.op, "glVertex3f");
  ASSERT_EQ(tip_colour.op, "glColor4f");
  EXPECT_EQ(centre.n, (std::vector<double>{AsFloat(nodes[0].v[0]), AsFloat(nodes[0].v[1]),
                                           AsFloat(nodes[0].v[2])}));
  EXPECT_EQ(centre_colour.n[2], AsFloat(nodes[0].v[5] + 0.05));
  EXPECT_EQ(tip_colour.n[2], AsFloat(nodes[0].v[5]));
  EXPECT_EQ(tip_colour.n[3], 0);
  // Other species raise the centre by 0.05 instead.
  const std::vector<Node> s1 = SpeciesNodes(1, 1);
  const Stream k0 = Calls(0, 1, 1);
  EXPECT_EQ(k0.calls[6].n, (std::vector<double>{AsFloat(s1[0].v[0]), AsFloat(s1[0].v[1]),
                                                AsFloat(s1[0].v[2] + 0.05)}));
}

}  // namespace
}  // namespace qv::render_tool_test
