#include "geometry/skeleton.h"

namespace qv::skeleton {

ModelFrame::ModelFrame() {
  const double phi = 0 - kPi / 2;
  const double theta = 0;
  const double psi = kPi + kPi / 2;
  m11 = std::cos(theta) * std::cos(phi) - std::sin(theta) * std::sin(phi) * std::cos(psi);
  m12 = std::cos(theta) * std::cos(phi) * std::cos(psi) + std::cos(theta) * std::sin(phi);
  m13 = std::sin(theta) * std::sin(psi);
  m21 = -std::sin(theta) * std::cos(phi) - std::cos(theta) * std::sin(phi) * std::cos(psi);
  m22 = std::cos(theta) * std::cos(phi) * std::cos(psi) - std::sin(theta) * std::sin(phi);
  m23 = std::cos(theta) * std::sin(psi);
  m31 = std::sin(phi) * std::sin(psi);
  m32 = -std::cos(phi) * std::sin(psi);
  m33 = std::cos(psi);
}

}  // namespace qv::skeleton
