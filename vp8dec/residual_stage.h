// Dequantisation and inverse transforms of one macroblock's blocks, added to
// the prediction already in the frame, and the macroblock's coefficient dump.
#pragma once

#include <cstdint>
#include <cstdio>

#include "vp8dec/decoder_instance.h"

namespace vp8 {

// Adds the residual of a macroblock's blocks to the frame, block by block. The
// coefficient records are collected in block order and handed to the frame's
// coefficient dump when it ends.
class MacroblockResidual {
  public:
    // Levels are cleared as they are used.
    MacroblockResidual(DecoderInstance& instance, MacroblockContext& mb, MacroblockLevels& levels);
    ~MacroblockResidual();
    MacroblockResidual(const MacroblockResidual&) = delete;
    MacroblockResidual& operator=(const MacroblockResidual&) = delete;

    // The 16 luma blocks, their DC values from the second-order block.
    void add_luma_with_y2();
    // Luma block b (0..15) of a macroblock without a second-order block.
    void add_luma_block(int b);
    void add_luma_blocks();
    // The four U and four V blocks.
    void add_chroma();

  private:
    void add_plain_block(int b, const int16_t* factors, uint8_t* dst, int stride);
    // Luma block b with its DC value from the second-order block.
    void add_block_with_dc(int b, int16_t dc);
    void dump_block(const int16_t* values);
    void dump_dc_only(int16_t dc);

    DecoderInstance& instance_;
    MacroblockContext& mb_;
    MacroblockLevels& levels_;
    std::FILE* dump_file_;
    uint8_t dump_bytes_[24 * 49];
    size_t dump_size_ = 0;
};

// Writes 24 empty coefficient records.
void write_empty_coef_records(DecoderInstance& instance);

}  // namespace vp8
