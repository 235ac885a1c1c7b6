#include "geometry/skeleton.h"

namespace qv::skeleton {

ModelFrame::ModelFrame() {
  const double phi = 0 - kPi / 2;
  const double theta = 0;
  const double psi = kPi + kPi / 2;
  m11 = cos(theta) * cos(phi) - sin(theta) * sin(phi) * cos(psi);
  m12 = cos(theta) * cos(phi) * cos(psi) + cos(theta) * sin(phi);
  m13 = sin(theta) * sin(psi);
  m21 = -sin(theta) * cos(phi) - cos(theta) * sin(phi) * cos(psi);
  m22 = cos(theta) * cos(phi) * cos(psi) - sin(theta) * sin(phi);
  m23 = cos(theta) * sin(psi);
  m31 = sin(phi) * sin(psi);
  m32 = -cos(phi) * sin(psi);
  m33 = cos(psi);
}

}  // namespace qv::skeleton
