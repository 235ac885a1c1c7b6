#pragma once
// Exact text dumps of the geometry store and of one renderer's call stream,
// read by other tools and tests to compare builds and targets bit for bit.

#include <cstdio>

#include "options.h"

namespace qv::render_tool {

int RunGeometry(const Options& options, std::FILE* out);
int RunCalls(const Options& options, std::FILE* out);

}  // namespace qv::render_tool
