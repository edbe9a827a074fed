#include "vp8dec/kernels/vector_kernels.h"

namespace vp8 {

// No vector variants are installed yet: the plain versions serve every feature set.
void apply_vector_kernels(KernelTable&, int) {}
void apply_vector_scaling(ScalingTable&, int) {}

}  // namespace vp8
