// Vector variants of the kernels, installed over the plain versions
// according to the feature bits. Every variant is bit-identical to its plain twin.
#pragma once

#include "vp8dec/kernels/kernel_table.h"

namespace vp8 {

void apply_vector_kernels(KernelTable& table, int features);
void apply_vector_scaling(ScalingTable& table, int features);

}  // namespace vp8
