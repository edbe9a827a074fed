#include "vp8module/pixel_text.h"

#include "shell/view_state.h"
#include "vp8dec/kernels/plain_kernels.h"
#include "vp8module/original_views.h"
#include "vp8module/text_format.h"
#include "vp8module/vp8_module_state.h"

namespace tavimor {

namespace {

constexpr int kMbSize = 16;
constexpr int kChromaOffset[2] = {256, 512};

// Where block b's 4x4 square starts in the pixel block.
int block_origin(int b) {
    if (b < 16) return (b / 4) * 4 * 16 + (b % 4) * 4;
    const int k = (b - 16) % 4;
    return kChromaOffset[(b - 16) / 4] + (k / 2) * 4 * 16 + (k % 2) * 4;
}

void plane_text(std::string& text, const PixelBlock& block, int origin, int size, char letter,
                int value_width) {
    const char* dashes = value_width == 3 ? "+----------------" : "+------------------------";
    const char* format = value_width == 3 ? "%3d," : "%5d,";
    auto border = [&] {
        for (int group = 0; group < size / 4; ++group) text += dashes;
        text += "+\r\n";
    };
    appendf(text, "\r\n====================== %c Data ======================\r\n", letter);
    for (int row = 0; row < size; ++row) {
        if (row % 4 == 0) border();
        for (int column = 0; column < size; ++column) {
            if (column % 4 == 0) text += "|";
            appendf(text, format, block[origin + 16 * row + column]);
        }
        text += "|\r\n";
    }
    border();
}

}  // namespace

PixelBlock sample_block(const vp8::PlanarPicture& picture, int x, int y) {
    PixelBlock block{};
    for (int row = 0; row < kMbSize && y + row < picture.height; ++row)
        for (int column = 0; column < kMbSize && x + column < picture.width; ++column)
            block[16 * row + column] = picture.luma_rows[y + row][x + column];
    if (!picture.chroma_rows) return block;
    for (int plane = 0; plane < 2; ++plane)
        for (int row = 0; row < 8 && y / 2 + row < picture.chroma_height; ++row)
            for (int column = 0; column < 8 && x / 2 + column < picture.chroma_width; ++column)
                block[kChromaOffset[plane] + 16 * row + column] =
                    picture.chroma_rows[plane][y / 2 + row][x / 2 + column];
    return block;
}

PixelBlock coefficient_block(const MbCoefficients& coefficients, bool transform) {
    PixelBlock block{};
    for (int b = 0; b < kBlocksPerMb; ++b) {
        const int16_t* values = coefficients.data() + 16 * b;
        int16_t residual[16];
        if (transform) {
            vp8::plain::inverse_dct_4x4(values, residual, 4);
            values = residual;
        }
        for (int j = 0; j < 16; ++j) block[block_origin(b) + 16 * (j / 4) + j % 4] = values[j];
    }
    return block;
}

std::string pixel_text(int frame_index, const MbPlace& place, const PixelBlock& block,
                       int value_width) {
    std::string text;
    appendf(text, "Frame %d, MB %d(%d, %d)\r\n", frame_index, place.number, place.column,
            place.row);
    plane_text(text, block, 0, 16, 'Y', value_width);
    plane_text(text, block, kChromaOffset[0], 8, 'U', value_width);
    plane_text(text, block, kChromaOffset[1], 8, 'V', value_width);
    return text;
}

std::string pixel_info_text(Vp8ModuleState& state, int tab, int x, int y) {
    constexpr const char* kNoData = "Data not available\r\n";
    if (!state.record) return kNoData;
    const ViewState& view = view_state();
    x &= ~(kMbSize - 1);
    y &= ~(kMbSize - 1);
    const int columns = view.picture_width / kMbSize;
    const MbPlace place{x / kMbSize, y / kMbSize, x / kMbSize + y / kMbSize * columns};
    const vp8::PlanarPicture* pictures[3] = {&state.record->final_picture,
                                             &state.record->prelf_picture,
                                             &state.record->predicted_picture};
    if (tab >= kPixelFinal && tab <= kPixelPredicted) {
        if (!pictures[tab]->luma_rows) return kNoData;
        return pixel_text(view.current_frame_index, place, sample_block(*pictures[tab], x, y), 3);
    }
    if (tab > kPixelCoef) return original_pixel_text(state, tab, x, y);
    if (tab != kPixelResidual && tab != kPixelCoef) return kNoData;
    const std::optional<MbCoefficients> coefficients = mb_coefficients(state, place.number);
    if (!coefficients) return kNoData;
    return pixel_text(view.current_frame_index, place,
                      coefficient_block(*coefficients, tab == kPixelResidual), 5);
}

}  // namespace tavimor
