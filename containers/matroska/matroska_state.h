// The Matroska/WebM parser's state for one run and the steps it takes: the
// element walk with its handlers, the track selection, and the writing of
// the selected track.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "containers/demuxer_context.h"
#include "containers/matroska/ebml_input.h"
#include "containers/matroska/element_table.h"
#include "containers/matroska/ivf_output.h"

namespace tavimor::matroska {

// Masters nested deeper than this are skipped, so that a file of masters
// inside masters can neither exhaust the stack nor make lines of thousands
// of tabs. Real files nest fewer than ten levels (chapters a few more).
inline constexpr int kMaxMasterDepth = 64;

// The work buffer's capacity: strings longer than it are cut to fit.
inline constexpr size_t kWorkBufferSize = 4096;

// One element being handled.
struct Element {
    uint64_t id = 0;
    uint64_t size = 0;  // as stored
    int depth = 0;
    const ElementDescriptor* descriptor = nullptr;
    uint64_t start = 0;  // the content's first byte
    uint64_t end = 0;    // where the content ends; for an unknown size, its holder's end
    bool unknown_size = false;
};

// What the track entries tell about a track.
struct TrackFacts {
    uint64_t number = 0;
    uint64_t width = 0;
    uint64_t height = 0;
    uint64_t default_duration = 0;  // nanoseconds a frame
    bool selected = false;          // its codec is the one extracted
    bool has_codec_private = false;
    uint64_t codec_private_start = 0;
    uint64_t codec_private_end = 0;
};

// The kinds of damage the run reports to the user once, at its end.
enum class Problem { kNone, kCut, kOversize, kUnreadable, kTooDeep, kTooLarge };

class MatroskaState : public FormatState {
  public:
    int setup(DemuxerContext& context);
    int header(DemuxerContext& context);
    int body(DemuxerContext& context);
    void cleanup();

  private:
    // The walk (matroska_walk.cpp). Walks the elements inside the holder
    // from the current position: up to the holder's end, the end of the
    // file, at most so many elements, or, in a holder of unknown size, up to
    // an element that cannot stand inside it. Every element ends where its
    // size says, whatever went wrong inside it. False when the walk stopped
    // where no element can be read or an element is larger than the holder:
    // the position is then no element's start, and the walk holding this
    // one takes over at its own end.
    bool walk(const Element& holder, int most_elements);
    bool walk_master(const Element& element);
    void handle_value(const Element& element);
    void read_unsigned(const Element& element);
    void read_float(const Element& element);
    void read_string(const Element& element);

    // The track (track_output.cpp).
    void begin_track_entry();
    void end_track_entry();
    void codec_id(const char* text);
    void codec_private(const Element& element);
    void write_parameter_sets(uint64_t start, uint64_t end);
    void block(const Element& element);
    bool read_lacing(uint8_t flags, uint64_t end);
    void write_vp8_frame(uint64_t size, int64_t time);
    void write_h264_units(uint64_t size);
    IvfStreamInfo stream_info() const;
    void finish_output();
    void report_problems();

    // Lines and messages.
    void text(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void message(const char* format, ...) __attribute__((format(printf, 2, 3)));
    static const char* tabs(int depth);
    void note(Problem problem, uint64_t at);
    int position32() const;

    DemuxerContext* context_ = nullptr;
    ElementIndex index_;
    std::vector<uint8_t> work_;
    std::optional<EbmlInput> input_;

    TrackFacts entry_;     // the track entry being read
    int entry_depth_ = 0;  // track entries open around the walk
    TrackFacts selected_;  // the selected video track
    bool codec_found_ = false;
    int codec_ = 0;  // the codec code found
    int nal_length_size_ = 4;
    bool stopped_ = false;  // the output could not be switched: the run ends
    int segments_ = 0;      // Segments walked

    bool ivf_header_written_ = false;
    uint32_t frames_ = 0;
    int64_t first_time_ = 0;  // of the frames written, in timecode-scale units
    int64_t last_time_ = 0;
    uint64_t cluster_time_ = 0;
    uint64_t timecode_scale_ = 1000000;

    int error_ = 0;  // the last read error's code
    Problem first_problem_ = Problem::kNone;
    uint64_t first_problem_at_ = 0;
    int problems_ = 0;
    bool cut_noted_ = false;
};

}  // namespace tavimor::matroska
