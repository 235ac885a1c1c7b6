#include "app/entry.h"

#include "app/dispatch.h"

namespace qv {

int RunSaver(std::string_view first_argument, std::string_view second_argument,
             FrontEnds& fronts) {
  switch (ModeFromArgument(first_argument)) {
    case SaverMode::kSettings: return fronts.RunSettings();
    case SaverMode::kPreview: return fronts.RunPreview(ParseParentHandle(second_argument));
    case SaverMode::kChangePassword:
      return fronts.ChangeSaverPassword(ParseParentHandle(second_argument));
    case SaverMode::kFullScreen: break;
  }
  return fronts.RunFullScreen();
}

}  // namespace qv
