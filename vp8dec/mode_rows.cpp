#include "vp8dec/mode_rows.h"

#include "vp8dec/decoder_instance.h"
#include "vp8dec/inter_frame_modes.h"
#include "vp8dec/key_frame_modes.h"

namespace vp8 {

void read_frame_modes(DecoderInstance& instance, const ModeRowsNotice* notice) {
    if (instance.frame_type == 0)
        read_key_frame_modes(instance, notice);
    else
        read_inter_frame_modes(instance, notice);
}

}  // namespace vp8
