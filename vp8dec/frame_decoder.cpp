#include "vp8dec/frame_decoder.h"

#include <cstring>

#include "vp8dec/analysis_context.h"
#include "vp8dec/frame_analysis_files.h"
#include "vp8dec/frame_borders.h"
#include "vp8dec/frame_header.h"
#include "vp8dec/header_trace.h"
#include "vp8dec/row_loop.h"

namespace vp8 {

namespace {

// Writes the coefficient records gathered so far when the frame's decoding
// ends, by its end or by an error part-way.
class CoefficientFlush {
  public:
    explicit CoefficientFlush(DecoderInstance& instance) : instance_(instance) {}
    ~CoefficientFlush() { flush(); }
    CoefficientFlush(const CoefficientFlush&) = delete;
    CoefficientFlush& operator=(const CoefficientFlush&) = delete;

    void flush() {
        instance_.coef_dump.flush(instance_.analysis ? instance_.analysis->coef_file : nullptr);
    }

  private:
    DecoderInstance& instance_;
};

}  // namespace

int decode_one_frame(DecoderInstance& instance) {
    CoefficientFlush coefficients(instance);
    reset_frame_syntax(instance.syntax);
    read_frame_tag(instance);
    note_file_positions(instance);
    const HeaderTrace trace(trace_file(instance));
    if (!read_frame_header(instance, trace)) return -1;

    // The picture goes into a buffer no reference holds, with fresh intra
    // prediction edges; the coefficients start cleared.
    choose_new_buffer(instance);
    setup_intra_borders(*instance.new_frame);
    std::memset(instance.mb.levels.coefs, 0, sizeof(instance.mb.levels.coefs));

    decode_modes_and_rows(instance);

    // Probabilities meant for this frame alone are put back; the trace, the
    // records and their lengths go to the analysis files.
    if (!instance.refresh_entropy_probs) instance.probs = instance.saved_probs;
    trace.flush();
    coefficients.flush();
    write_frame_records(instance);
    note_reference_numbers(instance);
    return 0;
}

}  // namespace vp8
